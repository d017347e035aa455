#!/bin/bash
# The Debian package as a user's machine gets it: built as `make package`
# builds it (packaging/make-deb.sh, with Debian's hardening flags) in
# BUILD_DIR/deb, held to lintian, its control fields, unpacked with
# dpkg-deb into a scratch root, the desktop entry and AppStream metadata
# validated there, the icons and the voice box compared with resources/,
# the user's guide found where the manual page sends the reader, the
# Windows zip's texts checked when there is a Windows build beside this
# one, and the installed program started through its bin/ link under Xvfb. The voice box it then shows
# must be the installed file's: that file is swapped for a green and blue
# GIF that no other voice box could be mistaken for. Those screenshots are
# kept in $SCREENSHOT_DIR when it is set.
# Usage: tests/package.sh BUILD_DIR RESOURCES_DIR   (run by ctest as "package")
set -u

here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tests/xsession.sh
source "$here/xsession.sh"

[[ $# -eq 2 && -f $1/CPackConfig.cmake && -d $2 ]] ||
    { echo "usage: $0 BUILD_DIR RESOURCES_DIR" >&2; exit 2; }
build=$(realpath "$1")
resources=$(realpath "$2")
work=$(mktemp -d -t velk-package.XXXXXX) || exit 2
trap 'xs_stop_x; rm -rf "$work"' EXIT
trap 'exit 130' INT TERM
root=$work/root
voice_box="velk voicebox.gif"
app_dir=usr/lib/velk-simulator

# --- the package and what it holds ---

# The build folder is kept from run to run, so only a change rebuilds.
make_deb() {
    sh "$here/../packaging/make-deb.sh" "$here/.." "$build/deb" >"$work/make-deb.log" 2>&1 ||
        { comment "$(tail -n 30 "$work/make-deb.log")"; return 1; }
    deb=$(echo "$build"/deb/*.deb)
    [[ -f $deb ]]
}

# Not a word from lintian, informational and pedantic tags included: the
# hardening tags are only informational. What it may say on purpose is
# overridden, with the reason, in packaging/lintian-overrides. It warns
# that it runs as root, as CI does; that is no finding.
lintian_silent() {
    local said status
    said=$(lintian --display-info --pedantic "$deb" 2>&1)
    status=$?
    said=$(grep -v '^running with root privileges' <<<"$said")
    [[ -n $said ]] && comment "$said"
    [[ $status == 0 && -z $said ]]
}

# field NAME: a control field of the package.
field() { dpkg-deb -f "$deb" "$1"; }

# Depends lists what dpkg-shlibdeps found the executable linking: Qt
# Widgets, Gui (which brings the X11 and picture plugins) and Core, and
# the C and C++ libraries, each with a lowest version.
depends_worked_out() {
    local depends package
    depends=$(field Depends)
    echo "# Depends: $depends"
    for package in libqt6widgets6 libqt6gui6 libqt6core6 libstdc++6 libc6; do
        [[ $depends == *"$package (>= "* ]] || { echo "# no $package"; return 1; }
    done
}

# The executable and its voice box together, and nothing else, in the
# private folder; bin/ holds only a relative link to the executable.
laid_out() {
    local target
    local found
    found=$(find "$root/$app_dir" -mindepth 1 -printf '%f\n' | LC_ALL=C sort)
    [[ $found == "$(printf '%s\n' "$voice_box" velk-simulator)" ]] ||
        { echo "# in $app_dir: ${found//$'\n'/, }"; return 1; }
    [[ -x $root/$app_dir/velk-simulator && ! -L $root/$app_dir/velk-simulator ]] || return 1
    [[ $(find "$root/usr/bin" -mindepth 1 -printf '%f\n') == velk-simulator ]] || return 1
    target=$(readlink "$root/usr/bin/velk-simulator") || { echo "# usr/bin/velk-simulator is no link"; return 1; }
    [[ $target == ../lib/velk-simulator/velk-simulator ]] || { echo "# link to $target"; return 1; }
}

same_file() { cmp "$1" "$2"; }

# comment TEXT: TEXT indented as a TAP comment, line by line.
# shellcheck disable=SC2001
comment() { sed 's/^/#   /' <<<"$1"; }

# One icon per size, each resources/' enlargement of the program icon,
# and resources/' scalable one.
icons_installed() {
    local size file
    for size in 32 64 128 256; do
        file=$root/usr/share/icons/hicolor/${size}x${size}/apps/$icon.png
        cmp "$file" "$resources/appicon-$size.png" || return 1
        [[ $(identify -format '%wx%h' "$file") == "${size}x${size}" ]] || return 1
    done
    cmp "$root/usr/share/icons/hicolor/scalable/apps/$icon.svg" "$resources/appicon.svg" || return 1
    [[ $(find "$root/usr/share/icons" -type f | wc -l) == 5 ]]
}

# quiet COMMAND...: prints what COMMAND says, and fails if it says anything.
quiet() {
    local said status
    said=$("$@" 2>&1)
    status=$?
    [[ -n $said ]] && comment "$said"
    [[ $status == 0 && -z $said ]]
}

# AppStream accepts the installed tree (the metadata, and the desktop
# entry it launches) with no warning or error. What it may still say: that
# the id's ".example" is no top-level domain it knows, that the id is
# capitalised, as desktop ids usually are, and, before AppStream 1.0, that
# it does not know the developer tag.
metainfo_valid() {
    local said status
    said=$(appstreamcli validate-tree --no-net --pedantic "$root" 2>&1)
    status=$?
    comment "$said"
    ((status == 0)) && ! grep -E '^ *[EW]:' <<<"$said" >/dev/null &&
        ! grep -E '^ *[IP]:' <<<"$said" | grep -vE 'cid-maybe-not-rdns|cid-contains-uppercase-letter|unknown-tag developer$' >/dev/null
}

desktop_key() { sed -n "s/^$1=//p" "$desktop"; }

# The entry starts what the package installs, by the icon it installs; the
# metadata names that entry; the command has its manual page.
entry_consistent() {
    [[ $(desktop_key Exec) == velk-simulator && -L $root/usr/bin/velk-simulator ]] &&
        [[ $(desktop_key Icon) == "$icon" ]] &&
        grep -q "<launchable type=\"desktop-id\">${desktop##*/}</launchable>" "$metainfo" &&
        grep -q "<binary>velk-simulator</binary>" "$metainfo" &&
        zcat "$root/usr/share/man/man1/velk-simulator.1.gz" | grep -q '^velk-simulator \\- '
}

# A new version needs its release written up: in the metadata, newest
# first, and at the top of the changelog.
release_noted() {
    local version
    version=$(field Version)
    grep -m1 '<release ' "$metainfo" | grep -q "version=\"$version\"" ||
        { echo "# no release $version at the top of the metadata"; return 1; }
    zcat "$root/usr/share/doc/velk-simulator/changelog.gz" | head -n1 | grep -q "^velk-simulator ($version) " ||
        { echo "# no entry for $version at the top of the changelog"; return 1; }
}

# The manual page sends the reader to the read-me, which is installed
# there, and the pictures it shows beside it.
guide_installed() {
    local doc=/usr/share/doc/velk-simulator picture
    zcat "$root/usr/share/man/man1/velk-simulator.1.gz" | grep -q "$doc/README.md.gz" &&
        cmp <(zcat "$root$doc/README.md.gz") "$here/../README.md" &&
        for picture in $(grep -o 'docs/[a-z]*\.png' "$here/../README.md"); do
            cmp "$root$doc/$picture" "$here/../$picture" || return 1
        done
}

# The Windows zip holds the program, its voice box, and the read-me and
# the licence as Windows texts: LICENSE.txt is LICENSE with CRLF line ends.
windows_zip_complete() {
    local folder found
    (cd "$work" && cmake -E tar xf "$1") || return 1
    folder=$work/$(basename "$1" .zip)
    found=$(find "$folder" -mindepth 1 -printf '%f\n' | LC_ALL=C sort)
    [[ $found == "$(printf '%s\n' LICENSE.txt README-Windows.txt "$voice_box" velk-simulator.exe)" ]] ||
        { echo "# in the zip: ${found//$'\n'/, }"; return 1; }
    cmp "$folder/LICENSE.txt" <(sed 's/$/\r/' "$here/../LICENSE")
}

# --- the installed program ---

# Where to click in the disclaimer and the dashboard, and the part of the
# central display the voice box shows (its clip box inside the border),
# from the windows' own tables.
xs_zones=$build/zones.txt
declare -A at=([agree]='Form2 Command1' [power]='Form1 Label1' [voice_box]='Form1 Label9' [exit]='Form1 Label2')
IFS='x+' read -r w h x y <<<"$(xs_zone_box Form1 Picture1)" || exit 2
clip="$((w - 2))x$((h - 2))+$((x + 1))+$((y + 1))"
green='g>0.8 && r<0.2 && b<0.2'
blue='b>0.8 && r<0.2 && g<0.2'

# A GIF of the clip's size that flips between pure green and pure blue.
make_test_gif() {
    convert -size 167x191 -delay 20 xc:'#00ff00' xc:'#0000ff' -loop 0 "$1"
}

click() {  # WINDOW ZONE
    local form control
    read -r form control <<<"${at[$2]}"
    xs_click_zone "$1" "$form" "$control"
}

shows() { xs_shot "$1" && xs_share_at_least "$1" "$clip" "$2" 0.9; }

# Started from an empty folder through the link, so that only the folder
# the link resolves to can hold the voice box it shows.
run_installed() {
    local wid empty=$work/elsewhere
    mkdir -p "$empty"
    xs_app_start "$root/usr/bin/velk-simulator" "$empty"
    wid=$(xs_wait_window 'VELK-Simulator Version 1') || { comment "$(<"$xs_dir/app.log")"; return 1; }
    click "$wid" agree
    wid=$(xs_wait_window Form1) || return 1
    click "$wid" power
    # The power zone has acted once the readouts are lit.
    xs_poll 10 shot_readouts "$work/on.png" || return 1
    click "$wid" voice_box
    dashboard=$wid
}
shot_readouts() { xs_shot "$1" && xs_share_at_least "$1" 105x57+209+297 "$xs_red" 0.04; }

exits() {
    click "$dashboard" exit
    xs_app_wait_exit 10 && [[ $xs_app_status == 0 ]]
}

# tally: how the checks went, as the script's status. finish stops early,
# when a failed step would leave nothing for the later ones to look at.
tally() {
    echo "$passed passed, $failed failed"
    ((failed == 0))
}
finish() {
    tally
    exit 1
}

start_seconds=$SECONDS
check "make-deb.sh builds the .deb with Debian's build flags" make_deb || finish
echo "# $(basename "$deb"): $(stat -c %s "$deb") bytes"
check "lintian has nothing to say of it, hardening included" lintian_silent
check "dpkg-shlibdeps worked out the library dependencies" depends_worked_out
check "dpkg-deb unpacks it" dpkg-deb -x "$deb" "$root" || finish
check "executable and voice box in /$app_dir, a relative link in /usr/bin" laid_out
check "the packaged voice box is resources/' byte for byte" \
    same_file "$root/$app_dir/$voice_box" "$resources/$voice_box"
desktop=$(echo "$root"/usr/share/applications/*.desktop)
metainfo=$(echo "$root"/usr/share/metainfo/*.metainfo.xml)
icon=$(basename "$desktop" .desktop)
check "desktop entry is clean under desktop-file-validate" quiet desktop-file-validate "$desktop"
check "metainfo is clean under appstreamcli validate-tree --no-net" metainfo_valid
check "entry, metadata, icon, link and manual page agree" entry_consistent
check "metadata and changelog describe this version's release" release_noted
check "hicolor icons of 32 to 256 px and the scalable one are resources/'" icons_installed
check "the README and its pictures are in /usr/share/doc, named by the manual page" guide_installed
zip=$(echo "${VELK_WINDOWS_BUILD:-$here/../build-windows}"/velk-simulator-*-windows-x64.zip)
if [[ -f $zip ]]; then
    check "the Windows zip holds the program, its voice box, README-Windows.txt and a CRLF LICENSE.txt" \
        windows_zip_complete "$zip"
else
    echo "# no Windows build, so no Windows zip to check"
fi

check "a green and blue test GIF replaces the installed voice box" \
    make_test_gif "$root/$app_dir/$voice_box" || finish
check "X server with a window manager starts" xs_start_x 1024x768 || finish
check "the program, started through /usr/bin's link, agrees and powers on" run_installed || finish
check "the voice box shows the installed file's green" xs_poll 10 shows "$work/green.png" "$green"
check "and animates to its blue" xs_poll 10 shows "$work/blue.png" "$blue"
if [[ -n ${SCREENSHOT_DIR-} ]] && mkdir -p "$SCREENSHOT_DIR"; then
    cp "$work"/green.png "$SCREENSHOT_DIR/package-green.png" 2>/dev/null
    cp "$work"/blue.png "$SCREENSHOT_DIR/package-blue.png" 2>/dev/null
fi
check "exit zone ends the program with status 0" exits
echo "# $((SECONDS - start_seconds)) s"
tally
