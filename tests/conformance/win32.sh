#!/bin/bash
# Runs the Win32 conformance driver under Wine, in an X server of its own
# and the Wine prefix the Windows tour uses, and passes its TAP on.
# Usage: tests/conformance/win32.sh PATH/TO/conformance.exe WINE_PREFIX
set -u
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tests/xsession.sh
source "$here/../xsession.sh"
[[ -f $1 ]] || { echo "Bail out! no $1: make windows builds it"; exit 1; }
trap xs_stop_x EXIT
xs_wine_prefix "$(realpath -m "$2")" && xs_start_x 1024x768 || { echo "Bail out! no X server or Wine prefix"; exit 1; }
timeout 120 wine "$1"
