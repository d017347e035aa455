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
# The phone, tablet and desktop sizes: Firefox takes a device's viewport
# and pixel ratio, and a finger's taps, over BiDi. WebKit's driver has
# neither (a finger comes to the page as a mouse), so it is given an X
# screen of each size, which its full-screen browser fills a CSS pixel to
# the pixel, and a tap is the real pointer's click. A swipe and a pinch
# are DevTools' alone. Their elements, not the tree, say that taps landed.
swipe_and_pinch() { echo "# $ENGINE: a swipe and a pinch are not toured: DevTools alone makes them"; }
on_and_lit() {
    [[ $(page eval "(e => e('CPU status').value + ',' + e('Left console lamp 1').getAttribute('aria-description'))(
        n => [...document.querySelectorAll('[aria-label]')].find(e => e.ariaLabel == n))") == "On,lit" ]]
}
case $ENGINE in
firefox)
    as_screen() { (($#)) || return 0; browser && page viewport "$@"; }
    tap() { page tap "$1" "$2"; }
    ;;
webkit)
    as_screen() { xs_stop_x && xs_start_x "${1:-1024}x${2:-768}" && { (($# == 0)) || browser; }; }
    tap() { xdotool mousemove "$1" "$2" click 1; }
    ;;
esac

