#!/bin/bash
# The benchmark: VELK-Simulator against its yardstick (bench/yardstick.cpp,
# and the same with the program's whole content: --same-content),
# each a whole process in a private X server (Xvfb + openbox, as the
# end-to-end test runs), driven by real clicks. Each run has three phases
# sampled every half second for CPU and wakeups: the dashboard idle, the
# voice box shown, the voice box hidden. Each round runs all three,
# each taking every place in the order in turn, and every figure is printed
# as the medians, with the spread (lowest to highest), and the median of
# the per-round ratios. Then one run of each under callgrind counts
# instructions, which do not depend on how busy the machine is.
#
# Given the Windows build (make bench-windows: BUILD_DIR build-windows),
# the .exe and its bare Win32 yardstick (bench/win32) run under Wine
# instead, measured from outside since the .exe has no trace hook:
# start-up and "I Agree" to the window mapped, idle CPU of the program
# and of its Wine server together, resident memory.
#
# Usage: bench/run.sh BUILD_DIR   (make bench does it, with BUILD_DIR
#        build-release). Environment: RUNS (rounds, default 5), PHASE
#        (seconds per phase, default 6), CLICKS (lamp clicks per run,
#        default 8), CALLGRIND=0 to skip the instruction counts.
# Writes BUILD_DIR/bench/: results.tsv, summary.txt (summary.md: the same
# as docs/performance.md's table), cpu-idle.png, wakeups.png and the raw
# traces and samples.
set -u
export LC_ALL=C

here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tests/xsession.sh
source "$here/../tests/xsession.sh"

[[ $# -eq 1 && -d $1 ]] || { echo "usage: $0 BUILD_DIR" >&2; exit 2; }
build=$(realpath "$1")
RUNS=${RUNS:-5} PHASE=${PHASE:-6} CLICKS=${CLICKS:-8} CALLGRIND=${CALLGRIND:-1}
out=$build/bench
mkdir -p "$out" && rm -f "$out"/*.trace "$out"/*.log "$out"/*.dat "$out"/callgrind.* "$out"/results.tsv
# The yardstick, and the yardstick with the program's whole content.
programs=(program yardstick content)
declare -A exe=([program]=$build/velk-simulator-bench [yardstick]=$build/yardstick [content]=$build/yardstick)
declare -A args=([program]='' [yardstick]='' [content]='--same-content')
declare -A title=([program]='VELK-Simulator Version 1' [yardstick]='Yardstick' [content]='Yardstick')
declare -A dashboard=([program]=Form1 [yardstick]='Yardstick dashboard')
windows=false
if [[ -f $build/velk-simulator.exe ]]; then
    windows=true CALLGRIND=0
    programs=(program yardstick)
    exe=([program]=$build/velk-simulator.exe [yardstick]=$build/yardstick.exe)
    xs_wine_prefix "$build/wine-prefix" || { echo "bench: no Wine prefix" >&2; exit 2; }
fi
for p in "${programs[@]}"; do
    [[ -x ${exe[$p]} ]] || { echo "bench: no ${exe[$p]}" >&2; exit 2; }
done
# The voice box's frames a second, as the program's decoder reads them
# (the Windows run does not show the voice box).
gif_fps=''
$windows || read -r _ _ gif_fps < <("$build/gifrate" "$build/velk voicebox.gif") ||
    { echo "bench: no frame rate for $build/velk voicebox.gif" >&2; exit 2; }

pid='' trace='' t0=0
stop_app() {
    [[ -n $pid ]] || return 0
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    pid=''
}
trap 'stop_app; xs_stop_x' EXIT
trap 'exit 130' INT TERM

fail() { echo "bench: $*" >&2; exit 1; }

# Microseconds on the clock the traces use (bash's own, no process started).
us_now() { local t=$EPOCHREALTIME; echo $((10#${t/./} - t0)); }

# start LABEL EXE ARGS [WRAPPER...]: starts a program with its trace on;
# the wrapper (valgrind) runs in the same process, so $pid is the program's.
start() {
    local label=$1 file=$2 extra=$3
    shift 3
    trace=$out/$label.trace
    : >"$trace"
    local stamp=$EPOCHREALTIME
    t0=$((10#${stamp/./}))
    (cd / && VELK_BENCH_TRACE=$trace VELK_BENCH_T0=$stamp exec "$@" "$file" $extra) >"$out/$label.log" 2>&1 &
    pid=$!
}

# wait_trace REGEX SECONDS: prints the first trace line matching REGEX.
has_line() { grep -m1 -E "$1" "$trace"; }
wait_trace() {
    local end=$((SECONDS + $2)) line
    until line=$(has_line "$1"); do
        ((SECONDS < end)) || return 1
        sleep 0.01
    done
    echo "$line"
}
count_lines() { grep -c -E "$1" "$trace"; }

# The time of the last click before time $1.
click_before() { awk -v t="$1" '$1 == "click" && $2 <= t { c = $2 } END { print c }' "$trace"; }

# CPU nanoseconds the process has used, every thread; threads live as long
# as the process here (the event reader, the voice box's decoder). Under
# Wine, its server's too ($server), which does part of every program's work.
server=''
cpu_ns() {
    local s=0 f a
    for f in /proc/"$pid"/task/*/schedstat ${server:+/proc/$server/task/*/schedstat}; do
        read -r a _ <"$f" 2>/dev/null && s=$((s + a))
    done
    echo "$s"
}

# Context switches so far of every thread, "ALL INVOLUNTARY": each is a
# thread put to sleep or woken, the wakeups that keep a core from idling.
# The involuntary ones are the threads preempted, which a busy machine
# adds.
switches() {
    grep -sh '^[a-z]*voluntary_ctxt_switches:' /proc/"$pid"/task/*/status |
        awk '{ s += $2 } /^non/ { n += $2 } END { print s + 0, n + 0 }'
}

# Context switches of each thread so far, "NAME COUNT" a line (threads of
# one name summed): where a phase's wakeups come from.
thread_switches() {
    local t
    for t in /proc/"$pid"/task/*; do
        printf '%s ' "$(tr ' ' _ <"$t/comm" 2>/dev/null)"
        awk '/^[a-z]*voluntary_ctxt_switches:/ { s += $2 } END { print s + 0 }' "$t/status" 2>/dev/null
    done | awk '{ s[$1] += $2 } END { for (n in s) print n, s[n] }' | sort
}

# phase NAME: PHASE seconds of the running process, sampled every half
# second into $p-NAME-$run.dat (seconds into the phase, CPU in % of one
# core, wakeups a second); sets cpu_pct, wakeups and preempted (a second)
# over the whole phase, and phase_from, phase_to.
cpu_pct='' wakeups='' preempted='' phase_from=0 phase_to=0
phase() {
    local dat=$out/$p-$1-$run.dat n=$((PHASE * 2)) i c0 s0 v0 w0 c1 s1 v1 w1 cs ss ws
    thread_switches >"$dat.threads0"
    c0=$(cpu_ns) w0=$(us_now)
    read -r s0 v0 < <(switches)
    cs=$c0 ss=$s0 ws=$w0
    : >"$dat"
    for ((i = 0; i < n; i++)); do
        sleep 0.5
        c1=$(cpu_ns) w1=$(us_now)
        read -r s1 v1 < <(switches)
        awk -v t="$((w1 - w0))" -v c="$((c1 - cs))" -v s="$((s1 - ss))" -v w="$((w1 - ws))" \
            'BEGIN { printf "%.2f %.3f %.1f\n", t / 1e6, c / w / 10, s / w * 1e6 }' >>"$dat"
        cs=$c1 ss=$s1 ws=$w1
    done
    thread_switches | join -a 2 "$dat.threads0" - | awk -v s0="$w0" -v s1="$w1" \
        'NF == 3 { printf "%s %.2f\n", $1, ($3 - $2) / (s1 - s0) * 1e6 } NF == 2 { printf "%s %.2f\n", $1, $2 / (s1 - s0) * 1e6 }' \
        >"${dat%.dat}.threads" && rm -f "$dat.threads0"
    read -r cpu_pct wakeups preempted < <(awk -v c="$((c1 - c0))" -v s="$((s1 - s0))" -v v="$((v1 - v0))" \
        -v w="$((w1 - w0))" 'BEGIN { printf "%.3f %.1f %.1f\n", c / w / 10, s / w * 1e6, v / w * 1e6 }')
    phase_from=$w0 phase_to=$w1
}

# Stat lines (one a second: ticks, paints) wholly inside the last phase.
stat_median() {  # column: 3 ticks, 4 paints
    awk -v a="$phase_from" -v b="$phase_to" -v col="$1" \
        '$1 == "stat" && $2 > a + 1000000 && $2 <= b { print $col }' "$trace" | sort -n |
        awk '{ v[NR] = $1 } END { print NR ? v[int((NR + 1) / 2)] : "nan" }'
}
stat_rate() {  # the column's count a second over the phase
    awk -v a="$phase_from" -v b="$phase_to" -v col="$1" \
        '$1 == "stat" && $2 > a + 1000000 && $2 <= b { s += $col; n++ } END { if (n) printf "%.2f", s / n }' "$trace"
}
stat_sum() {
    awk -v a="$phase_from" -v b="$phase_to" -v col="$1" \
        '$1 == "stat" && $2 > a + 1000000 && $2 <= b { s += $col } END { print s + 0 }' "$trace"
}

# click_at CONTROL: a click on a dashboard control's centre, from the
# program's window tables; the dashboard covers the 1024x768 screen, and
# the yardstick answers at the same places.
xs_zones=${VELK_ZONES:-$build/zones.txt}
click_at() {
    local x y
    read -r x y <<<"$(xs_zone Form1 "$1")" && xdotool mousemove "$x" "$y" click 1
}
# agree WINDOW: "I Agree" in the disclaimer.
agree() {
    local x y
    read -r x y <<<"$(xs_zone Form2 Command1)" && xdotool mousemove --window "$1" "$x" "$y" click 1
}

# record PROCESS FIGURE VALUE; a figure not measured is left out, not zero.
record() { [[ -z $3 ]] || printf '%s\t%s\t%s\t%s\n' "$1" "$run" "$2" "$3" >>"$out/results.tsv"; }

# One whole run of one program: start-up, "I Agree", idle power-on, voice
# box shown and hidden, memory, clicks on a lamp zone, exit.
measure() {
    local p=$1 line paint click wid i n ms
    start "$p-$run" "${exe[$p]}" "${args[$p]}"
    line=$(wait_trace '^paint 324x270 ' 30) || fail "$p: no disclaimer"
    record "$p" startup_ms "$(awk '{ printf "%.2f", $3 / 1000 }' <<<"$line")"

    wid=$(xs_wait_window "${title[$p]}" 10) || fail "$p: disclaimer not mapped"
    sleep 0.3
    agree "$wid"
    line=$(wait_trace '^paint 1024x768 ' 30) || fail "$p: no dashboard"
    paint=$(awk '{ print $3 }' <<<"$line")
    click=$(click_before "$paint")
    record "$p" agree_ms "$(awk -v a="$click" -v b="$paint" 'BEGIN { printf "%.2f", (b - a) / 1000 }')"

    sleep 0.5
    click_at Label1  # power on: readouts "000", normal mode picture
    sleep 1.5
    # The readouts follow their text boxes on the first tick after the click.
    read -r ms n < <(awk '$1 == "click" { c = $2; r = "" }
        $1 == "readout" && r == "" { r = sprintf("%.2f %d", ($2 - c) / 1000, $3) } END { print r }' "$trace")
    [[ -n $n ]] || echo "bench: $p: readouts not repainted after power on" >&2
    record "$p" readout_ms "$ms"
    record "$p" readout_ticks "$n"
    record "$p" tick_ms "$(awk '$1 == "tick" { print $2; exit }' "$trace")"
    record "$p" gif_frames_per_s "$gif_fps"
    phase idle
    record "$p" idle_cpu_pct "$cpu_pct"
    record "$p" idle_wakeups_per_s "$wakeups"
    record "$p" idle_preempted_per_s "$preempted"
    record "$p" ticks_per_s "$(stat_median 3)"
    record "$p" idle_paints "$(stat_sum 4)"
    record "$p" rss_mib "$(awk '/^VmRSS:/ { printf "%.1f", $2 / 1024 }' "/proc/$pid/status")"
    record "$p" heap_mib "$(awk '/^[0-9a-f]+-/ { name = $6 } /^Rss:/ && (name == "" || name == "[heap]") { s += $2 }
        END { printf "%.1f", s / 1024 }' "/proc/$pid/smaps")"
    record "$p" threads "$(ls "/proc/$pid/task" | wc -l)"
    grep -o 'imageformats/[^ ]*' "/proc/$pid/maps" | sort -u | tr '\n' ' ' >"$out/$p.plugins"

    # Clicks on a lamp zone, each waited for: click to the paint it causes.
    for ((i = 0; i < CLICKS; i++)); do
        n=$(count_lines '^clickpaint ')
        click_at Label12
        xs_poll 5 test "$(count_lines '^clickpaint ')" -gt "$n" || fail "$p: lamp click not painted"
        sleep 0.2
    done
    ms=$(awk '$1 == "click" { c = $2 } $1 == "clickpaint" && c { print ($2 - c) / 1000; c = 0 }' "$trace" |
        tail -n "$CLICKS" | sort -n | awk '{ v[NR] = $1 } END { printf "%.2f", v[int((NR + 1) / 2)] }')
    record "$p" click_ms "$ms"

    click_at Label9  # the voice box
    sleep 1
    phase voicebox
    record "$p" voicebox_cpu_pct "$cpu_pct"
    record "$p" voicebox_wakeups_per_s "$wakeups"
    record "$p" voicebox_preempted_per_s "$preempted"
    record "$p" voicebox_paints_per_s "$(stat_median 4)"
    record "$p" voicebox_frames_per_s "$(stat_rate 5)"
    # What the voice box adds to the idle dashboard, a frame of the GIF.
    local idle_w idle_c
    read -r idle_w idle_c < <(awk -v p="$p" -v r="$run" '$1 == p && $2 == r && $3 == "idle_wakeups_per_s" { w = $4 }
        $1 == p && $2 == r && $3 == "idle_cpu_pct" { c = $4 } END { print w, c }' "$out/results.tsv")
    record "$p" voicebox_wakeups_per_frame "$(awk -v a="$wakeups" -v b="$idle_w" -v f="$gif_fps" 'BEGIN { printf "%.2f", (a - b) / f }')"
    record "$p" voicebox_cpu_us_per_frame "$(awk -v a="$cpu_pct" -v b="$idle_c" -v f="$gif_fps" 'BEGIN { printf "%.1f", (a - b) * 1e4 / f }')"
    click_at Label3  # normal: the voice box hidden behind a mode picture
    sleep 1
    phase hidden
    record "$p" hidden_cpu_pct "$cpu_pct"
    record "$p" hidden_wakeups_per_s "$wakeups"
    record "$p" hidden_preempted_per_s "$preempted"
    record "$p" hidden_paints "$(stat_sum 4)"

    click_at Label2  # exit
    xs_poll 10 xs_gone || { echo "bench: $p did not end; killed" >&2; }
    stop_app
}
xs_gone() { ! kill -0 "$pid" 2>/dev/null || [[ $(awk '{ print $3 }' "/proc/$pid/stat" 2>/dev/null) == Z ]]; }

# --- the Windows build under Wine -----------------------------------------
# The Wine server of our prefix: its environment names the prefix.
wine_server() {
    local p
    for p in /proc/[0-9]*; do
        [[ $(readlink "$p/exe" 2>/dev/null) == */wineserver* ]] &&
            tr '\0' '\n' <"$p/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && echo "${p#/proc/}" && return 0
    done
    return 1
}

# until_mapped TITLE: microseconds on the trace clock once a window titled TITLE is mapped.
until_mapped() {
    local end=$((SECONDS + 30))
    until xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; do
        ((SECONDS < end)) || return 1
        sleep 0.01
    done
    us_now
}

# One run of one .exe, each from a cold Wine server: start-up, "I Agree",
# idle power-on, memory, exit.
measure_windows() {
    local p=$1 mapped clicked wid stamp
    xs_wine_stop
    stamp=$EPOCHREALTIME
    t0=$((10#${stamp/./}))
    xs_app_start "${exe[$p]}" /
    pid=$xs_app_pid
    mapped=$(until_mapped "${title[$p]}") || fail "$p: disclaimer not mapped"
    record "$p" startup_ms "$(awk -v t="$mapped" 'BEGIN { printf "%.2f", t / 1000 }')"
    server=$(wine_server) || fail "$p: no Wine server"
    wid=$(xs_wait_window "${title[$p]}" 10)
    sleep 0.5
    clicked=$(us_now)
    agree "$wid"
    mapped=$(until_mapped "${dashboard[$p]}") || fail "$p: no dashboard"
    record "$p" agree_ms "$(awk -v a="$clicked" -v b="$mapped" 'BEGIN { printf "%.2f", (b - a) / 1000 }')"
    sleep 0.5
    click_at Label1  # power on: readouts "000", normal mode picture
    sleep 1.5
    phase idle
    record "$p" idle_cpu_pct "$cpu_pct"
    record "$p" idle_wakeups_per_s "$wakeups"
    record "$p" rss_mib "$(awk '/^VmRSS:/ { printf "%.1f", $2 / 1024 }' "/proc/$pid/status")"
    record "$p" threads "$(ls "/proc/$pid/task" | wc -l)"
    click_at Label2  # exit
    xs_app_wait_exit 10 || echo "bench: $p did not end; killed" >&2
    pid='' server=''
}

# --- the X session ------------------------------------------------------
xs_start_x 1024x768 || fail "no X server"
echo "bench: display $DISPLAY; $RUNS rounds of the ${#programs[@]}, the order rotating; ${PHASE}s per phase"
$windows && echo "bench: the Windows build under Wine: times to the window mapped; CPU with the Wine server's"
echo "bench: machine: $(nproc) cores, $(awk -F': ' '/model name/ { print $2; exit }' /proc/cpuinfo)," \
    "load $(cut -d' ' -f1-3 /proc/loadavg)"

for ((run = 1; run <= RUNS; run++)); do
    # Each in every place of the order in turn.
    n=${#programs[@]}
    order=("${programs[@]:run % n}" "${programs[@]:0:run % n}")
    for p in "${order[@]}"; do
        if $windows; then measure_windows "$p"; else measure "$p"; fi
        printf '  run %d %-9s start-up %s ms\n' "$run" "$p" \
            "$(awk -v p="$p" -v r="$run" '$1 == p && $2 == r && $3 == "startup_ms" { print $4 }' "$out/results.tsv")"
    done
done

# --- instruction counts (callgrind) -------------------------------------
# Collects the whole run; the trace hook has no say in it. After power-on
# and a settle, the counters are zeroed, the idle dashboard runs WINDOW
# seconds (under valgrind's slowdown), and the counts are dumped.
callgrind_ticks() {  # FILE: "calls inclusive_Ir total_Ir" for QTimer::timerEvent
    awk '
        /^(c?fn)=\(/ {
            match($0, /\(([0-9]+)\)/); id = substr($0, RSTART + 1, RLENGTH - 2)
            name = substr($0, RSTART + RLENGTH + 1)
            if (name != "") names[id] = name
            if ($0 ~ /^cfn=/) callee = names[id]
            next
        }
        /^calls=/ { split($1, c, "="); pending = (callee ~ /^QTimer::timerEvent\(/) ? c[2] : 0; grab = 1; next }
        grab { if (pending) { calls += pending; incl += $2 }; grab = 0; next }
        /^summary:/ { total = $2 }
        END { printf "%d %d %d\n", calls, incl, total }' "$1"
}
if ((CALLGRIND)); then
    run=1
    for p in "${programs[@]}"; do
        echo "bench: $p under callgrind"
        start "$p-callgrind" "${exe[$p]}" "${args[$p]}" valgrind --tool=callgrind -q \
            --callgrind-out-file="$out/callgrind.$p.out"
        wait_trace '^paint 324x270 ' 300 >/dev/null || fail "$p: no disclaimer under callgrind"
        wid=$(xs_wait_window "${title[$p]}" 60) || fail "$p: disclaimer not mapped under callgrind"
        sleep 1
        agree "$wid"
        wait_trace '^paint 1024x768 ' 300 >/dev/null || fail "$p: no dashboard under callgrind"
        sleep 2
        click_at Label1
        sleep 5
        callgrind_control -z "$pid" >/dev/null
        sleep 10
        callgrind_control -d "$pid" >/dev/null
        click_at Label2
        xs_poll 60 xs_gone || echo "bench: $p did not end under callgrind; killed" >&2
        stop_app
        # The first two dumps are the trace hook's: exec to the
        # disclaimer's first paint, "I Agree" to the dashboard's. The third
        # is the idle window.
        record "$p" startup_instructions "$(awk '/^summary:/ { print $2 }' "$out/callgrind.$p.out.1")"
        record "$p" agree_instructions "$(awk '/^summary:/ { print $2 }' "$out/callgrind.$p.out.2")"
        # A timer with nothing to do sleeps: the idle window may hold no
        # tick at all, and then only the whole process's count is had.
        read -r calls incl total < <(callgrind_ticks "$out/callgrind.$p.out.3")
        record "$p" idle_instructions_per_s $((total / 10))
        ((calls > 0)) && record "$p" tick_instructions $((incl / calls))
    done
fi

# --- the summary and the plot -------------------------------------------
"$here/summarize.sh" "$out" | tee "$out/summary.txt"
"$here/summarize.sh" --markdown "$out" >"$out/summary.md"
((RUNS > 0)) && "$here/plot.sh" "$out" "$out/cpu-idle.png" "$out/wakeups.png"
exit 0
