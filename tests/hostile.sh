#!/bin/bash
# The Windows build beside a hostile neighbour: the program under Wine in
# an X server of its own, and tests/hostileclient.c, another Windows
# process, sending every window of the program messages no part of the
# system would (rows out of range in the private range, timers never set,
# unknown commands, objects never offered, child ids that name no row),
# at the disclaimer and on the powered-on dashboard. After each kind the
# program must run on, print nothing, open no window, change nothing on
# the screen; and at the end still take a real click.
# Usage: tests/hostile.sh PATH/TO/velk-simulator.exe PATH/TO/hostileclient.exe
set -u
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tests/xsession.sh
source "$here/xsession.sh"
[[ $# -eq 2 && -f $1 && -f $2 ]] || { echo "usage: $0 velk-simulator.exe hostileclient.exe" >&2; exit 2; }
exe=$(realpath "$1") client=$(realpath "$2")
xs_zones=${VELK_ZONES:-$(dirname "$exe")/zones.txt}
rows=$(dirname "$xs_zones")/rows.txt  # each window's row count, timer rows and title
[[ -f $rows ]] || { echo "no $rows beside the zone table" >&2; exit 2; }
work=$(mktemp -d -t velk-hostile.XXXXXX) || exit 2
trap 'xs_stop_x; rm -rf "$work"' EXIT
trap 'exit 130' INT TERM

title() { awk -v f="$1" '$1 == f { $1 = $2 = $3 = ""; sub(/^ +/, ""); print }' "$rows"; }
disclaimer=$(title Form2) dashboard=$(title Form1)
# The client's arguments: the window shown first, then every other form.
forms() {
    local first=$1 n timers caption
    awk -v f="$first" '$1 == f' "$rows" >"$work/forms" && awk -v f="$first" '$1 != f' "$rows" >>"$work/forms"
    while read -r _ n timers caption; do printf '%s\0%s\0%s\0' "$caption" "$n" "$timers"; done <"$work/forms"
}

# hostile FORM: the client's whole run against the program, FORM's window
# shown; its output is indented into ours. HOSTILE_ONLY=KIND runs one kind.
hostile() {
    local args=()
    mapfile -d '' args < <(forms "$1")
    timeout 600 wine "$client" ${HOSTILE_ONLY:+-s "$HOSTILE_ONLY"} "${args[@]}" >"$work/client.log" 2>&1
    local status=$?
    tr -d '\r' <"$work/client.log" | sed 's/^/  /'
    return $status
}

# still FILE: the screen shows FILE again, within 15 s (a caret blinks).
still() { xs_poll 15 shot_is "$1"; }
shot_is() { xs_shot "$work/now.png" && ! xs_differ "$work/now.png" "$1" "$(identify -format '%wx%h+0+0' "$1")"; }
# steady FILE: a screenshot into FILE once two in a row are the same.
steady() { xs_poll 30 two_alike "$1"; }
two_alike() { xs_shot "$1" && sleep 0.5 && shot_is "$1"; }

lives_on() { xs_app_running && [[ -n $(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null) ]]; }
nothing_printed() {
    local printed
    printed=$(grep -v 'XDG_RUNTIME_DIR' "$xs_dir/app.log")
    [[ -z $printed ]] || { echo "# printed:"; sed 's/^/#   /' <<<"$printed"; return 1; }
}
only_windows() {
    local seen
    seen=$(xs_clients_seen)
    [[ $seen == "$1" ]] || { echo "# $seen windows appeared, expected $1"; return 1; }
}
# after WHERE TITLE SHOT WINDOWS: what must hold once the client is done.
after() {
    check "$1: the program runs on, its window shown" lives_on "$2" || return 1
    check "$1: nothing printed" nothing_printed
    check "$1: no other window appeared" only_windows "$4"
    check "$1: nothing on the screen changed" still "$3"
}
# each FORM WHERE TITLE SHOT WINDOWS: the client's kinds, a run each, and
# after each what must hold.
each() {
    for kind in private timers commands objects children; do
        HOSTILE_ONLY=$kind check "$2: the client found nothing wrong with $kind" hostile "$1" &&
            after "$2, after $kind" "$3" "$4" "$5" || return 1
    done
}

# lit AREA COLOUR SHARE: that share of AREA, on the dashboard at (0,0), is
# of that colour.
lit() { xs_shot "$work/now.png" && xs_share_at_least "$work/now.png" "$1" "$2" "$3"; }
readouts_lit() { lit "$(xs_zone_box Form1 Label10)" "$xs_red" 0.04 && lit "$(xs_zone_box Form1 Label11)" "$xs_red" 0.04; }
lamp_lit() {  # the lit picture fills 15 x 13 inside the lamp's border
    local x y
    IFS='x+' read -r _ _ x y <<<"$(xs_zone_box Form1 Picture6)"
    lit "15x13+$((x + 1))+$((y + 1))" "$xs_red" 0.25
}
# A click goes only to a window the window manager has made active.
activated() { xdotool windowactivate "$wid" 2>/dev/null; [[ $(xdotool getactivewindow 2>/dev/null) == "$wid" ]]; }

check "Wine prefix ready" xs_wine_prefix "$(dirname "$exe")/wine-prefix" || exit 1
check "X server starts" xs_start_x 1024x768 || exit 1
xs_watch_clients
xs_app_start "$exe" "$(dirname "$exe")"
# shellcheck disable=SC2016  # expanded by eval
if wid=$(xs_wait_window "$disclaimer" 60) && check "the disclaimer appears" steady "$work/disclaimer.png"; then
    echo "# at the disclaimer"
    if each Form2 "at the disclaimer" "$disclaimer" "$work/disclaimer.png" 1; then
        xs_poll 30 activated
        xs_click_zone "$wid" Form2 Command1  # I Agree
        check "a real click on I Agree opens the dashboard" eval 'xs_wait_window "$dashboard" 30 >/dev/null' &&
            wid=$(xs_wait_window "$dashboard") && xs_poll 30 activated &&
            xs_click_zone "$wid" Form1 Label1 &&  # Power
            check "a real click on Power powers it on" xs_poll 30 readouts_lit &&
            check "the dashboard settles" steady "$work/dashboard.png" && {
            echo "# on the powered-on dashboard"
            if each Form1 "on the dashboard" "$dashboard" "$work/dashboard.png" 2; then
                xs_click_zone "$wid" Form1 Label12  # left console lamp 1, left button
                check "a real click still lights a lamp" xs_poll 30 lamp_lit
                xs_click_zone "$wid" Form1 Label12
                check "and darkens it again, the screen as before" still "$work/dashboard.png"
                xs_click_zone "$wid" Form1 Label2  # Exit
                check "a real click on Exit ends the program with status 0" \
                    eval 'xs_app_wait_exit 30 && [[ $xs_app_status == 0 ]]'
            fi
        }
    fi
else
    check "the disclaimer appears" false
fi
if [[ -n $xs_app_pid ]] && ! xs_app_running; then
    echo "# the program's last words:"
    grep -v 'XDG_RUNTIME_DIR' "$xs_dir/app.log" | tr -d '\r' | head -n 20 | sed 's/^/#   /'
fi
echo "$passed passed, $failed failed"
((failed == 0))
