#!/bin/sh
# Installs the Debian packages that a command needs, and only those that
# are missing, so a second run is quick and quiet. With no argument, what
# building and running the program needs (`make run`); each group named
# adds what more a command needs:
#   package  the .deb (`make package`)
#   test     the tests (`make test`, with "package" for the package test)
#   fuzz     libFuzzer (`make fuzz`)
#   bench    the benchmarks and profiles (`make bench`, with "test")
#   web      the browser build and its tour (`make web`, `make test-web`)
# Usage: tools/install-deps.sh [GROUP...]
set -eu
# The dashboard's Arial and MS Sans Serif want Liberation Sans's metrics;
# qt6-qpa-plugins brings the VNC screen the README offers for servers.
packages="cmake g++ make qt6-base-dev qt6-qpa-plugins libgif-dev fonts-liberation"
for group in "$@"; do
    case "$group" in
        # dpkg-buildflags and dpkg-shlibdeps; CPack finds executables with file.
        package) add="dpkg-dev file" ;;
        # X server, window manager and pointer for the end-to-end and package
        # tests, and screenshots; windres and its preprocessor for the Windows
        # icon resource; validators of what the package installs; Qt's
        # private headers for the accessibility suite; memcheck; libjpeg for
        # the picture generator; Xlib for the tour's hostile X client; a
        # platform plugin that cannot start there (Wayland, with no
        # compositor) for the tour's start-up errors.
        test) add="xvfb xauth openbox xdotool wmctrl x11-utils imagemagick
binutils-mingw-w64-x86-64 cpp lintian desktop-file-utils appstream
qt6-base-private-dev valgrind libjpeg-dev libx11-dev qt6-wayland" ;;
        # llvm-defaults' names, which follow Debian's default clang.
        fuzz) add="clang libclang-rt-dev" ;;
        bench) add="gnuplot-nox heaptrack linux-perf" ;;
        # the cross compiler for the Windows build and Wine to run it
        windows) add="g++-mingw-w64-x86-64-posix wine64 wine" ;;
        # the WebAssembly compiler; the browsers of the tour: Chromium,
        # driven over its DevTools socket, Firefox over its WebDriver BiDi
        # socket and WebKitGTK's MiniBrowser through its WebDriver; a
        # static server for the tour
        web) add="emscripten chromium firefox-esr webkit2gtk-driver python3-websocket python3 xvfb xauth xdotool
imagemagick" ;;
        *) echo "install-deps: unknown group $group" >&2; exit 2 ;;
    esac
    packages="$packages $add"
done
missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
# shellcheck disable=SC2086  # one word a package
set -- $missing
echo "install-deps: installing $# Debian packages and what they need, with apt-get (a few minutes):$missing"
if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
# apt's and dpkg's hundreds of lines go to a log, shown only when they fail.
log=$(mktemp -t velk-install-deps.XXXXXX)
# Another install may hold dpkg's lock for a while; wait for it rather than fail.
if $sudo apt-get -o DPkg::Lock::Timeout=600 update -q >"$log" 2>&1 &&
    $sudo apt-get -o DPkg::Lock::Timeout=600 install -y -q --no-install-recommends "$@" >>"$log" 2>&1; then
    rm -f "$log"
else
    tail -n 30 "$log" >&2
    echo "install-deps: apt-get failed; its whole output is in $log" >&2
    exit 1
fi
