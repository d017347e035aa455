#!/bin/bash
# The web build's tour: build-web/ served by a plain static server under a
# sub-path with a space in it, shown by Chromium (kiosk, in a private X
# session), driven by real pointer clicks at the zones of the windows' own
# tables and judged by screenshots and the page's accessibility tree
# (page.py). Screenshots go to $SCREENSHOT_DIR.
# Usage: tests/web/tour.sh BUILD-WEB ZONES   (ZONES: tools/zonetable's zones.txt)
set -u

here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tests/xsession.sh
source "$here/../xsession.sh"
[[ $# -eq 2 && -f $1/index.html && -f $2 ]] || { echo "usage: $0 BUILD-WEB ZONES" >&2; exit 2; }
web=$(realpath "$1") xs_zones=$(realpath "$2")
shots=${SCREENSHOT_DIR:-$web/tour-shots}
mkdir -p "$shots" && rm -f "$shots"/*.png
work=$(mktemp -d -t velk-web.XXXXXX) || exit 2
server='' browser=''
stop_browser() { [[ -n $browser ]] && kill "$browser" 2>/dev/null && wait "$browser" 2>/dev/null; browser=''; }
watcher='' holder=''
trap 'stop_browser; kill $server $watcher $holder 2>/dev/null; xs_stop_x; rm -rf "$work"' EXIT
trap 'exit 130' INT TERM

free_port() { /usr/bin/python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'; }
http=$(free_port) cdp=$(free_port)
mkdir -p "$work/site/bad" && ln -s "$web" "$work/site/velk sim"
site="http://127.0.0.1:$http/velk%20sim/index.html"
(cd "$work/site" && exec /usr/bin/python3 -m http.server "$http" --bind 127.0.0.1) >"$work/http.log" 2>&1 &
server=$!

page() { /usr/bin/python3 "$here/page.py" "$cdp" "$@"; }
scale=1
# browser [OPTIONS]: a fresh Chromium, full screen, on the X session.
browser() {
    stop_browser
    rm -rf "$work/profile"
    chromium --no-sandbox --disable-gpu --no-first-run --disable-background-networking --disable-component-update \
        --disable-sync --user-data-dir="$work/profile" --kiosk --remote-debugging-port="$cdp" "$@" about:blank \
        >"$work/chromium.log" 2>&1 &
    browser=$!
    xs_poll 20 page eval 1 >/dev/null
}
# open [QUERY [JS]]: the page afresh, its first window up; JS runs first.
open() {
    page open "$site${1:-}" "${2:-}" && xs_poll 10 eval '[[ $(page eval "document.querySelectorAll(\".window.shown\").length") == 1 ]]'
}
# Where the window now shown has its client area on the screen.
origin() {
    read -r ox oy <<<"$(page eval "(r => r.x + ' ' + r.y)(document.querySelector(
        '.window:is(.shown, .early) .client').getBoundingClientRect())")"
}
# The pointer off the page and the text cursor unseen, whose blinking
# would tell two screenshots apart.
rest() {
    xdotool mousemove 0 0 && page eval "document.head.insertAdjacentHTML('beforeend',
        '<style>* { caret-color: transparent }</style>')" >/dev/null
}
# early FILE PROGRAMS: the page with the program's script held back, its
# first window in FILE, which must be PROGRAMS, the screenshot of the
# program's own; then I Agree clicked, and the script let through.
early() {
    local now=$shots/$1 then=$shots/$2
    /usr/bin/python3 "$here/page.py" "$cdp" hold "$site" &  # not through page(): its pid
    holder=$!
    xs_poll 10 eval '[[ $(page eval "document.querySelector(\".early\") && document.fonts.status == \"loaded\"
        && document.images[0].complete") == true ]]' && rest && origin
    shot "$1"
    check "before the program has loaded: the disclaimer painted as the program paints it, a dialog named by its caption" \
        eval '[[ $(page eval "!!document.querySelector(\".early\")") == true ]] && told "dialog|VELK-Simulator Version 1||" &&
            ! xs_differ "$now" "$then" "$((1024 * scale))x$((768 * scale))+0+0"'
    click Form2 Command1
    kill -TERM "$holder" && wait "$holder"
    holder=''
    check "a click on I Agree before the program has loaded: the program's dashboard" xs_poll 10 eval \
        '[[ $(page eval "document.querySelector(\".window.shown\").ariaLabel") == "VELK Simulator dashboard" ]]'
}
click() {  # FORM CONTROL: at its centre
    local x y
    read -r x y <<<"$(xs_zone "$1" "$2")" || return 1
    xdotool mousemove $(((ox + x) * scale)) $(((oy + y) * scale)) click 1
}
region() {  # CONTROL on the dashboard, or WIDTHxHEIGHT+X+Y: its place on the screen
    local w h x y box=$1
    [[ $box == *x*+*+* ]] || box=$(xs_zone_box Form1 "$1")
    IFS='x+' read -r w h x y <<<"$box"
    echo "$((w * scale))x$((h * scale))+$(((ox + x) * scale))+$(((oy + y) * scale))"
}
shot() { xs_shot "$shots/$1"; }
# see FILE PREDICATE ARGS...: screenshots into FILE until PREDICATE holds.
see() { xs_poll 10 shot_shows "$@"; }
shot_shows() { shot "$1" && "$2" "$shots/$1" "${@:3}"; }
red_at() { xs_share_at_least "$1" "$(region "$2")" "$xs_red" "$3"; }
dark_at() { xs_share_at_most "$1" "$(region "$2")" "$xs_red" 0.02; }
declare -A mode_area=([normal]='35x12+443+393' [auto]='35x12+443+418' [pursuit]='35x14+443+436')
declare -A mode_lit=([normal]=$xs_green [auto]=$xs_yellow [pursuit]=$xs_red)
declare -A mode_zone=([normal]=Label3 [auto]=Label4 [pursuit]=Label5)
mode_shown() {  # FILE MODE: its indicator lit, the others dark
    local m
    for m in normal auto pursuit; do
        if [[ $m == "$2" ]]; then xs_share_at_least "$1" "$(region "${mode_area[$m]}")" "${mode_lit[$m]}" 0.6
        else xs_share_at_most "$1" "$(region "${mode_area[$m]}")" "${mode_lit[$m]}" 0.1; fi || return 1
    done
}
powered_on() { red_at "$1" Label10 0.04 && red_at "$1" Label11 0.04 && mode_shown "$1" normal; }
readouts_dark() { dark_at "$1" Label10 && dark_at "$1" Label11; }
voice_box_shown() { red_at "$1" Picture1 0.05; }
# The accessibility tree holds a line (ROLE|NAME|DESCRIPTION|VALUE) that matches.
told() { page ax | grep -x -- "$1" >/dev/null; }
ended() {
    [[ $(page eval "document.querySelectorAll('.window, .c').length + '|' + document.getElementById('lines').textContent") \
        == "0|VELK-Simulator has ended. Reload the page to start it again." ]]
}
# The page's tasks from now on: their length on the clock, and the time
# its thread itself spent in them, which a busy machine does not stretch.
tasks_from_now() {
    page eval "longTasks.length = 0" >/dev/null && rm -f "$work/thread-time" || return 1
    /usr/bin/python3 "$here/page.py" "$cdp" watch "$work/thread-time" &  # not through page(): its pid
    watcher=$!
}
long_tasks_at_most() {  # MS: no task of the page took longer
    local longest own
    longest=$(page eval "Math.max(0, ...longTasks)")
    kill -TERM "$watcher" && wait "$watcher" && own=$(<"$work/thread-time") || own=$longest
    ((longest <= $1)) && return
    echo "# a task took $longest ms, $own ms of the page's own time"
    ((own <= $1))
}
agree_and_power() {
    origin && click Form2 Command1 && xs_poll 10 test "$(page eval "document.querySelector('.window.shown').ariaLabel")" \
        == "VELK Simulator dashboard" && origin && click Form1 Label1 && see on.png powered_on
}

lamps=(Picture6:Label12:Label13 Picture7:Label14:Label15 Picture8:Label16:Label17 Picture9:Label18:Label19
    Picture10:Label20:Label21 Picture11:Label22:Label23 Picture13:Label24:Label26 Picture14:Label25:Label27
    Picture21:Label45:Label44 Picture20:Label43:Label42 Picture19:Label41:Label40 Picture18:Label39:Label38
    Picture17:Label37:Label36 Picture16:Label35:Label34 Picture15:Label33:Label31 Picture12:Label32:Label30)
all_lamps() {  # FILE lit|dark: the lit picture fills 15 x 13 inside each lamp's border
    local l x y
    for l in "${lamps[@]}"; do
        IFS='x+' read -r _ _ x y <<<"$(xs_zone_box Form1 "${l%%:*}")"
        if [[ $2 == lit ]]; then red_at "$1" "15x13+$((x + 1))+$((y + 1))" 0.25
        else dark_at "$1" "15x13+$((x + 1))+$((y + 1))"; fi || return 1
    done
}
click_lamps() {  # 2 for the left buttons, 3 for the right
    local l
    for l in "${lamps[@]}"; do click Form1 "$(cut -d: -f"$1" <<<"$l")"; done
}

scenario_decline() {
    open && origin && rest && see 01-disclaimer.png xs_share_at_least "$(region "324x270+0+0")" 'r>0.9 && g>0.9 && b>0.9' 0.5
    check "the disclaimer is a dialog named by its caption, centred" \
        eval 'told "dialog|VELK-Simulator Version 1||" && ((ox == (1024 - 324) / 2))'
    click Form2 Command2
    check "I Do Not Agree: every window and control goes, one line says how to start again" xs_poll 10 ended
    open && origin
    xdotool mousemove $(((ox + 324 - 16) * scale)) $(((oy - 12) * scale)) click 1  # the title bar's close button
    check "closing the disclaimer ends the program" xs_poll 10 ended
    early 01-early.png 01-disclaimer.png
}

scenario_tour() {
    open && tasks_from_now && origin && click Form2 Command1
    check "I Agree: the dashboard, alone, at the page's top left" xs_poll 10 eval \
        '[[ $(page eval "document.querySelectorAll(\".window.shown\").length") == 1 ]] && origin && ((ox == 0 && oy == 0))'
    check "off: the readouts and the display are dark" see 02-dashboard-off.png readouts_dark
    click Form1 Label1
    check "power: the readouts light and the display shows normal" see 03-dashboard-on.png powered_on
    check "the status field, a readout and the zones tell a screen reader" \
        eval 'told "textbox|CPU status||On" && told "status|Speed readout|000|" && told "button|Power||"'
    local m
    for m in auto pursuit normal; do
        click Form1 "${mode_zone[$m]}"
        check "$m mode" see "mode-$m.png" mode_shown "$m"
    done
    click Form1 Label9
    check "the voice box plays" see 04-voice-box.png voice_box_shown
    check "the voice box animates" see voice-box-later.png xs_differ "$shots/04-voice-box.png" "$(region Picture1)"
    check "the display tells it shows the voice box" told "image|Central display|voice box|"
    click_lamps 2
    check "the left buttons light the sixteen lamps" see lamps-lit.png all_lamps lit
    check "a lit lamp tells it" told "image|Left console lamp 1|lit|"
    click_lamps 3
    check "the right buttons put them out again" see lamps-dark.png all_lamps dark
    check "a dark lamp is still there for a screen reader" told "image|Right console lamp 8|dark|"
    check "no task took longer than 50 ms" long_tasks_at_most 50
    click Form1 Label2
    check "the exit zone ends the program" xs_poll 10 ended
    shot 05-ended.png
}

# A voice box that cannot be shown: a note in the view says why, and the
# page stays responsive throughout.
scenario_bad_voice_boxes() {
    echo "plain text, not a picture" >"$work/site/bad/text.gif"
    # Frames as wide as a GIF may be: the most decoding the bounds allow.
    convert -size 16000x330 xc:red "$work/wide.gif" && /usr/bin/python3 - "$work/wide.gif" "$work/site/bad/wide.gif" <<'EOF'
import sys
gif = open(sys.argv[1], "rb").read()
start = 13 + (3 << ((gif[10] & 7) + 1) if gif[10] & 0x80 else 0)
open(sys.argv[2], "wb").write(gif[:start] + gif[start:-1] * 12 + b";")
EOF
    local row query expect
    for row in "missing.gif|no such file" "../bad/text.gif|not a GIF picture" \
        "//elsewhere.invalid/x.gif|no such file" "../bad/wide.gif|"; do
        IFS='|' read -r query expect <<<"$row"
        # The page's own start (compiling the WebAssembly) is not the file's
        # doing: its tasks are counted from the disclaimer on.
        open "?voice-box=${query// /%20}" && tasks_from_now && agree_and_power && click Form1 Label9
        [[ $query == missing.gif ]] && see 06-bad-voice-box.png xs_share_at_least "$(region Picture1)" "$xs_black" 0.5
        # The widest frames decode whole, within the bounds: no note.
        [[ -z $expect ]] && check "$query: shows" see 06-hostile.png voice_box_shown
        [[ -n $expect ]] && check "$query: the view's note says \"$expect\"" xs_poll 15 eval \
            '[[ $(page eval "(document.querySelector(\".note\") || {}).textContent") == *"$expect"* ]]'
        check "$query: no task took longer than 50 ms" long_tasks_at_most 50
    done
}

scenario_scaled() {
    xs_stop_x
    check "2048x1536 X server starts" xs_start_x 2048x1536 || return
    scale=2
    browser --force-device-scale-factor=2
    open && rest && shot 07-disclaimer.png && early 07-early.png 07-disclaimer.png
    open && agree_and_power
    check "at twice the scale: clicks land and the readouts light" true
    click Form1 Label9
    check "at twice the scale: the voice box plays" see 07-scaled.png voice_box_shown
    # A browser that can't hand a canvas to a worker: the page draws the frames.
    open "" "delete HTMLCanvasElement.prototype.transferControlToOffscreen;" && agree_and_power && click Form1 Label9
    check "drawn by the page itself: the voice box plays" see 07-page-drawn.png voice_box_shown
    check "drawn by the page itself: the voice box animates" see page-drawn-later.png \
        xs_differ "$shots/07-page-drawn.png" "$(region Picture1)"
}

# The backends' conformance table (tests/conformance/cases.h) on this one:
# its driver's window alone on a page, clicked by the real pointer, its
# elements and pixels read back. The page's timers are noted as asked for.
conformance() { page eval "UTF8ToString(Module._conformance_$1)"; }
scenario_conformance() {
    local i name kind row x y w h expect got
    page open "${site%index.html}tests/conformance/index.html" "var every = setInterval; window.intervals = [];
        setInterval = function(f, ms) { intervals.push(ms); return every.apply(this, arguments); };" &&
        xs_poll 10 eval '[[ $(page eval "document.querySelectorAll(\".window.shown\").length") == 1 ]]' && origin ||
        { check "the conformance window shows" false; return; }
    IFS='|' read -r _ _ _ sx sy _ <<<"$(conformance "case(-1)")"
    for ((i = 0; ; i++)); do
        IFS='|' read -r name kind row x y w h expect <<<"$(conformance "case($i)")"
        [[ -n $name ]] || break
        case $kind in
        click)  # then the sentinel: once it answers, the case's click has been handled
            conformance "clicks(1)" >/dev/null
            xdotool mousemove $((ox + x)) $((oy + y)) click 1 mousemove $((ox + sx)) $((oy + sy)) click 1
            check "$name" xs_poll 10 eval '[[ $(conformance "clicks(0)") == "${expect:+$expect;}Sentinel;" ]]' ;;
        text)
            page eval "Module._conformance_write($i)" >/dev/null
            got=$(page eval "Object.values(velk.windows)[0].controls[$row].value")
            check "$name" test "$got" == "$expect" ;;
        caption)
            shot conformance-before.png && page eval "Module._conformance_write($i)" >/dev/null
            check "$name" see conformance-after.png xs_differ "$shots/conformance-before.png" "${w}x$h+$((ox + x - w / 2))+$((oy + y - h / 2))" ;;
        timer)
            check "$name" eval '[[ $(page eval "intervals.length > 0 && intervals.every(ms => ms == Module._conformance_interval())") == true ]]' ;;
        esac
    done
}

if check "1024x768 X server with a window manager starts" xs_start_x 1024x768 && browser; then
    for scenario in scenario_conformance scenario_decline scenario_tour scenario_bad_voice_boxes scenario_scaled; do
        echo "# $scenario"
        "$scenario"
    done
fi
echo "# $passed passed, $failed failed; screenshots in $shots"
((failed == 0 && passed > 0))
