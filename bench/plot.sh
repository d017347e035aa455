#!/bin/bash
# The bench's plots, the program against both yardsticks, from the
# half-second samples OUT/NAME-PHASE-RUN.dat (seconds into the phase, CPU
# in % of one core, wakeups a second): at each sample the median of the
# runs, with the band from the lowest to the highest run.
#  - CPU_PNG: CPU over time of the idle dashboard (power on, readouts
#    "000", the readouts' timer running);
#  - WAKEUPS_PNG: wakeups a second over the three phases one after the
#    other: idle, the voice box shown, the voice box hidden.
# Usage: bench/plot.sh OUT CPU_PNG WAKEUPS_PNG
set -u
export LC_ALL=C
[[ $# -eq 3 && -d $1 ]] || { echo "usage: $0 OUT CPU_PNG WAKEUPS_PNG" >&2; exit 2; }
out=$1
programs=(program yardstick content)
phases=(idle voicebox hidden)
declare -A colour=([program]='#c00000' [yardstick]='#0050c0' [content]='#30a030')
declare -A name=([program]='VELK-Simulator' [yardstick]='yardstick' [content]='yardstick, same content')
declare -A caption=([idle]='idle' [voicebox]='voice box shown' [hidden]='voice box hidden')

# band COLUMN OFFSET FILES...: for sample k of every run, the mean time
# plus OFFSET and the lowest, median and highest of COLUMN.
band() {
    local col=$1 offset=$2
    shift 2
    awk -v col="$col" -v off="$offset" '{ k = FNR; t[k] += $1; n[k]++; v[k, n[k]] = $col }
        END {
            for (k = 1; k in n; k++) {
                m = n[k]
                for (i = 2; i <= m; i++) for (j = i; j > 1 && v[k, j - 1] > v[k, j]; j--) { x = v[k, j]; v[k, j] = v[k, j - 1]; v[k, j - 1] = x }
                med = m % 2 ? v[k, (m + 1) / 2] : (v[k, m / 2] + v[k, m / 2 + 1]) / 2
                printf "%.2f %.3f %.3f %.3f\n", off + t[k] / m, v[k, 1], med, v[k, m]
            }
        }' "$@"
}

# plot_band FILE PROGRAM RUNS: the band and the median line of one program.
plots=()
plot_band() {
    plots+=("'$1' using 1:2:4 with filledcurves fs transparent solid 0.12 noborder lc rgb '${colour[$2]}' notitle")
    plots+=("'$1' using 1:3 with linespoints pt 7 ps 0.6 lw 2 lc rgb '${colour[$2]}' title '${name[$2]} (median of $3 runs)'")
}

# render PNG TITLE XLABEL YLABEL [GNUPLOT LINE...]: draws what plots holds.
render() {
    local png=$1 title=$2 xlabel=$3 ylabel=$4
    shift 4
    ((${#plots[@]})) || { echo "plot: no samples in $out for $png" >&2; return 1; }
    {
        echo "set terminal pngcairo size 800,450 font 'Liberation Sans,10'"
        echo "set output '$png'"
        echo "set title '$title'"
        echo "set xlabel '$xlabel'"
        echo "set ylabel '$ylabel'"
        echo "set yrange [0:*]"
        echo "set grid"
        echo "set key below"
        printf '%s\n' "$@"
        printf 'plot '
        (IFS=,; echo "${plots[*]}")
    } | gnuplot || return 1
    plots=()
    echo "plot: wrote $png"
}

for p in "${programs[@]}"; do
    files=("$out/$p"-idle-*.dat)
    [[ -s ${files[0]} ]] || continue
    band 2 0 "${files[@]}" >"$out/$p-idle-cpu.band"
    plot_band "$out/$p-idle-cpu.band" "$p" ${#files[@]}
done
render "$2" "CPU of the idle dashboard: power on, readouts \"000\", the readouts timer running" \
    'seconds into the idle phase' 'CPU, % of one core (half-second samples)' || exit 1

# The phases one after the other, each starting where the longest run of
# the one before ended, the same for every program; a dashed line and a
# caption mark where each begins. A log scale: the yardsticks' 1 ms timer
# wakes them ten times as often as the program.
marks=() offset=0
declare -A start
for ph in "${phases[@]}"; do
    start[$ph]=$offset
    marks+=("set arrow from $offset, graph 0 to $offset, graph 1 nohead dt 2 lc rgb '#808080'"
        "set label '${caption[$ph]}' at $offset, graph 0.04 offset 0.5, 0")
    offset=$(awk -v off="$offset" '$1 > t { t = $1 } END { printf "%.2f", off + t }' "$out"/*-"$ph"-*.dat)
done
for p in "${programs[@]}"; do
    files=("$out/$p"-hidden-*.dat)
    [[ -s ${files[0]} ]] || continue
    for ph in "${phases[@]}"; do
        band 3 "${start[$ph]}" "$out/$p-$ph"-*.dat
    done >"$out/$p-wakeups.band"
    plot_band "$out/$p-wakeups.band" "$p" ${#files[@]}
done
render "$3" 'Wakeups a second: the dashboard idle, then the voice box shown, then hidden' \
    'seconds since the idle phase began' 'context switches a second, all threads (half-second samples)' \
    'set logscale y' 'set yrange [0.5:*]' "${marks[@]}" || exit 1
