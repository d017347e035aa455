#!/bin/sh
# Fetches and unpacks one Debian source package, at an exact version, from
# the system's own Debian mirror, without touching the system's apt setup:
# apt is pointed at a private list of sources and a private state folder
# under WORKDIR. Used by the Windows build for libraries it compiles with
# the cross compiler (cmake/DebianGiflib.cmake).
# Usage: tools/debian-source.sh PACKAGE VERSION WORKDIR   (prints the tree)
set -eu
[ $# -eq 3 ] || { echo "usage: $0 PACKAGE VERSION WORKDIR" >&2; exit 2; }
package=$1 version=$2 work=$3
tree="$work/$package-$version"
if [ -f "$tree/.unpacked" ]; then echo "$tree"; exit 0; fi

. /etc/os-release
suite=${VERSION_CODENAME:?no Debian codename in /etc/os-release}
# The mirror the system installs its packages from: the first that serves
# the release's own suite, in either format apt reads.
mirror=$(for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] && cat "$f" && echo
done | awk -v suite="$suite" '
    /^[ \t]*deb[ \t]/ {
        sub(/\[[^]]*\]/, ""); if ($3 == suite) { print $2; exit }
    }
    /^Types:/ { types = $0 }
    /^URIs:/ { uri = $2 }
    /^Suites:/ { suites = " " $0 " " }
    /^[ \t]*$/ {
        if (types ~ /deb/ && index(suites, " " suite " ") && uri != "") { print uri; exit }
        types = ""; uri = ""; suites = ""
    }')
[ -n "$mirror" ] || { echo "debian-source: no Debian mirror for $suite in /etc/apt" >&2; exit 1; }

apt="$work/apt"
mkdir -p "$apt/sources.list.d" "$apt/lists/partial" "$apt/cache/archives/partial"
echo "deb-src $mirror $suite main" >"$apt/sources.list.d/debian-src.list"
set -- -o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$apt/sources.list.d" \
    -o Dir::State::Lists="$apt/lists" -o Dir::Cache="$apt/cache" -o APT::Sandbox::User=root -q
apt-get "$@" update >&2
rm -rf "$tree" "$work/download"
mkdir -p "$work/download"
(cd "$work/download" && apt-get "$@" source --download-only "$package=$version" >&2)
dpkg-source -x "$work/download/${package}_${version#*:}.dsc" "$tree" >&2
touch "$tree/.unpacked"
echo "$tree"
