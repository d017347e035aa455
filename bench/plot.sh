#!/bin/bash
# The bench's plot: CPU over time of the idle dashboard (power on, readouts
# "000", the 1 ms timer running), the program against both yardsticks: at
# each half-second sample the median of the runs, with the band from the
# lowest to the highest run, from OUT/NAME-idle-RUN.dat (seconds, % of a
# core). Usage: bench/plot.sh OUT PNG
set -u
export LC_ALL=C
[[ $# -eq 2 && -d $1 ]] || { echo "usage: $0 OUT PNG" >&2; exit 2; }
out=$1 png=$2
declare -A colour=([program]='#c00000' [yardstick]='#0050c0' [content]='#30a030')
declare -A name=([program]='VELK-Simulator' [yardstick]='yardstick' [content]='yardstick, same content')
plots=()
for p in program yardstick content; do
    files=("$out/$p"-idle-*.dat)
    [[ -s ${files[0]} ]] || continue
    # Sample k of every run: mean time, lowest, median, highest CPU.
    awk '{ k = FNR; t[k] += $1; n[k]++; v[k, n[k]] = $2 }
        END {
            for (k = 1; k in n; k++) {
                m = n[k]
                for (i = 2; i <= m; i++) for (j = i; j > 1 && v[k, j - 1] > v[k, j]; j--) { x = v[k, j]; v[k, j] = v[k, j - 1]; v[k, j - 1] = x }
                med = m % 2 ? v[k, (m + 1) / 2] : (v[k, m / 2] + v[k, m / 2 + 1]) / 2
                printf "%.2f %.3f %.3f %.3f\n", t[k] / m, v[k, 1], med, v[k, m]
            }
        }' "${files[@]}" >"$out/$p-idle.band"
    plots+=("'$out/$p-idle.band' using 1:2:4 with filledcurves fs transparent solid 0.12 noborder lc rgb '${colour[$p]}' notitle")
    plots+=("'$out/$p-idle.band' using 1:3 with linespoints pt 7 ps 0.6 lw 2 lc rgb '${colour[$p]}' title '${name[$p]} (median of ${#files[@]} runs)'")
done
((${#plots[@]})) || { echo "plot: no idle samples in $out" >&2; exit 1; }
{
    echo "set terminal pngcairo size 800,450 font 'Liberation Sans,10'"
    echo "set output '$png'"
    echo "set title 'CPU of the idle dashboard: power on, readouts \"000\", 1 ms timer running'"
    echo "set xlabel 'seconds into the idle phase'"
    echo "set ylabel 'CPU, % of one core (half-second samples)'"
    echo "set yrange [0:*]"
    echo "set grid"
    echo "set key top right"
    printf 'plot '
    (IFS=,; echo "${plots[*]}")
} | gnuplot || exit 1
echo "plot: wrote $png"
