#!/bin/bash
# End-to-end test: the built program in a real X server (Xvfb + openbox),
# driven by real pointer clicks and keys and judged by screenshots of the
# whole screen, as a user would see it. Each scenario starts the program
# afresh and waits for its exit status. Screenshots go to $SCREENSHOT_DIR.
# The Windows build (a .exe) takes the same tour under Wine, in a Wine
# prefix made once beside it, with the checks that concern Windows alone;
# the web build (its folder) in Chromium, the page standing in for the
# program's process and windows (tests/web/page.sh).
# Usage: tests/endtoend.sh PATH/TO/velk-simulator[.exe] | PATH/TO/build-web
#        (run by ctest as "endtoend", "endtoend-windows" for the .exe and
#        "tour-web" for the folder)
set -u

here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tests/xsession.sh
source "$here/xsession.sh"

[[ $# -eq 1 && (-x $1 || -f $1/index.html) ]] || { echo "usage: $0 PATH/TO/velk-simulator[.exe] | PATH/TO/build-web" >&2; exit 2; }
exe=$(realpath "$1")
windows=false web=false home=$(dirname "$exe")
if [[ -d $exe ]]; then
    web=true home=$exe
elif [[ $exe == *.exe ]]; then
    windows=true
    check "Wine prefix ready" xs_wine_prefix "$home/wine-prefix" || exit 1
fi
voice_box="velk voicebox.gif"
[[ -f "$home/$voice_box" ]] || { echo "no '$voice_box' beside $exe" >&2; exit 2; }
shots=${SCREENSHOT_DIR:-$(mktemp -d -t velk-screenshots.XXXXXX)}
mkdir -p "$shots" || exit 2
rm -f "$shots"/[0-9][0-9]-*.png  # an earlier run's, which would mislead
work=$(mktemp -d -t velk-endtoend.XXXXXX) || exit 2
trap 'xs_stop_x; rm -rf "$work"' EXIT
trap 'exit 130' INT TERM

DISCLAIMER='VELK-Simulator Version 1'
DASHBOARD=Form1

# Where to click and what to look at, from the windows' own tables (the
# zone table beside the program; a build elsewhere names it in VELK_ZONES).
# Clicks land on a zone's centre pixel, in its window's client area; areas
# are WIDTHxHEIGHT+X+Y in dashboard coordinates.
xs_zones=${VELK_ZONES:-$home/zones.txt}
[[ -f $xs_zones ]] || { echo "no zone table $xs_zones" >&2; exit 2; }
declare -A at=([empty]='600 150')  # the black band under the top bar
# The mode indicator boxes are painted on the right panel (kept a pixel or
# two inside their painted edges); the rest are controls.
declare -A area=([normal]='35x12+443+393' [auto]='35x12+443+418' [pursuit]='35x14+443+436')
declare -A lit=([normal]=$xs_green [auto]=$xs_yellow [pursuit]=$xs_red)
modes=(normal auto pursuit)
# name          form  control
zones=(
    'agree      Form2 Command1'  'disagree Form2 Command2'
    'power      Form1 Label1'    'normal   Form1 Label3'    'auto Form1 Label4'  'pursuit Form1 Label5'
    'program    Form1 Label9'    'small    Form1 Label8'    'exit Form1 Label2'
)
# the voice box's part of the central display, the readouts, the status field
areas=('clip Picture1'  'left_readout Label10'  'right_readout Label11'  'status Text1')
# The console lamps, a row each: its name, the lamp (the lit picture fills
# 15 x 13 inside its border), and the row's two buttons, either of which
# flips the lamp.
lamp_rows=(
    # row    lamp       buttons
    'left-1  Picture6   Label12 Label13'   'right-1 Picture21  Label45 Label44'
    'left-2  Picture7   Label14 Label15'   'right-2 Picture20  Label43 Label42'
    'left-3  Picture8   Label16 Label17'   'right-3 Picture19  Label41 Label40'
    'left-4  Picture9   Label18 Label19'   'right-4 Picture18  Label39 Label38'
    'left-5  Picture10  Label20 Label21'   'right-5 Picture17  Label37 Label36'
    'left-6  Picture11  Label22 Label23'   'right-6 Picture16  Label35 Label34'
    'left-7  Picture13  Label24 Label26'   'right-7 Picture15  Label33 Label31'
    'left-8  Picture14  Label25 Label27'   'right-8 Picture12  Label32 Label30'
)
look_up_zones() {
    local row name form control lamp left right w h x y
    for row in "${zones[@]}"; do
        read -r name form control <<<"$row"
        at[$name]=$(xs_zone "$form" "$control") || return 1
    done
    for row in "${areas[@]}"; do
        read -r name control <<<"$row"
        area[$name]=$(xs_zone_box Form1 "$control") || return 1
    done
    # The clip box's client area, inside its one-pixel border.
    IFS='x+' read -r w h x y <<<"${area[clip]}"
    area[clip]="$((w - 2))x$((h - 2))+$((x + 1))+$((y + 1))"
    for row in "${lamp_rows[@]}"; do
        read -r name lamp left right <<<"$row"
        IFS='x+' read -r _ _ x y <<<"$(xs_zone_box Form1 "$lamp")"
        area[$name]="15x13+$((x + 1))+$((y + 1))"
        at[$name]=$(xs_zone Form1 "$left") || return 1
        at[$name-other]=$(xs_zone Form1 "$right") || return 1
    done
}
look_up_zones || exit 2

# The dashboard's focus order, from the same table: the stops that take
# the focus from the start, and the outer edge of the ring round each.
stops=()
declare -A ring=() stop_at=()
look_up_stops() {
    local form name state x y w h
    while read -r _ form name state x y w h; do
        [[ $form == Form1 && $state == shown ]] || continue
        stop_at[$name]=${#stops[@]} ring[$name]="${w}x$h+$x+$y"
        stops+=("$name")
    done < <(grep '^focus ' "$xs_zones")
    ((${#stops[@]})) || { echo "no focus order in $xs_zones" >&2; return 1; }
}
look_up_stops || exit 2

origin='0 0'  # the dashboard's place on the screen, for reading screenshots
scale=1       # screen pixels to a layout pixel, where the screen says so (the web's 2x)

click() {
    local x y
    read -r x y <<<"${at[$1]}"
    xs_click "$wid" "$x" "$y"
}

# region NAME: an area moved to where the dashboard is on the screen.
region() { region_at "${area[$1]}"; }
region_at() {  # WIDTHxHEIGHT+X+Y on the dashboard
    local w h x y ox oy
    IFS='x+' read -r w h x y <<<"$1" && read -r ox oy <<<"$origin"
    echo "$((w * scale))x$((h * scale))+$(((ox + x) * scale))+$(((oy + y) * scale))"
}

# shot_until FILE PREDICATE ARGS...: screenshots into FILE (in the
# screenshot folder) until PREDICATE FILE ARGS... holds, for up to 30 s: a
# loaded machine has been seen to take more than 10 s over one click.
wait_s=30
shot_until() {
    local file=$shots/$1
    shift
    xs_poll "$wait_s" shot_and_test "$file" "$@"
}

# taken ZONE FILE PREDICATE ARGS...: clicks ZONE and waits as shot_until
# does. A click after which nothing on the dashboard changed for the whole
# wait (the clip box, which animates by itself, left out) was lost, not
# slow, so sending it again cannot undo it: it is sent again, at most
# twice, and said. One that changed anything is never sent again.
taken() {
    local zone=$1 try
    xs_shot "$work/before.png" || return 1
    for try in 1 2 3; do
        ((try == 1)) || echo "# the click on $zone changed nothing in $wait_s s: lost; sent again"
        click "$zone"
        shot_until "${@:2}" && return 0
        ! changed_beside_clip "$shots/$2" "$work/before.png" || return 1
    done
    return 1
}
changed_beside_clip() {  # SHOT1 SHOT2
    local w h x y most
    IFS='x+' read -r w h x y <<<"$(region clip)"
    most=$(convert "$1" "$2" -compose difference -composite -fill black \
        -draw "rectangle $x,$y $((x + w - 1)),$((y + h - 1))" -format '%[max]' info:) || return 1
    [[ $most != 0 ]]
}
shot_and_test() { xs_shot "$1" && "${@:2:1}" "$1" "${@:3}"; }

# --- what a screenshot shows; each takes the file first ---

mode_shown() {  # FILE MODE: MODE's indicator lit, the other two dark
    local m
    for m in "${modes[@]}"; do
        if [[ $m == "$2" ]]; then
            xs_share_at_least "$1" "$(region "$m")" "${lit[$m]}" 0.6 || return 1
        else
            xs_share_at_most "$1" "$(region "$m")" "${lit[$m]}" 0.1 || return 1
        fi
    done
}
no_mode_shown() {
    local m
    for m in "${modes[@]}"; do
        xs_share_at_most "$1" "$(region "$m")" "${lit[$m]}" 0.1 || return 1
    done
}
display_dark() { no_mode_shown "$1" && xs_share_at_least "$1" "$(region clip)" "$xs_black" 0.95; }
voice_box_shown() { no_mode_shown "$1" && xs_share_at_least "$1" "$(region clip)" "$xs_red" 0.05; }
readouts_lit() {
    xs_share_at_least "$1" "$(region left_readout)" "$xs_red" 0.04 &&
        xs_share_at_least "$1" "$(region right_readout)" "$xs_red" 0.04
}
readouts_dark() {
    xs_share_at_least "$1" "$(region left_readout)" "$xs_black" 0.98 &&
        xs_share_at_least "$1" "$(region right_readout)" "$xs_black" 0.98
}
lamp_lit() { xs_share_at_least "$1" "$(region "$2")" "$xs_red" 0.25; }
lamp_dark() { xs_share_at_most "$1" "$(region "$2")" "$xs_red" 0.02; }
on_and_lamp_lit() { powered_on "$1" && lamp_lit "$1" left-1; }
clip_chosen_lamp_lit() { no_mode_shown "$1" && lamp_lit "$1" left-1; }
# lamps_not FILE lit|dark: prints the lamp rows not in that state
lamps_not() {
    local row
    for row in "${lamp_rows[@]}"; do
        "lamp_$2" "$1" "${row%% *}" || echo "${row%% *}"
    done
}
all_lamps() { [[ -z $(lamps_not "$1" "$2") ]]; }
lamps_lit() { all_lamps "$1" lit; }
lamps_dark() { all_lamps "$1" dark; }
# click_lamps [-other]: the left (or right) button of every lamp row
click_lamps() {
    local row
    for row in "${lamp_rows[@]}"; do click "${row%% *}${1-}"; done
}
powered_on() { readouts_lit "$1" && mode_shown "$1" normal; }
powered_off() { readouts_dark "$1" && display_dark "$1"; }
# JPEG pictures as painted, against the picture as libjpeg decodes it (in
# ImageMagick, as in Qt). Decoders agree on the brightness but spread the
# 4:2:0 colour back over its 2 x 2 blocks each their own way (Wine's WIC
# by up to tens of levels next to sharp colour edges), so what is held is:
# brightness within 6 levels for 97 % of the pixels, and every channel
# within 24 levels for 98 %. A shifted, scaled, wrong or channel-swapped
# picture is far outside both. BMP pictures and drawn parts are compared
# exactly elsewhere.
declare -A jpeg_areas=(  # picture: WIDTHxHEIGHT+X+Y on the dashboard, and where that lies in the picture
    [leftconsole.jpg]='170x303+17+465 +0+0'  [rightconsole.jpg]='200x296+809+465 +0+8'
    [rightpanel.jpg]='495x93+529+357 +0+100'
)
jpeg_painted() {  # SHOT
    local picture area offset luma colour
    for picture in "${!jpeg_areas[@]}"; do
        read -r area offset <<<"${jpeg_areas[$picture]}"
        convert "$1[$(region_at "$area")]" +repage "$work/painted.miff" &&
            convert "$here/../resources/$picture" -crop "${area%%+*}$offset" +repage "$work/decoded.miff" || return 1
        # shares of the pixels beyond the bounds: brightness, then colour
        luma=$(convert \( "$work/painted.miff" -colorspace YCbCr -channel R -separate +channel \) \
            \( "$work/decoded.miff" -colorspace YCbCr -channel R -separate +channel \) \
            -compose difference -composite -fx 'u > 6/255' -format '%[fx:mean]' info:) &&
            colour=$(convert "$work/painted.miff" "$work/decoded.miff" -compose difference -composite \
                -separate -evaluate-sequence max -fx 'u > 24/255' -format '%[fx:mean]' info:) || return 1
        echo "# $picture: $luma of the pixels more than 6 levels off in brightness, $colour more than 24 in a channel"
        awk -v l="$luma" -v c="$colour" 'BEGIN { exit !(l <= 0.03 && c <= 0.02) }' || return 1
    done
}

same_as() { ! xs_differ "$1" "$2" "$(identify -format '%wx%h+0+0' "$2")"; }
# ring_round SHOT CONTROL [BEFORE]: the focus ring round it, its outer
# line white and its inner one black; and beyond it, BEFORE unchanged.
ring_round() {
    local w h x y
    IFS='x+' read -r w h x y <<<"$(region_at "${ring[$2]}")"
    [[ $(convert "$1" -crop "${w}x$h+$x+$y" -fill white -draw "rectangle 1,1 $((w - 2)),$((h - 2))" -format '%[fx:minima]' info:) == 1 &&
        $(convert "$1" -crop "$((w - 2))x$((h - 2))+$((x + 1))+$((y + 1))" -fill black \
            -draw "rectangle 1,1 $((w - 4)),$((h - 4))" -format '%[fx:maxima]' info:) == 0 ]] || return 1
    [[ -z ${3-} || $(convert "$1" "$3" -compose difference -composite -fill black \
        -draw "rectangle $x,$y $((x + w - 1)),$((y + h - 1))" -format '%[max]' info:) == 0 ]]
}
clip_moved() { xs_differ "$1" "$2" "$(region clip)" && voice_box_shown "$1"; }
disclaimer_painted() {  # its light grey face, not an empty frame
    local x y w h
    read -r x y w h < <(xs_geometry "$wid")
    xs_share_at_least "$1" "${w}x${h}+${x}+${y}" 'r>0.8 && g>0.8 && b>0.8' 0.5
}

# changes_nothing SHOT ZONE...: clicking ZONEs changes nothing on screen.
# The left lamp, switched on and off again after them, proves the clicks
# were handled before the screen is compared: clicks reach the program in
# order.
changes_nothing() {
    local before=$shots/$1 zone
    shift
    for zone in "$@"; do click "$zone"; done
    click left-1
    shot_until lamp-probe.png lamp_lit left-1 || return 1
    click left-1
    shot_until lamp-probe.png same_as "$before"
}

# --- starting and ending the program ---

# start [WORKING_FOLDER] [EXECUTABLE] [ARGUMENTS...]: a fresh program with
# its disclaimer up.
start() {
    xs_watch_clients || return 1
    xs_app_start "${2:-$exe}" "${1:-$work}" "${@:3}"
    wid=$(xs_wait_window "$DISCLAIMER" "$wait_s") || { echo "# no disclaimer; log:"; sed 's/^/#   /' "$xs_dir/app.log"; return 1; }
    ready disclaimer_painted
}

# agree: through the disclaimer to the dashboard; $wid becomes the dashboard.
# A click goes only to a window that takes input: mapped, painted, and
# made the active window by the window manager (on a loaded machine a
# window has been seen mapped and painted a while before it answered, under
# Wine most of all). An "I Agree" that brought no dashboard in the whole
# wait was lost, and is sent again, at most twice.
agree() {
    local x y try
    for try in 1 2 3; do
        ((try == 1)) || echo "# I Agree brought no dashboard in $wait_s s: lost; sent again"
        click agree
        wid=$(xs_wait_window "$DASHBOARD" "$wait_s") && break
        wid=$(xs_wait_window "$DISCLAIMER") || return 1
    done
    [[ $(xs_windows "$DASHBOARD") ]] || return 1
    read -r x y _ _ < <(xs_geometry "$wid")
    origin="$x $y"
    ready dashboard_painted
}
ready() {  # PAINTED: window $wid is painted and takes input
    xs_poll "$wait_s" shot_and_test "$xs_dir/ready.png" "$1" && xs_poll "$wait_s" activated
}
dashboard_painted() { xs_share_at_least "$1" "$(region status)" "$xs_red" 0.05; }

open_dashboard() { start "$@" && agree; }

# ends_with_zero SECONDS: the program ended by itself, with status 0.
ends_with_zero() {
    xs_app_wait_exit "$1" || { echo "# still running after $1 s"; return 1; }
    [[ $xs_app_status == 0 ]] || { echo "# exit status $xs_app_status"; return 1; }
}

# only_windows COUNT: COUNT different windows were ever managed since start.
only_windows() {
    local seen
    seen=$(xs_clients_seen)
    [[ $seen == "$1" ]] || { echo "# $seen windows appeared, expected $1"; return 1; }
}

placed_at() {  # X Y WIDTH HEIGHT: the dashboard's place and size
    local got
    got=$(xs_geometry "$wid")
    [[ $got == "$*" ]] || { echo "# dashboard at '$got', expected '$*'"; return 1; }
}

sized() {  # WIDTH HEIGHT: window $wid's size
    local got
    got=$(xs_geometry "$wid")
    [[ $got == *" $1 $2" ]] || { echo "# size of '$got', expected $1 x $2"; return 1; }
}

only_dashboard_showing() {
    local ids
    ids=$(xdotool search --onlyvisible --pid "$xs_app_pid" 2>/dev/null)
    [[ $ids == "$wid" ]] || { echo "# showing: ${ids//$'\n'/ }"; return 1; }
}

has_frame() {  # the window manager put a title bar on it
    local top
    top=$(xprop -id "$wid" _NET_FRAME_EXTENTS | awk -F'[=,]' '{ print $4 + 0 }')
    ((top > 0))
}

# A utility window, or one asking to be left off task bars. On Windows it
# must ask, and be no utility window, which Alt+Tab would leave out.
off_taskbar() {
    local props
    props=$(xprop -id "$wid" _NET_WM_WINDOW_TYPE _NET_WM_STATE)
    if $windows; then
        [[ $props == *_NET_WM_STATE_SKIP_TASKBAR* && $props != *_NET_WM_WINDOW_TYPE_UTILITY* ]]
    else
        [[ $props =~ _NET_WM_WINDOW_TYPE_UTILITY|_NET_WM_STATE_SKIP_TASKBAR ]]
    fi || { echo "# $props"; return 1; }
}

# wm_close HOW: the window manager closes window $wid, as a user asks it to.
wm_close() {
    case $1 in
        alt-f4)
            xs_poll 10 activated || return 1
            xdotool key alt+F4
            ;;
        request) wmctrl -i -c "$wid" ;;
    esac
}
window_gone() { xs_wait_no_window "$1"; }
showing() { xs_windows "$1" >/dev/null; }
not_showing() { ! showing "$1"; }
is_active() { [[ $(xdotool getactivewindow 2>/dev/null) == "$wid" ]]; }
# Asked again at each try: a request made before the window manager has
# taken the window on is lost on a loaded machine.
activated() { xdotool windowactivate "$wid" 2>/dev/null; is_active; }

# ends the scenario's program whatever state it was left in
finish() {
    xs_app_kill
    xs_unwatch_clients
    origin='0 0'
}

# --- scenarios ---

# The whole tour: disclaimer, dashboard, power, modes, voice box, lamps, exit.
scenario_tour() {
    echo "# tour of the dashboard"
    check "disclaimer window appears" start || return
    $web && tasks_from_now
    check "disclaimer has a client area of 324 x 270" sized 324 270
    check "disclaimer has a window manager frame" has_frame
    check "disclaimer is painted" shot_until 01-disclaimer.png disclaimer_painted
    check "I Agree opens the dashboard" agree || return
    check "disclaimer goes away" window_gone "$DISCLAIMER"
    check "dashboard fills the 1024x768 screen at (0,0)" placed_at 0 0 1024 768
    $web || check "dashboard stays off the task bar" off_taskbar
    check "dashboard starts powered off" shot_until 02-dashboard-off.png powered_off
    check "consoles and panel painted as their JPEG pictures, within the decoders' rounding" \
        jpeg_painted "$shots/02-dashboard-off.png"
    check "lamps start dark" lamps_dark "$shots/02-dashboard-off.png"
    check "modes and voice box do nothing while off" \
        changes_nothing 02-dashboard-off.png normal auto pursuit program small empty

    check "power on: normal display and red readouts" taken power 03-power-on-normal.png powered_on || return
    check "power on: status field changes" \
        xs_differ "$shots/03-power-on-normal.png" "$shots/02-dashboard-off.png" "$(region status)"
    check "click on empty black changes nothing" changes_nothing 03-power-on-normal.png empty
    $windows || $web || check "a neighbour's synthetic X events with odd data change nothing" \
        eval '"${XNEIGHBOUR:?the endtoend suite sets it}" "$wid" && changes_nothing 03-power-on-normal.png'
    $web && check "the status field, a readout and the zones tell a screen reader" \
        eval 'told "textbox|CPU status||On" && told "status|Speed readout|000|" && told "button|Power||"'
    $web && check "a page script's calls with rows, events, keys and windows the page lacks change nothing" \
        eval 'page eval "$hostile_calls" >/dev/null && changes_nothing 03-power-on-normal.png'

    local mode
    for mode in 04-auto 05-pursuit; do
        check "${mode#*-} zone lights only its indicator" taken "${mode#*-}" "$mode.png" mode_shown "${mode#*-}"
    done
    voice_box program 06-voicebox-a.png 07-voicebox-b.png
    $web && echo "# $ENGINE: the voice box drawn $(page eval "velk.worker ? 'by a worker' : 'by the page itself'")"
    $web && check "the display tells it shows the voice box" told "image|Central display|voice box|"

    click_lamps
    check "one button of each row lights all 16 console lamps" shot_until 08-lamps.png lamps_lit ||
        echo "# dark: $(lamps_not "$shots/08-lamps.png" lit)"
    check "readouts stay lit beside the lamps" readouts_lit "$shots/08-lamps.png"
    $web && check "a lit lamp tells it" told "image|Left console lamp 1|lit|"

    check "power off: readouts and display go dark" taken power 09-power-off.png powered_off
    check "power off leaves the lamps lit" lamps_lit "$shots/09-power-off.png"

    check "power on again: normal display, not the clip" taken power 10-power-on-again.png powered_on
    voice_box small 11-small-voicebox-a.png 12-small-voicebox-b.png
    check "normal zone replaces the clip" taken normal 13-normal-after-clip.png mode_shown normal

    click power
    click_lamps -other
    check "power, and the rows' other buttons, off again: dashboard as it started" \
        shot_until 14-as-started.png same_as "$shots/02-dashboard-off.png"
    $web && check "a dark lamp is still there for a screen reader" told "image|Right console lamp 8|dark|"
    $web && check "no task took longer than 50 ms" long_tasks_at_most 50

    click exit
    check "exit zone ends the program with status 0" ends_with_zero 10
    check "no window is left" window_gone "$DASHBOARD"
    check "nothing printed" nothing_printed
}

# cli STATUS OUT ERR ARGUMENTS...: the program run with ARGUMENTS ends at
# once with STATUS; its standard output matches the pattern OUT and its
# first line on the error stream the pattern ERR ("" for none at all).
cli() {
    local status=$1 out=$2 err=$3 got
    shift 3
    got=$(timeout 10 "$exe" "$@" 2>"$work/cli.err")
    local ended=$?
    [[ $ended == "$status" && $got =~ $out ]] || { echo "# status $ended, printed: $got"; return 1; }
    if [[ -z $err ]]; then
        [[ ! -s $work/cli.err ]] || { echo "# on the error stream: $(<"$work/cli.err")"; return 1; }
    else
        [[ $(head -n1 "$work/cli.err") =~ $err ]] || { echo "# on the error stream: $(<"$work/cli.err")"; return 1; }
    fi
}

# fails_to_start SAID ENVIRONMENT...: the program started with that
# environment ends at once with status 1 and one line holding SAID.
fails_to_start() {
    local said=$1 out status
    shift
    out=$(env -u WAYLAND_DISPLAY "$@" timeout 10 "$exe" 2>&1)
    status=$?
    [[ $status == 1 && $out == *"$said"* && $(wc -l <<<"$out") == 1 ]] || { echo "# status $status, printed: $out"; return 1; }
}

# The command line: help and version, a wrong option or argument refused
# with status 2; no display, a display that refuses and a missing platform
# plugin each refused with status 1 in one line that names it; and a voice
# box of the user's own from another folder. (On Windows help, version and
# a wrong option are said in a message box as well: only the voice box is
# toured there.)
scenario_command_line() {
    echo "# the command line"
    if ! $windows; then
        check "--help lists the options" cli 0 'Usage: .*--voice-box <FILE>' '' --help
        check "--version says the version" cli 0 '^velk-simulator [0-9]+\.[0-9]+' '' --version
        check "an unknown option: status 2, named, with the usage" cli 2 '^$' "Unknown option '--bogus'" --bogus
        check "an argument: status 2" cli 2 '^$' "Unexpected argument 'extra'" extra
        check "Qt's -platform with its value is Qt's, not an argument" cli 0 '^velk-simulator ' '' -platform xcb --version
        local free=900
        while [[ -e /tmp/.X11-unix/X$free || -e /tmp/.X$free-lock ]]; do ((free++)); done
        check "no display: status 1, one line naming it" fails_to_start 'no display, DISPLAY is not set' -u DISPLAY
        check "DISPLAY empty: status 1, one line saying so" fails_to_start 'no display, DISPLAY is empty' DISPLAY=
        check "a display that refuses: status 1, one line naming it" \
            fails_to_start "the display :$free refused the connection" DISPLAY=":$free"
        check "a missing platform plugin: status 1, one line naming it" \
            fails_to_start 'no Qt platform plugin "bogusplatform"' QT_QPA_PLATFORM=bogusplatform
        # Before the reason the plugin gives come Qt's debugging lines about
        # it, and a warning on another setting.
        mkdir -m 700 -p "$work/runtime"
        check "a platform plugin that would not start: status 1, the reason it gave" fails_to_start \
            'the Qt platform plugin "wayland" would not start: Failed to create wl_display' \
            QT_QPA_PLATFORM=wayland XDG_RUNTIME_DIR="$work/runtime" QT_LOGGING_RULES='qt.qpa.*=true' \
            QT_SCALE_FACTOR_ROUNDING_POLICY=bogus ||
            echo "# (qt6-wayland installed? the tour starts it with no Wayland display)"
    fi
    local own="$work/my animations/green.gif" args
    mkdir -p "${own%/*}" && convert -size 167x191 xc:'#00ff00' "$own" || return
    # Qt's own options are left to Qt, a value after "=" with them (the
    # separate value above); on Windows the option takes its value after
    # "=" as well.
    args=(-platform=xcb --voice-box "$own")
    $windows && args=("--voice-box=$(winepath -w "$own" 2>/dev/null)")
    check "--voice-box$($windows && echo =FILE || echo ' FILE after -platform=xcb'): the dashboard appears" open_dashboard "" "$exe" "${args[@]}" || return
    check "--voice-box: power on" taken power 15-own-voicebox.png powered_on
    check "--voice-box: the clip box shows the named file" \
        taken program 15-own-voicebox.png xs_share_at_least_file clip 'g>0.8 && r<0.2 && b<0.2'
    check "--voice-box: nothing printed" nothing_printed
    click exit
    check "exit zone ends the program with status 0" ends_with_zero 10
}
xs_share_at_least_file() { xs_share_at_least "$1" "$(region "$2")" "$3" 0.9; }

# voice_box ZONE FIRST SECOND: ZONE shows the animated clip, in two
# screenshots that differ.
voice_box() {
    check "$1 voice-box button shows the clip" taken "$1" "$2" voice_box_shown || return
    check "$1 voice-box clip animates" shot_until "$3" clip_moved "$shots/$2"
}

# Declining, or closing the disclaimer, ends the program before any dashboard.
scenario_decline() {
    local how hows=(button alt-f4 request)
    $web && hows=(button close)  # the title bar's close button is the page's Alt+F4
    for how in "${hows[@]}"; do
        echo "# disclaimer declined by: $how"
        check "disclaimer appears" start || continue
        if [[ $how == button ]]; then click disagree; else wm_close "$how"; fi
        check "$how: program ends with status 0" ends_with_zero 10
        check "$how: no dashboard ever appeared" only_windows 1
        [[ $how == button ]] && $web && check "the end's button, by keyboard, starts the program again" start_again
        finish
    done
}

# The disclaimer by keyboard: Esc and Enter choose no button (the focus
# starts in the warning text, its caret blinking); Tab marks "I Agree" as
# having the focus, then "I Do Not Agree"; Tab reaches "I Agree" and Space
# presses it.
scenario_keys() {
    echo "# disclaimer by keyboard"
    check "disclaimer appears" start || return
    check "disclaimer is active" xs_poll 10 activated || return
    xdotool key Escape Return
    $web && xdotool key Tab Return shift+Tab  # and Enter on I Agree, which a page's own button would answer
    sleep 1
    check "Esc and Enter leave the disclaimer up" showing "$DISCLAIMER"
    check "no dashboard after Esc and Enter" not_showing "$DASHBOARD"
    $web || focus_marks
    xdotool key Tab space
    check "Tab to I Agree and Space open the dashboard" xs_poll 10 showing "$DASHBOARD"
}
# focus_marks: the warning text, which has the focus, shows its caret
# blinking; Tab marks I Agree as having the focus, then I Do Not Agree;
# Shift+Tab twice goes back to the warning text.
focus_marks() {
    xs_shot "$work/keys-before.png"
    check "the warning text, which has the focus, shows its caret blinking" xs_poll 10 caret_blinks
    xdotool key Tab
    check "Tab marks I Agree as having the focus" xs_poll 10 marked 18-keys-agree-focus.png Command1
    xdotool key Tab
    check "Tab again marks I Do Not Agree, and I Agree no more" \
        xs_poll 10 marked 19-keys-disagree-focus.png Command2 Command1
    xdotool key shift+Tab shift+Tab
}
caret_blinks() { xs_shot "$work/caret.png" && xs_differ "$work/caret.png" "$work/keys-before.png" "$(on_disclaimer Text1)"; }
# marked SHOT BUTTON [UNMARKED]: on BUTTON or within 2 pixels of it (and
# on none of UNMARKED), at least 40 pixels have turned, since before the
# first Tab, a colour of 3:1 contrast or more against its face, as a focus
# frame or the style's mark draws.
marked() {
    xs_shot "$shots/$1" && (($(marks "$shots/$1" "$2") >= 40)) && [[ -z ${3-} || $(marks "$shots/$1" "$3") == 0 ]]
}
marks() {  # SHOT BUTTON: the count of such pixels, from relative luminance (of linear RGB)
    local box face w h x y
    box=$(on_disclaimer "$2" 2) && IFS='x+' read -r w h x y <<<"$box" &&
        face=$(convert "$work/keys-before.png" -crop "1x1+$((x + 6))+$((y + h / 2))" -colorspace RGB \
            -format '%[fx:0.2126*r+0.7152*g+0.0722*b]' info:) || return 1
    convert "$1" "$work/keys-before.png" -crop "$box" +repage -colorspace RGB -fx \
        "l = 0.2126*u.r+0.7152*u.g+0.0722*u.b; (u.r != v.r || u.g != v.g || u.b != v.b) &&
         (3 * (l + 0.05) <= $face + 0.05 || l + 0.05 >= 3 * ($face + 0.05))" -format '%[fx:round(mean*w*h)]' info:
}
on_disclaimer() {  # CONTROL [GROW]: its rectangle on the screen, grown by GROW pixels each way
    local w h x y ox oy g=${2:-0}
    IFS='x+' read -r w h x y <<<"$(xs_zone_box Form2 "$1")" && read -r ox oy < <(xs_client_origin "$wid") &&
        echo "$((w + 2 * g))x$((h + 2 * g))+$((ox + x - g))+$((oy + y - g))"
}

# The dashboard by keyboard alone: Tab and Space through the disclaimer;
# Tab round every stop of the focus order, the ring round each in turn
# and nowhere else; power, a mode, a lamp and the voice box by Space and
# Enter; a click puts the ring away, and Tab goes on from where it was;
# Exit by Enter. At the start the status field has the focus, as before,
# and the dashboard is the mouse tour's to the pixel.
scenario_keyboard() {
    echo "# the dashboard by keyboard alone"
    local i n=${#stops[@]} missed=()
    check "disclaimer appears" start || return
    check "disclaimer is active" xs_poll 10 activated || return
    xdotool key Tab space
    check "Tab to I Agree and Space open the dashboard" xs_poll "$wait_s" showing "$DASHBOARD" || return
    locate
    ready dashboard_painted
    check "before a key, no ring: the dashboard as the mouse tour's" \
        shot_until 60-keys-start.png same_as "$shots/02-dashboard-off.png"
    for ((pos = stop_at[Text1], i = 0; i < n; i++)); do
        xdotool key Tab
        pos=$(((pos + 1) % n))
        xs_poll 10 shot_and_test "$shots/61-keys-ring.png" ring_round "${stops[pos]}" "$shots/60-keys-start.png" ||
            missed+=("${stops[pos]}")
    done
    echo "# the focus order: ${stops[*]}"
    check "Tab goes round all $n stops of the focus order, the ring round each in turn" \
        eval '[[ -z ${missed[*]} ]] || { echo "# no ring, or not only the ring, at: ${missed[*]}"; false; }'
    check "power by Tab and Space: normal display and red readouts" \
        keyed Label1 space 62-keys-power-on.png powered_on
    check "auto by Tab and Enter" keyed Label4 Return 63-keys-auto.png mode_shown auto
    check "a lamp by Tab and Space" keyed Label12 space 64-keys-lamp.png lamp_lit left-1
    check "the voice box by Tab and Enter" keyed Label9 Return 65-keys-voicebox.png voice_box_shown
    click left-1
    check "a click puts the ring away" shot_until 66-keys-clicked.png clicked_without_ring
    pos=${stop_at[Label12]}
    check "Tab goes on from the clicked zone to Exit, and Enter ends the program with status 0" \
        eval 'keyed Label2 Return 67-keys-exit.png true && ends_with_zero 10'
}
# locate: $wid is the dashboard, and origin where its client area is on the screen.
locate() { local x y; wid=$(xs_wait_window "$DASHBOARD") && read -r x y _ _ < <(xs_geometry "$wid") && origin="$x $y"; }
clicked_without_ring() { lamp_dark "$1" left-1 && ! ring_round "$1" Label9 && ! ring_round "$1" Label12; }
# keyed CONTROL KEY SHOT PREDICATE ARGS...: Tab on to CONTROL from the
# stop that has the focus, the ring round it, then KEY; SHOT until
# PREDICATE SHOT ARGS... holds.
keyed() {
    local k
    for ((k = (stop_at[$1] - pos + ${#stops[@]}) % ${#stops[@]}; k > 0; k--)); do xdotool key Tab; done
    pos=${stop_at[$1]}
    shot_until "$3" ring_round "$1" || { echo "# no ring round $1"; return 1; }
    xdotool key "$2"
    shot_until "$3" "${@:4}"
}

# Closing the dashboard through the window manager ends the whole program.
scenario_wm_close_dashboard() {
    local how
    for how in alt-f4 request; do
        echo "# dashboard closed by: $how"
        check "dashboard appears" open_dashboard || { finish; continue; }
        check "$how: dashboard responds before closing" taken power "15-close-$how.png" powered_on
        wm_close "$how"
        check "$how: program ends with status 0" ends_with_zero 10
        finish
    done
}

# On a bigger screen the dashboard sits in the middle and clicks still land.
scenario_big_screen() {
    echo "# 1280x1024 screen"
    xs_stop_x
    check "1280x1024 X server starts" xs_start_x 1280x1024 || return
    check "dashboard appears" open_dashboard || { finish; return; }
    check "dashboard centred at (128,128)" placed_at 128 128 1024 768
    check "power works at the offset" taken power 20-screen-1280x1024.png powered_on
    check "lamp works at the offset" taken left-1 20-screen-1280x1024.png on_and_lamp_lit
    click exit
    check "exit zone ends the program with status 0" ends_with_zero 10
    finish
}

# On screens smaller than the dashboard its top-left corner is on the
# screen; on 1280x720 Exit is too, and a click on it ends the program.
scenario_small_screens() {
    local size
    for size in 1280x720 800x600; do
        echo "# ${size} screen"
        xs_stop_x
        check "$size X server starts" xs_start_x "$size" || continue
        check "$size: dashboard appears" open_dashboard || { finish; continue; }
        check "$size: the dashboard's top-left is on the screen" top_left_on "$size"
        xs_shot "$shots/24-screen-$size.png"
        if [[ $size == 1280x720 ]]; then
            click exit
            check "$size: exit zone ends the program with status 0" ends_with_zero 10
        fi
        finish
    done
    xs_stop_x
}
top_left_on() {  # WIDTHxHEIGHT: the dashboard's top-left on a screen that size
    local x y
    read -r x y < <(xs_client_origin "$wid") || return 1
    echo "# dashboard at ($x,$y)"
    ((x >= 0 && y >= 0 && x < ${1%x*} && y < ${1#*x}))
}

# The voice box is found beside the executable, wherever that is.
scenario_spaced_folder() {
    echo "# copy in a folder with spaces and non-ASCII letters, started from /"
    local dir="$work/folder with spaces/velk sím ünïcødé Ωμέγα"
    mkdir -p "$dir" && cp "$exe" "$(dirname "$exe")/$voice_box" "$dir/"
    check "dashboard appears" open_dashboard / "$dir/${exe##*/}" || { finish; return; }
    check "power on" taken power 21-spaced-power-on.png powered_on
    voice_box program 22-spaced-voicebox-a.png 23-spaced-voicebox-b.png
    click exit
    check "exit zone ends the program with status 0" ends_with_zero 10
    finish
}

# The hostile voice boxes of tests/hostile-corpus.sh, a sample of every
# sort (tst_hostilevoicebox tries them all, in-process): not pictures,
# another format, cut short, enormous canvases and frame counts, zero
# delays, special files, a file too large, a file replaced while shown.
# HOSTILE_GIF (set by ctest) is the tool that writes the corpus's GIFs.
hostile_kinds=(missing empty random-64MiB truncated-half header-only png folder fifo dev-zero
    loop-link canvas-65535 frames-2000-distinct zero-delay replaced-while-shown)
# On Windows, what a Windows user may find there: no file, an empty one,
# text, a download cut short, a folder of that name.
$windows && hostile_kinds=(missing empty text truncated-half folder)
corpus() { VOICE_BOX="$(dirname "$exe")/$voice_box" bash "$here/hostile-corpus.sh" "$@"; }

# What the clip box shows once the voice box is chosen: black but for the
# few light grey lines of the note that says why (which must be there), or
# a picture (not black, and not the normal mode's picture it replaced). A
# hostile picture may paint anything, mode indicators' colours included,
# so the mode checks of the tour do not apply here.
clip_black() {
    xs_share_at_least "$1" "$(region clip)" "$xs_black" 0.9 &&
        xs_share_at_least "$1" "$(region clip)" 'r>0.5 && g>0.5 && b>0.5' 0.002
}
clip_picture() {
    xs_share_at_most "$1" "$(region clip)" "$xs_black" 0.98 && xs_differ "$1" "$normal_shot" "$(region clip)"
}
clip_any() { xs_differ "$1" "$normal_shot" "$(region clip)"; }
clip_animates() { clip_picture "$1" && xs_differ "$1" "$2" "$(region clip)"; }

# nothing_printed: the program wrote nothing, but for Qt's note on a
# missing XDG_RUNTIME_DIR, which is the test machine's doing.
nothing_printed() {
    local printed
    printed=$(grep -v 'XDG_RUNTIME_DIR' "$xs_dir/app.log")
    [[ -z $printed ]] || { echo "# printed: $printed"; return 1; }
}

# voice_box_said EXPECT [SAYS]: a voice box that shows nothing is named
# once on the error stream with the reason (SAYS, when given); one that
# shows may be named once (shown only in part, the rest over a bound).
voice_box_said() {
    local printed lines
    printed=$(grep -v 'XDG_RUNTIME_DIR' "$xs_dir/app.log")
    lines=$(grep -c . <<<"$printed")
    if [[ $1 == black ]]; then
        [[ $lines == 1 && $printed == *"$voice_box: ${2-}"* ]]
    else
        [[ $lines == 0 || ($lines == 1 && $printed == *"$voice_box: "*) ]]
    fi || { echo "# printed: $printed"; return 1; }
    [[ -z $printed ]] || echo "# said: ${printed##*/}"
}

# A hostile voice box costs the voice box only: the dashboard comes up,
# answers clicks, shows black or the picture in the clip box, says at most
# one line of why, opens no other window and keeps its memory bounded (64 MB of
# frames and a 16 MB file at most, on top of the program's own).
scenario_hostile_voice_box() {
    local kind expect when says dir peak t0 ms normal_shot
    for kind in "${hostile_kinds[@]}"; do
        read -r _ expect when says < <(corpus list | grep "^$kind ")
        echo "# voice box: $kind (shows $expect)"
        dir="$work/hostile-$kind"
        mkdir -p "$dir" && cp "$exe" "$dir/" || return 1
        check "$kind: corpus file made" corpus make "$kind" "$dir" || continue
        check "$kind: dashboard appears" open_dashboard "" "$dir/${exe##*/}" || { finish; continue; }
        check "$kind: power zone responds" taken power "30-$kind-power-on.png" powered_on
        normal_shot=$shots/30-$kind-power-on.png
        check "$kind: the clip box shows $expect" taken program "31-$kind-voicebox.png" "clip_$expect"
        if [[ $when == shown ]]; then
            corpus change "$kind" "$dir"
            check "$kind: the animation goes on as it was read" \
                shot_until "31-$kind-changed.png" clip_animates "$shots/31-$kind-voicebox.png"
        fi
        t0=$(date +%s%N)
        check "$kind: lamp zone responds" taken left-1 "32-$kind-lamp.png" lamp_lit left-1
        ms=$((($(date +%s%N) - t0) / 1000000))
        echo "# $kind: lamp seen lit $ms ms after the click, screenshots included"
        check "$kind: power off responds" taken power "33-$kind-power-off.png" powered_off
        check "$kind: only the dashboard is showing" only_dashboard_showing
        check "$kind: no other window ever appeared" only_windows 2
        check "$kind: what could not be shown is said once${says:+, as \"$says\"}" voice_box_said "$expect" "$says"
        peak=$(xs_app_peak_kb)
        check "$kind: peak memory ${peak:-?} KiB, under 150 MB" test "${peak:-999999}" -lt $((150 * 1024))
        click exit
        check "$kind: exit zone ends the program with status 0" ends_with_zero 10
        finish
        rm -rf "$dir"
    done
}

# A library planted beside the .exe is never loaded: not at start, not
# when a window opens (when Wine loads uxtheme), not later. Each planted
# library leaves a marker beside itself if loaded. Wine is told to prefer a
# native library to its own for these, as Windows does for libraries that
# are not among its known ones; the control, a bare program that opens a
# window, shows that Wine then does load a planted one.
scenario_planted_libraries() {
    echo "# libraries planted beside the program"
    local dir=$work/planted lib
    mkdir -p "$dir" && cp "$exe" "$(dirname "$exe")/$voice_box" "$dir/" || return 1
    check "planted library and control program build" \
        x86_64-w64-mingw32-gcc -shared -Os -o "$dir/planted.dll" "$here/planted-library.c" &&
        x86_64-w64-mingw32-gcc -mwindows -Os -o "$dir/control.exe" "$here/unprotected-window.c" || return
    for lib in uxtheme dwmapi winmm; do cp "$dir/planted.dll" "$dir/$lib.dll"; done
    local WINEDLLOVERRIDES="uxtheme,dwmapi,winmm=n,b;$WINEDLLOVERRIDES"
    export WINEDLLOVERRIDES
    xs_app_start "$dir/control.exe" "$dir"
    check "control: the bare program ends" ends_with_zero 20
    check "control: it loaded the planted uxtheme.dll" test -e "$dir/uxtheme.dll.loaded"
    rm -f "$dir"/*.loaded
    check "dashboard appears" open_dashboard "$dir" "$dir/${exe##*/}" || { finish; return; }
    check "power on" taken power 40-planted-power-on.png powered_on
    voice_box program 41-planted-voicebox-a.png 42-planted-voicebox-b.png
    click exit
    check "exit zone ends the program with status 0" ends_with_zero 10
    check "no planted library was loaded" test -z "$(cd "$dir" && ls ./*.loaded 2>/dev/null)"
    finish
}

# On a screen of twice the density (Wine told 192 dots per inch) the
# dashboard is the same picture enlarged pixel for pixel: the normal mode
# picture it shows is the picture file doubled, to the last pixel, and a
# click lands where the zone is drawn. The prefix is put back to 96.
scenario_scaled() {
    echo "# 192 dots per inch"
    xs_stop_x
    set_dpi 192 && check "2048x1536 X server starts" xs_start_x 2048x1536 &&
        check "disclaimer appears" start && {
        xs_shot "$shots/50-scaled-disclaimer.png"  # to be looked at: its icon, its text at twice the size
        click_doubled agree
        check "dashboard appears" xs_poll 10 showing "$DASHBOARD" && wid=$(xs_wait_window "$DASHBOARD")
        check "dashboard is 2048x1536 at (0,0)" placed_at 0 0 2048 1536
        click_doubled power
        check "normal picture enlarged pixel for pixel" \
            xs_poll 10 doubled "$work/scaled.png" "$here/../resources/modenormal.bmp"
        click_doubled exit
        check "exit zone ends the program with status 0" ends_with_zero 10
    }
    finish
    xs_stop_x
    check "prefix back at 96 dots per inch" set_dpi 96
}
click_doubled() {  # ZONE: at twice its place
    local x y
    read -r x y <<<"${at[$1]}"
    xs_click "$wid" $((2 * x)) $((2 * y))
}
set_dpi() {
    DISPLAY='' wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1 &&
        wineserver -w
}
# doubled SHOT PICTURE: the velknormall box's client area, on the screen,
# is the picture's top-left 183 x 191 pixels doubled.
doubled() {
    local client
    client=$(awk '$1 == "Form1" && $2 == "velknormall" { print ($6 - 2) * 2 "x" ($7 - 2) * 2 "+" ($4 + 1) * 2 "+" ($5 + 1) * 2 }' "$xs_zones")
    xs_shot "$1" &&
        convert "$2" -crop "$(awk -F'[x+]' '{ print $1 / 2 "x" $2 / 2 "+0+0" }' <<<"$client")" +repage -scale 200% "$work/doubled.png" &&
        [[ $(compare -metric AE "$1[$client]" "$work/doubled.png" null: 2>&1) == 0 ]]
}

# shellcheck source=tests/web/page.sh
$web && source "$here/web/page.sh"

start_seconds=$SECONDS
if check "1024x768 X server with a window manager starts" xs_start_x 1024x768; then
    # The keyboard's on the screen the tour saw.
    scenarios=(scenario_tour scenario_command_line scenario_decline scenario_keys scenario_keyboard
        scenario_wm_close_dashboard scenario_spaced_folder scenario_hostile_voice_box scenario_big_screen)
    $windows && scenarios+=(scenario_planted_libraries scenario_scaled)
    $web && scenarios=(scenario_conformance scenario_first_window scenario_tour scenario_decline scenario_keys
        scenario_keyboard scenario_bad_voice_boxes scenario_screens scenario_offline scenario_big_screen scenario_page_scaled)
    $web || scenarios+=(scenario_small_screens)
    # SCENARIOS="scenario_tour ...": only those, while working on one.
    [[ -n ${SCENARIOS:-} ]] && read -ra scenarios <<<"$SCENARIOS"
    for scenario in "${scenarios[@]}"; do
        "$scenario"
        finish
    done
fi
rm -f "$shots/lamp-probe.png"
echo "# screenshots in $shots; $((SECONDS - start_seconds)) s"
echo "$passed passed, $failed failed$( ((skipped == 0)) || echo ", $skipped skipped")"
((failed == 0))
