#!/bin/bash
# The bench's plot: CPU over time of the idle dashboard (power on, readouts
# "000", the 1 ms timer running), every run of the program against every
# run of both yardsticks, from OUT/*-idle-*.dat (seconds, % of a core).
# Usage: bench/plot.sh OUT PNG
set -u
[[ $# -eq 2 && -d $1 ]] || { echo "usage: $0 OUT PNG" >&2; exit 2; }
out=$1 png=$2
plots=()
declare -A colour=([program]='#c00000' [yardstick]='#0050c0' [content]='#30a030')
declare -A name=([program]='VELK-Simulator' [yardstick]='yardstick' [content]='yardstick, same content')
for p in program yardstick content; do
    first=1
    for f in "$out/$p"-idle-*.dat; do
        [[ -s $f ]] || continue
        if ((first)); then t="title '${name[$p]}'"; first=0; else t='notitle'; fi
        plots+=("'$f' using 1:2 with linespoints pt 7 ps 0.5 lw 1.5 lc rgb '${colour[$p]}' $t")
    done
done
((${#plots[@]})) || { echo "plot: no idle samples in $out" >&2; exit 1; }
{
    echo "set terminal pngcairo size 800,450 font 'Liberation Sans,10'"
    echo "set output '$png'"
    echo "set title 'CPU of the idle dashboard, power on, 1 ms timer running (each line one run)'"
    echo "set xlabel 'seconds into the idle phase'"
    echo "set ylabel 'CPU, % of one core (half-second samples)'"
    echo "set yrange [0:*]"
    echo "set grid"
    echo "set key top right"
    printf 'plot '
    (IFS=,; echo "${plots[*]}")
} | gnuplot || exit 1
echo "plot: wrote $png"
