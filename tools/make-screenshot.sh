#!/bin/bash
# Makes the README's picture: the built program in an X server of its own,
# through the disclaimer to the dashboard, powered on in AUTO with a few
# console lamps lit; the whole 1024x768 screen is saved as a stripped PNG,
# so the same program gives the same file.
# Usage: tools/make-screenshot.sh build/velk-simulator docs/screenshot.png
set -u
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tests/xsession.sh
source "$here/../tests/xsession.sh"

fail() { echo "make-screenshot: $*" >&2; exit 1; }
[[ $# -eq 2 && -x $1 ]] || fail "usage: $0 PATH/TO/velk-simulator OUTPUT.png"
exe=$(realpath "$1")
out=$2
trap xs_stop_x EXIT

# In dashboard coordinates, which are the screen's on a 1024x768 screen:
# power, AUTO, then one button of left rows 1, 3, 6 and right rows 2, 5, 8.
clicks=('841 421' '949 421' '49 513' '49 577' '49 685' '881 537' '877 641' '877 741')
auto_indicator=35x12+443+418
last_lamp=15x13+921+729

# Clicks reach the program in order: once the last lamp shows, all is done.
posed() {
    xs_shot "$1" &&
        xs_share_at_least "$1" "$auto_indicator" "$xs_yellow" 0.6 &&
        xs_share_at_least "$1" "$last_lamp" "$xs_red" 0.25
}

xs_start_x 1024x768 || fail "no X server"
xs_app_start "$exe" /
wid=$(xs_wait_window 'VELK-Simulator Version 1') || fail "no disclaimer"
xs_click "$wid" 56 184  # I Agree
wid=$(xs_wait_window Form1) || fail "no dashboard"
for c in "${clicks[@]}"; do
    read -r x y <<<"$c"
    xs_click "$wid" "$x" "$y"
done
shot=$xs_dir/screen.png
xs_poll 10 posed "$shot" || fail "the dashboard never showed AUTO and the lamps"
{ mkdir -p "$(dirname "$out")" && convert "$shot" -strip "$out"; } || fail "cannot write $out"
xs_click "$wid" 1012 12  # the exit zone
xs_app_wait_exit 10 || fail "the program did not end"
echo "wrote $out ($(stat -c %s "$out") bytes)"
