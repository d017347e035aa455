#!/bin/bash
# `make soak`: the click storm of tst_soak for SOAK_SECONDS (an hour by
# default) instead of its short count, then the voice box's CPU use with
# the shipped file and hostile ones (tests/voicebox-cpu.sh). Figures go to
# BUILD_DIR/soak-figures.txt.
#
# Usage: tests/soak.sh BUILD_DIR
set -u -o pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
[[ $# -eq 1 && -d $1 ]] || { echo "usage: $0 BUILD_DIR" >&2; exit 2; }
build=$(realpath "$1")
seconds=${SOAK_SECONDS:-3600}
figures=$build/soak-figures.txt

(cd "$build/tests" && SOAK_SECONDS=$seconds SOAK_CLICKS=1000000000 SOAK_FIGURES="$figures" \
    QTEST_FUNCTION_TIMEOUT=$(((seconds + 600) * 1000)) \
    QT_QPA_PLATFORM="offscreen:configfile=$root/tests/offscreen-1024x768.json" ./tst_soak) || exit 1
HOSTILE_GIF="$build/tests/hostilegif" bash "$root/tests/voicebox-cpu.sh" "$build/velk-simulator" 2>/dev/null |
    tee -a "$figures" || exit 1
echo "figures in $figures"
