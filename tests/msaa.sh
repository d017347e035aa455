#!/bin/bash
# The Windows build as a screen reader meets it, through MSAA: the program
# under Wine in its own X server, and tests/msaaclient.c, another Windows
# process, walking its trees and pressing its buttons; at 96 dots per inch
# and at 192, where every place doubles. Also that the program's
# IID_IAccessible is its own data and no import from oleacc.dll (such a
# thunk makes every QueryInterface for it fail).
# Usage: tests/msaa.sh PATH/TO/velk-simulator.exe PATH/TO/msaaclient.exe
set -u

here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tests/xsession.sh
source "$here/xsession.sh"

[[ $# -eq 2 && -f $1 && -f $2 ]] || { echo "usage: $0 velk-simulator.exe msaaclient.exe" >&2; exit 2; }
exe=$(realpath "$1") client=$(realpath "$2")
xs_zones=${VELK_ZONES:-$(dirname "$exe")/zones.txt}
power=$(xs_zone_box Form1 Label1) || exit 2
trap 'xs_stop_x; set_dpi 96' EXIT
trap 'exit 130' INT TERM

set_dpi() {
    DISPLAY='' wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1 &&
        wineserver -w
}

no_imported_guids() {
    ! x86_64-w64-mingw32-objdump -p "$exe" | grep -q 'IID_'
}

# run SCALE SCREEN: the client's tour; its lines are the test's.
run() {
    local status
    echo "# at scale $1"
    set_dpi $((96 * $1)) && check "${2} X server starts" xs_start_x "$2" || return
    xs_app_start "$exe" "$(dirname "$exe")"
    wine "$client" "$1" "$power" 2>&1 | tr -d '\r'
    status=${PIPESTATUS[0]}
    check "scale $1: the client found nothing wrong" test "$status" = 0
    check "scale $1: the program ended with status 0" xs_app_wait_exit 30 && check "exit status 0" test "$xs_app_status" = 0
    xs_stop_x
}

check "Wine prefix ready" xs_wine_prefix "$(dirname "$exe")/wine-prefix" || exit 1
check "no GUID imported from a library" no_imported_guids
run 1 1024x768
run 2 2048x1536
echo "$passed passed, $failed failed"
((failed == 0))
