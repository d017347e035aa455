#!/bin/bash
# CPU figures for the voice box: the built program in its own X server
# (tests/xsession.sh), powered on, first with the normal picture shown and
# then with the voice box, for CPU_SECONDS each; once with the shipped voice
# box and once with each of the corpus's heaviest animations in its place.
# Prints one line per file: the program's and the X server's share of one
# core in both phases, and the program's peak memory. Run by `make soak`;
# reports, asserts nothing.
# Usage: tests/voicebox-cpu.sh PATH/TO/velk-simulator   (HOSTILE_GIF set)
set -u

here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tests/xsession.sh
source "$here/xsession.sh"

[[ $# -eq 1 && -x $1 ]] || { echo "usage: $0 PATH/TO/velk-simulator" >&2; exit 2; }
exe=$(realpath "$1")
xs_zones="$(dirname "$exe")/zones.txt"
voice_box="$(dirname "$exe")/velk voicebox.gif"
seconds=${CPU_SECONDS:-20}
work=$(mktemp -d -t velk-cpu.XXXXXX) || exit 2
trap 'xs_stop_x; rm -rf "$work"' EXIT
tick=$(getconf CLK_TCK)

# cpu_ticks PID: user and system time so far, in clock ticks.
cpu_ticks() {
    local stat
    stat=$(cat "/proc/$1/stat") || return 1
    stat=${stat##*) }
    awk '{ print $12 + $13 }' <<<"$stat"
}

# share PID SECONDS: the share of one core PID uses over the next SECONDS.
share() {
    local before after
    before=$(cpu_ticks "$1") || return 1
    sleep "$2"
    after=$(cpu_ticks "$1") || return 1
    awk -v d=$((after - before)) -v t="$tick" -v s="$2" 'BEGIN { printf "%.1f%%", 100 * d / t / s }'
}

xs_start_x 1024x768 || { echo "voicebox-cpu: no X server" >&2; exit 1; }
echo "# CPU with the dashboard powered on, ${seconds} s per phase: program (X server), normal picture then voice box"
for kind in voice-box zero-delay fastest-allowed frames-2000-distinct core-burner canvas-65535; do
    dir="$work/$kind"
    mkdir -p "$dir" && cp "$exe" "$dir/" || exit 1
    VOICE_BOX=$voice_box bash "$here/hostile-corpus.sh" make "$kind" "$dir" || exit 1
    xs_app_start "$dir/${exe##*/}" "$dir"
    wid=$(xs_wait_window 'VELK-Simulator Version 1') || { echo "$kind: no disclaimer"; xs_app_kill; continue; }
    xs_click_zone "$wid" Form2 Command1  # I Agree
    wid=$(xs_wait_window Form1) || { echo "$kind: no dashboard"; xs_app_kill; continue; }
    xs_click_zone "$wid" Form1 Label1  # power
    sleep 2
    normal=$(share "$xs_app_pid" "$seconds") normal_x=$(share "$xs_xvfb_pid" 1)
    xs_click_zone "$wid" Form1 Label9  # the voice box
    sleep 2
    xs_before=$(cpu_ticks "$xs_xvfb_pid")
    shown=$(share "$xs_app_pid" "$seconds")
    shown_x=$(awk -v d=$(($(cpu_ticks "$xs_xvfb_pid") - xs_before)) -v t="$tick" -v s="$seconds" \
        'BEGIN { printf "%.1f%%", 100 * d / t / s }')
    printf '%-22s normal %6s (X %s)   voice box %6s (X %s)   peak %s KiB\n' \
        "$kind:" "$normal" "$normal_x" "$shown" "$shown_x" "$(xs_app_peak_kb)"
    xs_app_kill
done
