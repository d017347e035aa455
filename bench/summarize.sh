#!/bin/bash
# Prints the bench's table from OUT/results.tsv (program, run, figure,
# value): each figure's median and spread (lowest to highest) for the
# program and the yardstick, the median and spread of the per-run ratios,
# and the goals, each judged met or not. With --markdown the same table
# as docs/performance.md shows it, to paste there whole.
# Usage: bench/summarize.sh [--markdown] OUT
set -u
export LC_ALL=C
md=0
[[ ${1-} == --markdown ]] && { md=1; shift; }
[[ $# -eq 1 && -f $1/results.tsv ]] || { echo "usage: $0 [--markdown] OUT (with OUT/results.tsv)" >&2; exit 2; }
out=$1

# figure | what | goals, space-separated ("" for none), each judged on the
# medians:
#   y<=R  the per-run ratio program/yardstick at most R
#   c<=R  the same against the yardstick with the same content
#   <=E   the program's own figure at most E, a sum of numbers and figures
#         (each the program's median), so a goal can follow what it rests on
#   >=E   the same, at least E
# A figure A/B is the per-run quotient of two figures of the same process.
figures='startup_ms|1. start-up: exec to disclaimer first paint, ms|
startup_instructions|1. start-up instructions (callgrind), millions|c<=1.0
agree_ms|2. "I Agree" to dashboard first paint, ms|
agree_instructions|2. "I Agree" instructions (callgrind), millions|c<=1.05
idle_wakeups_per_s|3. wakeups a second, dashboard idle with power on|<=2
idle_preempted_per_s|3. of which involuntary (threads preempted)|
idle_cpu_pct|3. CPU, dashboard idle with power on, % of a core|<=0.05
idle_paints|3. paint events while idle (whole phase)|
ticks_per_s|3. timer ticks delivered a second|
tick_ms|3. the readouts timer interval as delivered, ms|
readout_ticks|3. ticks from power click to readouts repaint|<=1
readout_ms|3. power click to the readouts repaint, ms|<=tick_ms+click_ms
gif_frames_per_s|4. voice box GIF frames a second, from its delays|
voicebox_wakeups_per_s|4. wakeups a second, voice box shown|<=60
voicebox_preempted_per_s|4. of which involuntary (threads preempted)|
voicebox_cpu_pct|4. CPU, voice box shown, % of a core|<=1
voicebox_paints_per_s|4. paint events a second, voice box shown|
voicebox_frames_per_s|4. voice box frames painted a second|
voicebox_frames_per_s/gif_frames_per_s|4. ... of the GIF'"'"'s frames a second (every frame, at its pace)|>=0.97
voicebox_wakeups_per_frame|4. wakeups a frame, voice box shown, less idle|<=2
voicebox_cpu_us_per_frame|4. CPU a frame, voice box shown, less idle, µs|
hidden_wakeups_per_s|4. wakeups a second, voice box hidden|<=2
hidden_cpu_pct|4. CPU, voice box hidden behind a mode picture, %|<=0.05
hidden_paints|4. paint events, voice box hidden (whole phase)|
rss_mib|5. resident memory, dashboard up, MiB|y<=1.2
heap_mib|5. of which heap and anonymous, MiB|
threads|5. threads, dashboard up|
click_ms|6. click on a lamp zone to its repaint, ms|y<=1.1
tick_instructions|7. instructions per tick, timer event to handler end|
idle_instructions_per_s|7. instructions a second, idle dashboard, whole process|'

awk -F'\t' -v figures="$figures" -v md="$md" '
    function sortv(a, n,   i, j, t) { for (i = 2; i <= n; i++) for (j = i; j > 1 && a[j - 1] > a[j]; j--) { t = a[j]; a[j] = a[j - 1]; a[j - 1] = t } }
    function med(a, n) { sortv(a, n); return n % 2 ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2 }
    function fmt(v) { return v == int(v) && v < 1e5 ? sprintf("%d", v) : v >= 1e5 ? sprintf("%.3g", v) : v >= 100 ? sprintf("%.0f", v) : v >= 10 ? sprintf("%.1f", v) : sprintf("%.2f", v) }
    # The median of a process figure over the runs, or "" when never measured.
    function median(p, f,   n, r, a) {
        n = 0
        for (r = 1; r <= runs; r++) if ((p, f, r) in v) a[++n] = v[p, f, r]
        return n ? med(a, n) : ""
    }
    function stats(p, f,   n, r, a) {
        n = 0
        for (r = 1; r <= runs; r++) if ((p, f, r) in v) a[++n] = v[p, f, r]
        if (!n) return "-"
        sortv(a, n)
        return a[1] == a[n] ? fmt(a[1]) : fmt(med(a, n)) " [" fmt(a[1]) dash fmt(a[n]) "]"
    }
    # Median and spread of the per-run ratios p/q; sets rmed (or -1).
    function ratio(p, q, f,   n, r, a, s) {
        n = 0; rmed = -1
        for (r = 1; r <= runs; r++)
            if (((p, f, r) in v) && ((q, f, r) in v) && v[q, f, r] > 0)
                a[++n] = v[p, f, r] / v[q, f, r]
        if (!n) return "-"
        sortv(a, n); rmed = med(a, n)
        s = sprintf("%.2fx", rmed)
        return sprintf("%.2f", a[1]) != sprintf("%.2f", a[n]) ? s sprintf(" [%.2f" dash "%.2f]", a[1], a[n]) : s
    }
    # One goal judged: "<=110 met", "<=0.1x yardstick NOT met"; "" when a
    # figure it needs was not measured.
    function judge(f, g,   against, limit, got, shown, k, terms, t, x, y) {
        against = substr(g, 1, 1) ~ /[yc]/ ? substr(g, 1, 1) : ""
        atleast = substr(g, length(against) + 1, 2) == ">="
        limit = substr(g, length(against) + 3)
        if (against != "") {
            ratio("program", against == "y" ? "yardstick" : "content", f)
            if (rmed < 0) return ""
            got = rmed; shown = limit "x " (against == "y" ? "yardstick" : "same content")
        } else {
            got = median("program", f)
            if (got == "") return ""
            k = split(limit, terms, "+"); x = 0; shown = ""
            for (t = 1; t <= k; t++) {
                y = terms[t] ~ /^[0-9.]+$/ ? terms[t] : median("program", terms[t])
                if (y == "") return ""
                x += y; shown = shown (t > 1 ? " + " : "") fmt(y)
            }
            shown = k > 1 ? shown " = " fmt(x) : limit
            limit = x
        }
        return (atleast ? ge : le) shown ((atleast ? got >= limit + 0 : got <= limit + 0) ? " met" : " NOT met")
    }
    { v[$1, $3, $2] = $4 + 0; if ($2 > runs) runs = $2; seen[$1] = 1 }
    $3 ~ /^(startup|agree)_instructions$/ { v[$1, $3, $2] = $4 / 1e6 }
    END {
        dash = md ? "–" : "-"; le = md ? "≤ " : "<="; ge = md ? "≥ " : ">="
        if (md) {
            print "| Figure | Program | Yardstick | Ratio | Goal | Same content | Ratio |"
            print "|---|---|---|---|---|---|---|"
        } else {
            fmtl = "%-52s %-22s %-22s %-18s %-40s | %-22s %s\n"
            printf fmtl, "figure", "program", "yardstick", "ratio", "goal", "yardstick, same content", "ratio"
        }
        nf = split(figures, rows, "\n")
        for (i = 1; i <= nf; i++) {
            split(rows[i], c, "|")
            f = c[1]
            if (split(f, ab, "/") == 2)  # a quotient: per run, each process
                for (p in seen) for (r = 1; r <= runs; r++)
                    if (((p, ab[1], r) in v) && v[p, ab[2], r] > 0) v[p, f, r] = v[p, ab[1], r] / v[p, ab[2], r]
            if (median("program", f) == "" && median("yardstick", f) == "") continue
            ng = split(c[3], goals, " "); goal = ""
            for (g = 1; g <= ng; g++) if ((j = judge(f, goals[g])) != "") goal = goal (goal == "" ? "" : "; ") j
            r1 = ab[2] != "" ? "" : ratio("program", "yardstick", f)
            r2 = ab[2] != "" ? "" : ratio("program", "content", f)
            if (md)
                printf "| %s | %s | %s | %s | %s | %s | %s |\n", c[2], stats("program", f), stats("yardstick", f), r1, goal, stats("content", f), r2
            else
                printf fmtl, c[2], stats("program", f), stats("yardstick", f), r1, goal, stats("content", f), r2
        }
    }' "$out/results.tsv"

# Where the voice box's wakeups come from: each thread's switches a frame
# of the GIF, less the same thread's while idle; the median over the runs.
fps=$(awk -F'\t' '$3 == "gif_frames_per_s" { print $4; exit }' "$out/results.tsv")
for p in program yardstick content; do
    [[ -n $fps ]] && compgen -G "$out/$p-voicebox-*.threads" >/dev/null || continue
    for f in "$out/$p"-voicebox-*.threads; do
        join -a 1 "$f" "${f/-voicebox-/-idle-}" | awk -v f="$fps" '{ printf "%s %.2f\n", $1, ($2 - $3) / f }'
    done | sort -k1,1 -k2,2n | awk -v p="$p" -v md="$md" '
        function flush() { if (n) line = line sprintf("%s %.2f; ", name, v[int((n + 1) / 2)]) }
        $1 != name { flush(); name = $1; n = 0 } { v[++n] = $2 }
        END { flush(); sub(/; $/, "", line); printf md ? "- %s: %s\n" : "voice box wakeups a frame by thread, %-10s %s\n", p, line }'
done
((md)) && exit 0
for p in program yardstick content; do
    [[ -f $out/$p.plugins ]] && printf 'image plugins loaded, %-10s %s\n' "$p:" "$(cat "$out/$p.plugins")"
done
exit 0
