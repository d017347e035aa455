#!/bin/bash
# The corpus of hostile voice-box files: everything a user might put, or
# find, in the place of "velk voicebox.gif". Made here, nothing downloaded:
# GIFs no encoder would write come from the hostilegif tool (giffixtures.h),
# the rest from coreutils.
#
#   hostile-corpus.sh list               one line per case: NAME EXPECT WHEN [SAYS]
#   hostile-corpus.sh make NAME DIR      puts case NAME in DIR as the voice box
#   hostile-corpus.sh change NAME DIR    for a *-while-shown case: the change
#   hostile-corpus.sh clean DIR          removes what make put in DIR
#   hostile-corpus.sh all OUT            every case in OUT/NAME/, to look at
#
# EXPECT is what the clip box shows once the voice box is chosen: "picture"
# (something not black), "black" (no picture: a note saying why, on
# black), or "any" (either is right). WHEN is
# "load" or "shown": whether the file is hostile from the start or changes
# under the running program while the voice box is shown. SAYS, the rest of
# the line when there is one, is the reason the program gives for the file.
# Environment: HOSTILE_GIF, the hostilegif tool; VOICE_BOX, a good voice box.
set -eu

name="velk voicebox.gif"
bound=$((16 * 1024 * 1024))  # FrameDecoder::MaxFileBytes

# NAME EXPECT WHEN [SAYS]  (a case's line in the list)
cases() {
    local readable='black load permission denied'
    [[ $(id -u) == 0 ]] && readable='picture load'  # root reads a mode-000 file
    cat <<EOF
voice-box picture load
missing black load no such file
empty black load
text black load not a GIF picture
html black load
random-1MiB black load
random-64MiB black load
zeros-1MiB black load
executable black load
png black load
jpeg black load
bmp black load
header-only black load
cut-in-first-frame black load a broken GIF picture, nothing of it shown
truncated-half picture load
no-trailer picture load
bit-rot any load
bad-code-size black load
no-colour-table black load
lzw-noise any load
canvas-65535 picture load
screen-65535-small-frame picture load
frames-2000-distinct picture load
frames-20000-tiny picture load
core-burner picture load
interlaced-tall picture load
frame-past-screen picture load
zero-size-frames black load
zero-delay picture load
tiny-delay picture load
fastest-allowed picture load
endless-extension picture load
sparse-1GiB black load
just-under-bound picture load
just-over-bound black load larger than 16 MB
folder black load is a directory
fifo black load not a regular file
dev-zero black load
dev-urandom black load
dev-null black load
dangling-link black load
loop-link black load too many levels of symbolic links
self-link black load
link-to-folder black load is a directory
proc-pagemap black load
link-to-voice-box picture load
unreadable $readable
replaced-while-shown picture shown
truncated-while-shown picture shown
grown-while-shown picture shown
removed-while-shown picture shown
swapped-for-fifo-while-shown picture shown
EOF
}

need() {
    [[ -n ${!1:-} ]] || { echo "hostile-corpus: set $1" >&2; exit 2; }
}

clean() {
    local dir=$1
    if [[ -f "$dir/$name" && ! -L "$dir/$name" ]]; then
        chmod u+rw "$dir/$name" || true
    fi
    rm -rf "${dir:?}/$name" "$dir"/hostile-*
}

# padded SIZE FILE: the voice box, then zeros after its trailer, SIZE bytes in all.
padded() {
    cp "$VOICE_BOX" "$2"
    truncate -s "$1" "$2"
}

make_case() {
    local case=$1 dir=$2 f="$2/$name" size
    need VOICE_BOX
    clean "$dir"
    size=$(stat -c %s "$VOICE_BOX")
    case $case in
        voice-box | *-while-shown) cp "$VOICE_BOX" "$f" ;;
        missing) ;;
        empty) : >"$f" ;;
        text) printf 'This is not a picture.\n' >"$f" ;;
        html) printf '<html><body><img src="x.gif"><script>for(;;){}</script></body></html>\n' >"$f" ;;
        random-1MiB) head -c 1M /dev/urandom >"$f" ;;
        random-64MiB) head -c 64M /dev/urandom >"$f" ;;
        zeros-1MiB) head -c 1M /dev/zero >"$f" ;;
        executable) cp "$(type -P true)" "$f" ;;
        png | jpeg | bmp | bad-code-size | no-colour-table | lzw-noise | canvas-65535 | \
            screen-65535-small-frame | frames-2000-distinct | frames-20000-tiny | core-burner | \
            interlaced-tall | frame-past-screen | zero-size-frames | zero-delay | tiny-delay | \
            fastest-allowed | endless-extension)
            need HOSTILE_GIF
            "$HOSTILE_GIF" "$case" "$f" ;;
        header-only) head -c 13 "$VOICE_BOX" >"$f" ;;
        cut-in-first-frame) head -c 100 "$VOICE_BOX" >"$f" ;;  # in its first image data
        truncated-half) head -c $((size / 2)) "$VOICE_BOX" >"$f" ;;
        no-trailer) head -c $((size - 1)) "$VOICE_BOX" >"$f" ;;
        bit-rot)  # every 97th byte after the header inverted
            perl -0777 -pe 'for (my $i = 96; $i < length; $i += 97) {
                substr($_, $i, 1) = chr(255 - ord(substr($_, $i, 1))) if $i >= 13 }' "$VOICE_BOX" >"$f" ;;
        sparse-1GiB) head -c 13 "$VOICE_BOX" >"$f" && truncate -s 1G "$f" ;;
        just-under-bound) padded "$bound" "$f" ;;
        just-over-bound) padded $((bound + 1)) "$f" ;;
        folder) mkdir "$f" ;;
        fifo) mkfifo "$f" ;;
        dev-zero) ln -s /dev/zero "$f" ;;
        dev-urandom) ln -s /dev/urandom "$f" ;;
        dev-null) ln -s /dev/null "$f" ;;
        dangling-link) ln -s "hostile-nowhere" "$f" ;;
        loop-link) ln -s "hostile-other" "$f" && ln -s "$name" "$dir/hostile-other" ;;
        self-link) ln -s "$name" "$f" ;;
        link-to-folder) ln -s / "$f" ;;
        proc-pagemap) ln -s /proc/self/pagemap "$f" ;;
        link-to-voice-box) cp "$VOICE_BOX" "$dir/hostile-real.gif" && ln -s "hostile-real.gif" "$f" ;;
        unreadable) cp "$VOICE_BOX" "$f" && chmod 000 "$f" ;;
        *) echo "hostile-corpus: no case $case" >&2; exit 2 ;;
    esac
}

change_case() {
    local case=$1 dir=$2 f="$2/$name"
    case $case in
        replaced-while-shown)  # a new file renamed over the old, as editors save
            printf 'GIF89a, but nothing more\n' >"$dir/hostile-new" && mv -f "$dir/hostile-new" "$f" ;;
        truncated-while-shown) truncate -s 0 "$f" ;;
        grown-while-shown) head -c 64M /dev/zero >>"$f" ;;
        removed-while-shown) rm -f "$f" ;;
        swapped-for-fifo-while-shown) rm -f "$f" && mkfifo "$f" ;;
        *) echo "hostile-corpus: $case does not change" >&2; exit 2 ;;
    esac
}

case ${1:-} in
    list) cases ;;
    make) make_case "$2" "$3" ;;
    change) change_case "$2" "$3" ;;
    clean) clean "$2" ;;
    all)
        while read -r case _; do
            mkdir -p "$2/$case"
            make_case "$case" "$2/$case"
        done < <(cases)
        ;;
    *) sed -n '2,20s/^# \{0,1\}//p' "$0" >&2; exit 2 ;;
esac
