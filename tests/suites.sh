#!/bin/sh
# The last word of `make test` and `make test-asan`: how many of the suites
# the build defines ran and passed, read from the report ctest wrote
# (ctest --output-junit suites.xml, in BUILD). Fails, naming them, when any
# did not run or did not pass, but for those the build declares skipped
# (label declared-skip: configured without their platform), so that no
# suite can vanish or skip unseen.
# Usage: tests/suites.sh BUILD
set -eu
cd "$1"
[ -f suites.xml ] || { echo "make: no $1/suites.xml: the suites did not run" >&2; exit 1; }
names() { ctest -N "$@" | sed -n 's/^ *Test *#[0-9]*: //p'; }
names >suites.defined
names -L declared-skip >suites.declared
sed -n 's/.*<testcase name="\([^"]*\)".*status="run".*/\1/p' suites.xml >suites.passed
defined=$(wc -l <suites.defined) declared=$(wc -l <suites.declared) passed=$(wc -l <suites.passed)
skipped=""
[ "$declared" = 0 ] || skipped=" ($declared skipped as configured: $(tr '\n' ' ' <suites.declared | sed 's/ $//'))"
missing=$(cat suites.passed suites.declared | grep -Fxv -f - suites.defined || true)
rm -f suites.defined suites.declared suites.passed
if [ -z "$missing" ]; then
    echo "make: $passed of $defined suites ran and passed$skipped"
    exit 0
fi
echo "make: only $passed of $defined suites ran and passed$skipped; not:" >&2
echo "$missing" | sed 's/^/    /' >&2
exit 1
