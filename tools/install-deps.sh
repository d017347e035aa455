#!/bin/sh
# Installs the Debian packages that building, running and testing need,
# and only those that are missing, so a second run is quick and quiet.
# With "bench" it also installs what the benchmarks and profiles use.
set -eu
packages="cmake g++ make qt6-base-dev qt6-qpa-plugins libgif-dev fonts-liberation
xvfb xauth xdotool openbox wmctrl imagemagick x11-utils binutils-mingw-w64-x86-64 cpp
desktop-file-utils appstream dpkg-dev file fakeroot qt6-base-private-dev
valgrind clang libclang-rt-14-dev"
for group in "$@"; do
    case "$group" in
        bench) packages="$packages gnuplot-nox heaptrack linux-perf" ;;
        windows) packages="$packages g++-mingw-w64-x86-64-posix wine64 wine" ;;
        *) echo "install-deps: unknown group $group" >&2; exit 2 ;;
    esac
done
missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
echo "Installing:$missing"
if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
# Another install may hold dpkg's lock for a while; wait for it rather than fail.
$sudo apt-get -o DPkg::Lock::Timeout=600 update -q
# shellcheck disable=SC2086
$sudo apt-get -o DPkg::Lock::Timeout=600 install -y -q --no-install-recommends $missing
