#!/bin/bash
# No test code in what ships: the Linux program, the .exe and the page's
# WebAssembly carry no symbol of the tests' hooks, which live in the test
# targets alone.
# Usage: tests/shipped-symbols.sh velk-simulator WINDOWS_BUILD WEB_BUILD
set -u
hooks='testing::|FormProbe|FaultInjection|TestProgram|startAfresh|startQtAfresh|resetRegistry|decodedPictures|animationOf|runHandler'
failed=0
fail() { echo "not ok - $1"; failed=1; }
# check NAME SYMBOL_LISTING: the listing must be there and name no hook.
check() {
    local name=$1 listing=$2
    if [[ -z $listing ]]; then
        fail "$name: no symbols to read (is it built, and not stripped?)"
    elif hits=$(grep -E "$hooks" <<<"$listing"); then
        fail "$name: test code in it: $(head -3 <<<"$hits" | tr '\n' ' ')"
    else
        echo "ok - $name: $(wc -l <<<"$listing") symbols, none of the tests'"
    fi
}
[[ $# -eq 3 ]] || { echo "usage: $0 velk-simulator WINDOWS_BUILD WEB_BUILD" >&2; exit 2; }
# The Linux program keeps its symbols. The .exe is stripped and the page
# keeps no names, so for them it is the libraries they are linked from,
# each read by its own toolchain's nm: no test code in them at all.
windows=("$2"/runtime/core/libformscore.a "$2"/runtime/win32/libformswin32.a "$2"/forms/libvelkwindows.a)
web=("$3"/runtime/core/libformscore.a "$3"/runtime/web/libformsweb.a "$3"/forms/libvelkwindows.a)
for file in "$1" "${windows[@]}" "${web[@]}"; do
    [[ -f $file ]] || fail "$file is missing: make test builds all three (make build, make windows, make web)"
done
((failed)) && exit 1
check "the Linux program" "$(nm -C "$1" 2>&1)"
check "the .exe's libraries" "$(x86_64-w64-mingw32-nm -C "${windows[@]}" 2>&1)"
check "the page's libraries" "$(emnm -C "${web[@]}" 2>&1)"
exit $failed
