#!/bin/bash
# The Windows build as a screen reader meets it through MSAA: the program
# under Wine in an X server of its own, and tests/msaaclient.c, another
# Windows process, walking its trees and pressing its buttons, at 96 dots
# per inch and at 192, where every place doubles. First, that the program
# imports no GUID: oleacc.dll's IID_IAccessible is a thunk, not the GUID,
# and every QueryInterface compared with it would fail.
# Usage: tests/msaa.sh PATH/TO/velk-simulator.exe PATH/TO/msaaclient.exe
set -u
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tests/xsession.sh
source "$here/xsession.sh"
[[ $# -eq 2 && -f $1 && -f $2 ]] || { echo "usage: $0 velk-simulator.exe msaaclient.exe" >&2; exit 2; }
exe=$(realpath "$1") client=$(realpath "$2")
xs_zones=${VELK_ZONES:-$(dirname "$exe")/zones.txt}
power=$(xs_zone_box Form1 Label1) || exit 2
set_dpi() {
    DISPLAY='' wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1 &&
        wineserver -w
}
trap 'xs_stop_x; set_dpi 96' EXIT
trap 'exit 130' INT TERM

check "Wine prefix ready" xs_wine_prefix "$(dirname "$exe")/wine-prefix" || exit 1
check "no GUID imported from a library" bash -c "! x86_64-w64-mingw32-objdump -p '$exe' | grep -q 'IID_'"
# Each step that cannot be taken is a failure, never a quiet end: a run
# must have walked the trees at both scales to pass.
walked=0
for scale in 1 2; do
    echo "# at scale $scale"
    check "scale $scale: Wine told $((96 * scale)) dots per inch" set_dpi $((96 * scale)) &&
        check "X server starts" xs_start_x "$((1024 * scale))x$((768 * scale))" || break
    xs_app_start "$exe" "$(dirname "$exe")"
    # Into a file: the Wine processes the client may start keep a pipe open.
    wine "$client" "$scale" "$power" >"$xs_dir/client.log" 2>&1
    check "scale $scale: the client found nothing wrong" test $? = 0 && walked=$((walked + 1))
    tr -d '\r' <"$xs_dir/client.log"
    check "scale $scale: the program ended with status 0" xs_app_wait_exit 30 && check "status 0" test "$xs_app_status" = 0
    xs_stop_x
done
check "the trees were walked at both scales" test "$walked" = 2
echo "$passed passed, $failed failed"
((failed == 0))
