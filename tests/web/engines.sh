# The web tour in the engines other than Chromium's: ENGINE=firefox (Gecko,
# over its own WebDriver BiDi) or ENGINE=webkit (WebKitGTK's MiniBrowser,
# through WebKitWebDriver). Sourced by page.sh, whose functions it leaves
# as they are but for the browser they start and the driver they ask
# (webdriver.py, for page.py); clicks are the same real pointer's, on the
# browser's window full screen under Xvfb. What only DevTools can read
# (the accessibility tree, long tasks, a script held back) is said and
# skipped; the scenarios are Chromium's.
# shellcheck shell=bash

webdriver=''  # where webdriver.py reaches the browser
page() { /usr/bin/python3 "$here/web/webdriver.py" "$webdriver" "$@"; }

case $ENGINE in
firefox)
    browser() {  # [--force-device-scale-factor=N], as Chromium's
        stop_browser
        rm -rf "$work/profile" && mkdir -p "$work/profile" || return 1
        # Nothing of its own to show or fetch first: no welcome, no checks
        # for updates or defaults; the session's own settings do the rest.
        printf 'user_pref("%s", %s);\n' browser.aboutwelcome.enabled false browser.shell.checkDefaultBrowser false \
            app.update.disabledForTesting true datareporting.policy.dataSubmissionEnabled false \
            browser.startup.homepage_override.mstone '"ignore"' \
            layout.css.devPixelsPerPx "\"$(device_scale "$@")\"" >"$work/profile/user.js"
        # An empty page of its own to start on: on about:blank the
        # keyboard goes to the (hidden) address bar, not to the pages after.
        firefox-esr --profile "$work/profile" --no-remote --kiosk --remote-debugging-port "$cdp" data:text/html, \
            >"$work/firefox.log" 2>&1 &
        browser=$! webdriver="ws://127.0.0.1:$cdp/session"
        xs_poll 30 page eval 1 >/dev/null || not_started "$work/firefox.log"
    }
    ;;
webkit)
    minibrowser=/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser
    browser() {  # [--force-device-scale-factor=N], as Chromium's
        stop_browser
        # The browser it opens takes its screen's scale from the driver's
        # surroundings, in whole numbers as GTK has it.
        GDK_SCALE=$(device_scale "$@") WebKitWebDriver --port="$cdp" >"$work/webkit.log" 2>&1 &
        browser=$!
        # The driver opens the browser for its session, and closes it with it.
        xs_poll 10 eval 'webdriver=$(/usr/bin/python3 "$here/web/webdriver.py" "http://127.0.0.1:$cdp" new \
            "$minibrowser" --automation --full-screen 2>/dev/null)' && xs_poll 30 page eval 1 >/dev/null ||
            not_started "$work/webkit.log"
    }
    # WebKit joins an inset border's two colours at its corners one way or
    # the other from one paint to the next (seen on the status field once
    # the voice box has shown above it: a pixel or two a corner, a level of
    # its text): screens alike may differ in those few pixels, and no more.
    same_as() {
        local differ
        differ=$(compare -metric AE "$1" "$2" null: 2>&1)
        ((${differ%% *} <= 8)) || { echo "# $differ pixels differ"; return 1; }
    }
    # The conformance page's timers are watched from its start, and WebKit's
    # WebDriver runs a script no sooner than the page is parsed: by then
    # the page has set them.
    timers_at_core_interval() { not_here "the page's timers: no script runs before the page's own over WebDriver classic"; }
    stop_browser() {
        [[ -n $webdriver ]] && page quit
        [[ -n $browser ]] && kill "$browser" 2>/dev/null && wait "$browser" 2>/dev/null
        browser='' webdriver=''
    }
    ;;
*) echo "no engine '$ENGINE': chromium, firefox or webkit" >&2; exit 2 ;;
esac

device_scale() { [[ ${1-} == --force-device-scale-factor=* ]] && echo "${1#*=}" || echo 1; }
not_started() {  # LOG: a browser that never answered, and the end of what it said
    echo "# $ENGINE did not answer; its log ends:"
    tail -n 5 "$1" | sed 's/^/#   /'
    return 1
}
# not_here WHY: the check is skipped, and why said.
not_here() {
    echo "# $ENGINE: $*"
    return 77
}
devtools_only() { not_here "$1: DevTools alone reads it"; }
told() { devtools_only "the accessibility tree"; }
tasks_from_now() { :; }
long_tasks_at_most() { devtools_only "the page's long tasks"; }
# Holding the program's script back while the page is read takes two
# clients at once: Firefox takes one session at a time, and WebKit's
# WebDriver holds back no requests.
early() { echo "# $ENGINE: the page before the program has loaded is not toured: DevTools alone holds a script back"; }
installable() { devtools_only "whether the page installs"; }
painter_error_once() { not_here "the painter's errors: only the Chromium family draws the voice box in a worker"; }
# Phones, a tablet, small and large desktop windows, as Chromium's tour
# has them. Firefox takes a device's viewport and pixel ratio, and a
# finger's taps, over BiDi. WebKit's driver has neither (a finger comes to
# the page as a mouse), so its screen itself is given each size, which its
# full-screen browser fills at a CSS pixel to the pixel, and a tap is the
# real pointer's click. A swipe and a pinch are DevTools' alone.
scenario_screens() {
    local size w h dpr
    if [[ $ENGINE == webkit ]]; then
        xs_stop_x
        check "2560x1600 X server starts" xs_start_x 2560x1600 || return
    fi
    for size in 390x844x3 844x390x3 768x1024x2 800x600x1 2560x1600x1; do
        IFS=x read -r w h dpr <<<"$size"
        echo "# a screen of $w x $h"
        if [[ $ENGINE == webkit ]]; then
            # Xvfb takes the new size though it says its one output cannot follow.
            xrandr --fb "${w}x$h" >/dev/null 2>&1
            browser
        else
            browser && page viewport "$w" "$h" "$dpr"
        fi
        open && xs_poll 10 eval '[[ $(page eval innerWidth) == $w ]]' && tap_zone agree &&
            xs_poll 10 eval '[[ $(shown_name) == "$DASHBOARD" ]]' && xs_shot "$shots/60-$w-$h.png"
        check "$w x $h: the whole dashboard in the viewport, no scrolling" in_view
        tap_zone power && tap_zone left-1
        check "$w x $h: taps on Power and on a lamp's button land" xs_poll 10 on_and_lit
        finish
    done
    if [[ $ENGINE == webkit ]]; then
        xs_stop_x
        check "1024x768 X server starts again" xs_start_x 1024x768
    fi
}
# The status field says On and the first lamp is lit, as their elements have it.
on_and_lit() {
    [[ $(page eval "(e => e('CPU status').value + ',' + e('Left console lamp 1').getAttribute('aria-description'))(
        n => [...document.querySelectorAll('[aria-label]')].find(e => e.ariaLabel == n))") == "On,lit" ]]
}
case $ENGINE in
firefox) tap() { page tap "$1" "$2"; } ;;
webkit) tap() { xdotool mousemove "$1" "$2" click 1; } ;;
esac
