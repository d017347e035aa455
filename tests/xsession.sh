# A private X session for driving the built program from outside: its own
# Xvfb and openbox, the program started in it, bounded waits for windows and
# for what the screen shows, pointer clicks at window coordinates and
# screenshots read pixel by pixel. Sourced (bash) by tests/endtoend.sh,
# tests/package.sh and tools/make-screenshots.sh; the caller traps EXIT and
# calls xs_stop_x.
# shellcheck shell=bash disable=SC2034  # the xs_ variables are for callers

xs_xvfb_pid='' xs_wm_pid='' xs_spy_pid='' xs_app_pid='' xs_app_status='' xs_dir=''

# Where the program's controls lie, from its own window tables: the file
# that tools/zonetable writes into the build tree (zones.txt), one line per
# control: FORM NAME KIND LEFT TOP WIDTH HEIGHT shown|hidden, then its
# accessible name if it has one. Callers point xs_zones at it.
xs_zones=''

# xs_zone FORM CONTROL: the control's centre pixel, "X Y", in its window.
xs_zone() {
    awk -v f="$1" -v c="$2" '$1 == f && $2 == c { print $4 + int(($6 - 1) / 2), $5 + int(($7 - 1) / 2); n++ }
        END { exit n != 1 }' "$xs_zones" || { echo "xs_zone: no $1 $2 in '$xs_zones'" >&2; return 1; }
}

# xs_zone_box FORM CONTROL: its rectangle, "WIDTHxHEIGHT+X+Y".
xs_zone_box() {
    awk -v f="$1" -v c="$2" '$1 == f && $2 == c { print $6 "x" $7 "+" $4 "+" $5; n++ } END { exit n != 1 }' \
        "$xs_zones" || { echo "xs_zone_box: no $1 $2 in '$xs_zones'" >&2; return 1; }
}

# xs_click_zone WINDOW FORM CONTROL: a click on the control's centre.
xs_click_zone() {
    local x y
    read -r x y <<<"$(xs_zone "$2" "$3")" && xs_click "$1" "$x" "$y"
}

# The scripts' tally of checks, and one reported check.
passed=0 failed=0 skipped=0

# check DESCRIPTION COMMAND...: one reported check; fails as COMMAND does,
# so a scenario can stop where going on would only pile up timeouts. A
# COMMAND that ends with status 77 could not be asked here (it says why):
# the check is skipped, and fails the scenario's steps that need it.
check() {
    local description=$1 status
    shift
    "$@"
    status=$?
    if ((status == 0)); then
        echo "ok - $description"
        passed=$((passed + 1))
    elif ((status == 77)); then
        echo "ok - $description # SKIP"
        skipped=$((skipped + 1))
        return 1
    else
        echo "not ok - $description"
        failed=$((failed + 1))
        return 1
    fi
}

# xs_poll SECONDS COMMAND...: retries COMMAND until it succeeds, for at most
# SECONDS, so a loaded machine is waited for instead of guessed at.
xs_poll() {
    local end=$((SECONDS + $1))
    shift
    until "$@"; do
        ((SECONDS < end)) || return 1
        sleep 0.2
    done
}

# xs_start_x WIDTHxHEIGHT: a fresh X server on the first free display, with
# a window manager, since closing a window the way a user does (Alt+F4, a
# close request) only exists with one. Exports DISPLAY. On a machine where
# others start X servers too, the display first chosen has been seen gone
# before the window manager could open it: a server that does not come up
# with its window manager is given up, said, and another tried, three times
# at most.
xs_start_x() {
    local try
    for try in 1 2 3; do
        xs_start_x_once "$1" && return 0
        echo "# X server or window manager did not start (try $try):"
        sed 's/^/#   /' "$xs_dir/xvfb.log" "$xs_dir/openbox.log" 2>/dev/null
        xs_stop_x
    done
    return 1
}
xs_start_x_once() {
    xs_wine_stop  # a Wine server keeps the screen it started on
    xs_dir=$(mktemp -d -t velk-x.XXXXXX) || return 1
    # Only X is wanted: no platform override inherited from unit tests.
    unset QT_QPA_PLATFORM WAYLAND_DISPLAY
    Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp \
        3>"$xs_dir/display" >"$xs_dir/xvfb.log" 2>&1 &
    xs_xvfb_pid=$!
    xs_poll 10 test -s "$xs_dir/display" || return 1
    DISPLAY=":$(head -n1 "$xs_dir/display")"
    export DISPLAY
    # Openbox centres new windows by default, which would hide whether the
    # program places its own; left to the window manager, they go top left.
    sed 's|<center>yes</center>|<center>no</center>|' /etc/xdg/openbox/rc.xml >"$xs_dir/rc.xml"
    openbox --sm-disable --config-file "$xs_dir/rc.xml" >"$xs_dir/openbox.log" 2>&1 &
    xs_wm_pid=$!
    xs_poll 10 xs_wm_ready
}

xs_wm_ready() {
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'
}

# xs_stop_x: ends what xs_start_x and xs_app_start started, by process id.
xs_stop_x() {
    local pid
    xs_app_kill
    xs_wine_stop
    for pid in "$xs_spy_pid" "$xs_wm_pid" "$xs_xvfb_pid"; do
        [[ -n $pid ]] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    done
    xs_spy_pid='' xs_wm_pid='' xs_xvfb_pid=''
    [[ -n $xs_dir ]] && rm -rf "$xs_dir"
    xs_dir=''
}

# xs_app_start EXECUTABLE [FOLDER [ARGUMENTS...]]: starts the program in
# FOLDER in the background (a Windows .exe under Wine, in the same process,
# so that its id and exit status are the program's); its output goes to
# $xs_dir/app.log.
xs_app_start() {
    local run=()
    [[ $1 == *.exe ]] && run=(wine)
    (cd "${2:-.}" && exec "${run[@]}" "$1" "${@:3}") >"$xs_dir/app.log" 2>&1 &
    xs_app_pid=$!
    xs_app_status=''
}

xs_app_running() {
    local stat
    stat=$(cat "/proc/$xs_app_pid/stat" 2>/dev/null) || return 1
    stat=${stat##*) }  # the name in brackets may hold spaces
    [[ ${stat%% *} != Z ]]
}

xs_app_gone() { ! xs_app_running; }

# xs_app_wait_exit SECONDS: waits for the program to end and sets
# xs_app_status; after SECONDS it is killed and the wait fails.
xs_app_wait_exit() {
    [[ -n $xs_app_pid ]] || return 1
    if xs_poll "$1" xs_app_gone; then
        wait "$xs_app_pid"
        xs_app_status=$?
        xs_app_pid=''
        return 0
    fi
    xs_app_kill
    return 1
}

xs_app_kill() {
    [[ -n $xs_app_pid ]] || return 0
    kill "$xs_app_pid" 2>/dev/null
    wait "$xs_app_pid" 2>/dev/null
    xs_app_pid=''
}

# xs_app_peak_kb: the program's peak resident memory so far, in KiB.
xs_app_peak_kb() {
    awk '/^VmHWM:/ { print $2 }' "/proc/$xs_app_pid/status"
}

# xs_windows NAME: the ids of the mapped windows titled exactly NAME; fails
# when there are none.
xs_windows() {
    local ids
    ids=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null)
    [[ -n $ids ]] && echo "$ids"
}

xs_no_windows() { ! xs_windows "$1" >/dev/null; }

# xs_wait_window NAME [SECONDS]: prints the id of the mapped window titled
# NAME once there is one.
xs_wait_window() {
    xs_poll "${2:-10}" xs_windows "$1" >/dev/null || return 1
    xs_windows "$1" | head -n1
}

# xs_wait_no_window NAME [SECONDS]: succeeds once no window titled NAME is mapped.
xs_wait_no_window() {
    xs_poll "${2:-10}" xs_no_windows "$1"
}

# xs_watch_clients / xs_clients_seen: how many different windows the window
# manager took on since the watch began, even one that came and went
# between two polls (a flash of the wrong window, a message box).
xs_watch_clients() {
    xs_unwatch_clients
    xprop -root -spy _NET_CLIENT_LIST >"$xs_dir/clients" 2>/dev/null &
    xs_spy_pid=$!
    # Watching has begun once the current list has been printed.
    xs_poll 10 test -s "$xs_dir/clients"
}

xs_unwatch_clients() {
    [[ -n $xs_spy_pid ]] || return 0
    kill "$xs_spy_pid" 2>/dev/null
    wait "$xs_spy_pid" 2>/dev/null
    xs_spy_pid=''
}

xs_clients_seen() {
    grep -o '0x[0-9a-f]*' "$xs_dir/clients" | sort -u | wc -l
}

# xs_geometry WID: "X Y WIDTH HEIGHT" of a window, X and Y on the screen.
xs_geometry() {
    local X Y WIDTH HEIGHT
    eval "$(xdotool getwindowgeometry --shell "$1" | grep -E '^(X|Y|WIDTH|HEIGHT)=[0-9-]+$')"
    echo "$X $Y $WIDTH $HEIGHT"
}

# xs_client_origin WID: "X Y", where the window's top-left pixel is on
# the screen, as the server has it (the window manager's frame left out).
xs_client_origin() {
    xwininfo -id "$1" | awk '/Absolute upper-left X:/ { x = $NF } /Absolute upper-left Y:/ { y = $NF }
        END { if (x == "" || y == "") exit 1; print x, y }'
}

# xs_click WID X Y: a real left click at window coordinates X, Y.
xs_click() {
    xdotool mousemove --window "$1" "$2" "$3" click 1
}

# xs_shot FILE: the whole screen, as the user sees it.
xs_shot() {
    import -window root "$1"
}

# xs_fraction FILE WIDTHxHEIGHT+X+Y EXPRESSION: the share (0 to 1) of the
# pixels in that part of FILE for which the fx EXPRESSION of r, g, b holds.
xs_fraction() {
    convert "$1" -crop "$2" +repage -fx "$3" -format '%[fx:mean]' info:
}

# Colour classes, as fx expressions, loose enough for JPEG-painted pixels.
xs_red='r>0.55 && g<0.35 && b<0.35'
xs_green='g>0.5 && r<0.45 && b<0.45'
xs_yellow='r>0.55 && g>0.55 && b<0.4'
xs_black='r<0.08 && g<0.08 && b<0.08'

# xs_share_at_least / xs_share_at_most FILE GEOMETRY EXPRESSION SHARE: at
# least (at most) SHARE (0 to 1) of that part of FILE matches EXPRESSION.
xs_share_at_least() { xs_share_compare "$@" '>='; }
xs_share_at_most() { xs_share_compare "$@" '<='; }
xs_share_compare() {
    local got
    got=$(xs_fraction "$1" "$2" "$3") || return 1
    awk -v got="$got" -v want="$4" -v op="$5" \
        'BEGIN { exit !(op == ">=" ? got >= want : got <= want) }'
}

# xs_differ FILE1 FILE2 GEOMETRY: the two screenshots differ in that part.
xs_differ() {
    local most
    most=$(convert "$1" "$2" -crop "$3" +repage -compose difference -composite \
        -format '%[max]' info:) || return 1
    [[ $most != 0 ]]
}

# --- Windows builds, under Wine ---

# xs_wine_prefix FOLDER: a Wine prefix in FOLDER, made once and offline (no
# Mono or Gecko offered), for the .exe that xs_app_start runs; exports
# the environment Wine reads. MS Sans Serif and Arial are mapped to
# Liberation Sans, which has Arial's metrics, as Windows draws them.
xs_wine_prefix() {
    export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
    [[ -f $WINEPREFIX/.ready ]] && return 0
    local face key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
    DISPLAY='' wineboot -i >/dev/null 2>&1 || return 1
    for face in 'MS Sans Serif' Arial; do
        DISPLAY='' wine reg add "$key" /v "$face" /d 'Liberation Sans' /f >/dev/null 2>&1 || return 1
    done
    wineserver -w && touch "$WINEPREFIX/.ready"
}

# xs_wine_stop: ends the Wine server of our own prefix, if any, and waits
# for it: it outlives its programs by a few seconds.
xs_wine_stop() {
    [[ -n ${WINEPREFIX-} && -d $WINEPREFIX ]] || return 0
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
    return 0
}
