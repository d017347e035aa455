#!/bin/sh
# Builds the Debian package the way Debian builds its own: the program
# alone, in a build folder of its own, with the compiler and linker flags
# dpkg-buildflags gives (every hardening feature on), then CPack. The .deb
# is left in BUILD_DIR. Used by `make package` and by the package test, so
# the test checks the very binary that ships.
# Usage: packaging/make-deb.sh SOURCE_DIR BUILD_DIR
set -eu
[ $# -eq 2 ] || { echo "usage: $0 SOURCE_DIR BUILD_DIR" >&2; exit 2; }
source=$(cd "$1" && pwd)
mkdir -p "$2"
build=$(cd "$2" && pwd)

# Run from the source folder: dpkg-buildflags maps it to "." in debug paths.
cd "$source"
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
flags() { dpkg-buildflags --get "$1"; }
cmake=${CMAKE:-cmake}
# CMake ignores CPPFLAGS, which carry _FORTIFY_SOURCE, so they go in with
# the compiler flags. Build type None adds none of CMake's own flags.
"$cmake" -S "$source" -B "$build" -DCMAKE_BUILD_TYPE=None -DVELK_PROGRAM_ONLY=ON \
    -DCMAKE_C_FLAGS="$(flags CPPFLAGS) $(flags CFLAGS)" \
    -DCMAKE_CXX_FLAGS="$(flags CPPFLAGS) $(flags CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(flags LDFLAGS)" \
    -DCMAKE_SHARED_LINKER_FLAGS="$(flags LDFLAGS)"
# An older version's .deb would be mistaken for this one's.
rm -f "$build"/*.deb
"$cmake" --build "$build" -j "${JOBS:-$(nproc)}" --target package
