#!/bin/sh
# Installs the Debian packages that building, running and testing need,
# and only those that are missing, so a second run is quick and quiet.
set -eu
packages="cmake g++ make qt6-base-dev qt6-qpa-plugins libgif-dev fonts-liberation
xvfb xauth xdotool openbox wmctrl imagemagick x11-utils binutils-mingw-w64-x86-64 cpp"
missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
echo "Installing:$missing"
if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
# shellcheck disable=SC2086
$sudo apt-get install -y -q --no-install-recommends $missing
