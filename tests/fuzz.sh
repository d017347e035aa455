#!/bin/bash
# `make fuzz`: the long run of what `make test` does briefly. Mutated GIFs
# (from our own seeds) are replayed through the voice box's decoder, all of
# them natively and one in fifty under valgrind memcheck; then, when clang
# is installed, libFuzzer explores the same decoder from those seeds.
# Figures go to BUILD_DIR/fuzz-figures.txt; a finding stops the run.
#
# Usage: tests/fuzz.sh BUILD_DIR
# Environment: FUZZ_MUTANTS (200000), FUZZ_SECONDS (600, libFuzzer), JOBS.
set -u -o pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
[[ $# -eq 1 && -d $1 ]] || { echo "usage: $0 BUILD_DIR" >&2; exit 2; }
build=$(realpath "$1")
mutants=${FUZZ_MUTANTS:-200000} seconds=${FUZZ_SECONDS:-600}
figures=$build/fuzz-figures.txt
replay=("$build/tests/gifreplay" --voicebox "$root/resources/velk voicebox.gif" --quiet)

"${replay[@]}" --count "$mutants" | tee "$figures" || exit 1
valgrind --tool=memcheck --error-exitcode=99 --leak-check=full --errors-for-leak-kinds=definite \
    --show-leak-kinds=definite --quiet "${replay[@]}" --count $((mutants / 50)) --stride 50 |
    sed 's/^/memcheck: /' | tee -a "$figures" || exit 1

if ! command -v clang++ >/dev/null; then
    echo "no clang++: libFuzzer skipped" | tee -a "$figures"
    exit 0
fi
fuzz=$root/build-fuzz
cmake -S "$root/tests/fuzz" -B "$fuzz" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null &&
    cmake --build "$fuzz" -j "${JOBS:-2}" || exit 1
mkdir -p "$fuzz/corpus" "$fuzz/seeds"
"${replay[@]}" --count 0 --write-seeds "$fuzz/seeds" >/dev/null || exit 1
"$fuzz/fuzz_gifdecode" -max_total_time="$seconds" -print_final_stats=1 -rss_limit_mb=1024 \
    -artifact_prefix="$fuzz/" "$fuzz/corpus" "$fuzz/seeds" >"$fuzz/fuzz.log" 2>&1
status=$?
grep -E '^(stat::|Done|==[0-9]+==|SUMMARY|artifact)' "$fuzz/fuzz.log" | sed 's/^/libFuzzer: /' | tee -a "$figures"
echo "figures in $figures"
exit $status
