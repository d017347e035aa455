#!/bin/bash
# Prints the bench's table from OUT/results.tsv (program, run, figure,
# value): each figure's median and spread (lowest to highest) for the
# program and the yardstick, the median and spread of the per-run ratios,
# and the goal. Usage: bench/summarize.sh OUT
set -u
export LC_ALL=C
[[ $# -eq 1 && -f $1/results.tsv ]] || { echo "usage: $0 OUT (with OUT/results.tsv)" >&2; exit 2; }
out=$1

# figure | what | goal for the ratio program/yardstick ("" for none)
figures='startup_ms|1. start-up: exec to disclaimer first paint, ms|1.1
startup_instructions|1. start-up instructions (callgrind), millions|1.1
agree_ms|2. "I Agree" to dashboard first paint, ms|
agree_instructions|2. "I Agree" instructions (callgrind), millions|
idle_cpu_pct|3. CPU, dashboard idle with power on, % of a core|1.1
idle_paints|3. paint events while idle (whole phase)|
voicebox_cpu_pct|4. CPU, voice box shown, % of a core|
voicebox_paints_per_s|4. paint events a second, voice box shown|
hidden_cpu_pct|4. CPU, voice box hidden behind a mode picture, %|
hidden_paints|4. paint events, voice box hidden (whole phase)|
rss_mib|5. resident memory, dashboard up, MiB|1.2
heap_mib|5. of which heap and anonymous, MiB|
threads|5. threads, dashboard up|
click_ms|6. click on a lamp zone to its repaint, ms|1.1
ticks_per_s|7. 1 ms timer ticks delivered a second|
tick_instructions|7. instructions per tick, timer event to handler end|
loop_instructions_per_tick|7. instructions per tick, whole idle process|'

awk -F'\t' -v figures="$figures" '
    function sortv(a, n,   i, j, t) { for (i = 2; i <= n; i++) for (j = i; j > 1 && a[j - 1] > a[j]; j--) { t = a[j]; a[j] = a[j - 1]; a[j - 1] = t } }
    function med(a, n) { sortv(a, n); return n % 2 ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2 }
    function fmt(v) { return v >= 1e5 ? sprintf("%.3g", v) : v >= 100 ? sprintf("%.0f", v) : v >= 10 ? sprintf("%.1f", v) : sprintf("%.2f", v) }
    function stats(p, f,   n, r, a) {
        n = 0
        for (r = 1; r <= runs; r++) if ((p, f, r) in v) a[++n] = v[p, f, r]
        if (!n) return "-"
        sortv(a, n)
        return n == 1 ? fmt(a[1]) : fmt(med(a, n)) " [" fmt(a[1]) "-" fmt(a[n]) "]"
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
        return n > 1 ? s sprintf(" [%.2f-%.2f]", a[1], a[n]) : s
    }
    { v[$1, $3, $2] = $4 + 0; if ($2 > runs) runs = $2 }
    $3 ~ /^(startup|agree)_instructions$/ { v[$1, $3, $2] = $4 / 1e6 }
    END {
        fmtl = "%-50s %-22s %-22s %-18s %-12s | %-22s %s\n"
        printf fmtl, "figure", "program", "yardstick", "ratio", "goal", "yardstick, same content", "ratio"
        nf = split(figures, rows, "\n")
        for (i = 1; i <= nf; i++) {
            split(rows[i], c, "|")
            f = c[1]
            if (!(("program", f, 1) in v) && !(("yardstick", f, 1) in v)) continue
            r1 = ratio("program", "yardstick", f)
            goal = c[3] == "" ? "" : (rmed >= 0 && rmed <= c[3] + 0 ? "<=" c[3] "x met" : "<=" c[3] "x NOT met")
            r2 = ratio("program", "content", f)
            printf fmtl, c[2], stats("program", f), stats("yardstick", f), r1, goal, stats("content", f), r2
        }
        # The hidden voice box costs what the idle dashboard does.
        n = 0; delete q
        for (r = 1; r <= runs; r++)
            if ((("program", "hidden_cpu_pct", r) in v) && v["program", "idle_cpu_pct", r] > 0)
                q[++n] = v["program", "hidden_cpu_pct", r] / v["program", "idle_cpu_pct", r]
        if (n) printf fmtl, "4. program: voice box hidden / idle, CPU", "", "", sprintf("%.2fx", med(q, n)), (med(q, n) <= 1.1 ? "~1x met" : "~1x NOT met"), "", ""
    }' "$out/results.tsv"

for p in program yardstick content; do
    [[ -f $out/$p.plugins ]] && printf 'image plugins loaded, %-10s %s\n' "$p:" "$(cat "$out/$p.plugins")"
done
exit 0
