#!/bin/sh
# The last word of `make test` and `make test-asan`: how many of the suites
# the build defines ran and passed, read from the report ctest wrote
# (ctest --output-junit suites.xml, in BUILD). Fails, naming them, when any
# did not run or did not pass, but for those a build declares skipped
# (label declared-skip: configured without their platform), so that a
# suite can neither vanish nor skip unseen.
# Usage: tests/suites.sh BUILD
set -eu
cd "$1"
[ -f suites.xml ] || { echo "make: no $1/suites.xml: the suites did not run" >&2; exit 1; }
total() { ctest -N "$@" | sed -n 's/^Total Tests: //p'; }
defined=$(total) declared=$(total -L declared-skip)
passed=$(grep -c 'status="run"' suites.xml || true)
missing=$((defined - declared - passed))
skipped=""
[ "$declared" = 0 ] || skipped=" ($declared skipped as configured)"
if [ "$missing" -le 0 ]; then
    echo "make: $passed of $defined suites ran and passed$skipped"
    exit 0
fi
echo "make: only $passed of $defined suites ran and passed$skipped; not passed:" >&2
sed -n 's/.*<testcase name="\([^"]*\)".*status="\(fail\|notrun\)".*/    \1 (\2)/p' suites.xml >&2
exit 1
