#!/bin/bash
# Makes the README's pictures (`make screenshots`): the built program in an
# X server of its own, driven like a user would. disclaimer.png is the
# disclaimer window as it first shows, with its window-manager frame;
# dashboard.png is the whole 1024x768 screen once the dashboard is powered
# on in AUTO with a few console lamps lit; zones.png is that screen with
# each click zone outlined where the window table puts it and labelled by
# what it does, from the zone table the build writes (zones.txt, with the
# zones' accessible names). All are stripped PNGs, so the same program
# gives the same files.
# Usage: tools/make-screenshots.sh build/velk-simulator docs
set -u
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tests/xsession.sh
source "$here/../tests/xsession.sh"

fail() { echo "make-screenshots: $*" >&2; exit 1; }
[[ $# -eq 2 && -x $1 ]] || fail "usage: $0 PATH/TO/velk-simulator OUTPUT_FOLDER"
exe=$(realpath "$1")
xs_zones="$(dirname "$exe")/zones.txt"
out=$2
mkdir -p "$out" || fail "cannot create $out"
trap xs_stop_x EXIT

# Power, AUTO, then one button of left rows 1, 3, 6 and right rows 2, 5, 8.
clicks=(Label1 Label4 Label12 Label16 Label22 Label43 Label37 Label32)
auto_indicator=35x12+443+418
last_lamp=15x13+921+729

# save SHOT NAME [CROP]: the screenshot, cropped, as OUTPUT_FOLDER/NAME.
save() {
    convert "$1" ${3:+-crop "$3" +repage} -strip "$out/$2" || fail "cannot write $out/$2"
    echo "wrote $out/$2 ($(identify -format '%wx%h' "$out/$2"), $(stat -c %s "$out/$2") bytes)"
}

# frame WID: the window with the frame the window manager put round it,
# as WIDTHxHEIGHT+X+Y on the screen. xwininfo, since xdotool counts the
# frame's offset twice for a framed window.
frame() {
    local x y w h left right top bottom
    read -r x y w h < <(xwininfo -id "$1" |
        awk -F: '/Absolute upper-left X|Absolute upper-left Y|  Width|  Height/ { printf "%d ", $2 }')
    IFS=', ' read -r left right top bottom < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //')
    echo "$((w + left + right))x$((h + top + bottom))+$((x - left))+$((y - top))"
}

# The disclaimer is posed once its light grey face is painted and its
# text's blinking caret is off: of a second's screenshots, the brightest.
disclaimer_shot() {
    local area=$1 best='' best_mean=-1 i mean
    for i in 0 1 2 3 4; do
        xs_shot "$xs_dir/disclaimer-$i.png" || return 1
        mean=$(convert "$xs_dir/disclaimer-$i.png" -crop "$area" +repage -format '%[fx:mean]' info:)
        if awk -v a="$mean" -v b="$best_mean" 'BEGIN { exit !(a > b) }'; then
            best=$xs_dir/disclaimer-$i.png best_mean=$mean
        fi
        sleep 0.25
    done
    echo "$best"
}

# Clicks reach the program in order: once the last lamp shows, all is done.
posed() {
    xs_shot "$1" &&
        xs_share_at_least "$1" "$auto_indicator" "$xs_yellow" 0.6 &&
        xs_share_at_least "$1" "$last_lamp" "$xs_red" 0.25
}
painted() { xs_shot "$1" && xs_share_at_least "$1" "$2" 'r>0.8 && g>0.8 && b>0.8' 0.5; }

# label NAME: where a zone's label goes (below, left or right of it, off
# the painted legends) and the label, from the zone's accessible name;
# nothing for the dashboard's labels that take no clicks (the readouts,
# the round button, and the strip below the pursuit picture, which lies
# outside its box's client area where no click reaches it). A lamp's two buttons are labelled on their outer
# sides, L1 to L8 and R1 to R8 from the top.
label() {
    case $1 in
        Power | Normal | Auto | Pursuit | Exit) echo "below $1" ;;
        'Voice box') echo 'left Voice' ;;
        'Voice box, left panel buttons') echo 'left Voice' ;;
        'Voice box, strip below the pursuit picture') ;;
        'Left console lamp '?', left button') echo "left L${1:18:1}" ;;
        'Left console lamp '?', right button') echo "right L${1:18:1}" ;;
        'Right console lamp '?', left button') echo "left R${1:19:1}" ;;
        'Right console lamp '?', right button') echo "right R${1:19:1}" ;;
    esac
}

# zones SHOT: SHOT with every click zone of the dashboard outlined on its
# own pixels and labelled beside it, as zones.png.
zones() {
    local form name kind x y w h _ what side text tw th lx ly right bottom
    local font=/usr/share/fonts/truetype/liberation/LiberationSansNarrow-Bold.ttf size=11
    local outlines=() labels=()
    # A zone may run past the window's edge (the exit zone does): its
    # outline stops at the last pixel shown, and no label runs off.
    read -r right bottom < <(identify -format '%[fx:w-1] %[fx:h-1]' "$1")
    clamp() { echo $(($1 < 0 ? 0 : $1 > $2 ? $2 : $1)); }
    while read -r form name kind x y w h _ what; do
        [[ $form == Form1 && $kind == label ]] || continue
        read -r side text < <(label "$what")
        [[ -n $text ]] || continue
        outlines+=(-draw "rectangle $x,$y $(clamp $((x + w - 1)) "$right"),$(clamp $((y + h - 1)) "$bottom")")
        read -r tw th < <(convert -font "$font" -pointsize "$size" label:"$text" -format '%w %h' info: </dev/null)
        case $side in
            below) lx=$((x + (w - tw) / 2)) ly=$((y + h + 1)) ;;
            left) lx=$((x - tw - 1)) ly=$((y + (h - th) / 2)) ;;
            right) lx=$((x + w + 1)) ly=$((y + (h - th) / 2)) ;;
        esac
        labels+=(-annotate "+$(clamp "$lx" $((right + 1 - tw)))+$ly" "$text")
    done <"$xs_zones"
    ((${#outlines[@]})) || fail "no named zones in $xs_zones"
    convert "$1" +antialias -fill none -stroke '#00e5ff' -strokewidth 1 "${outlines[@]}" \
        -antialias -stroke none -fill white -undercolor '#000000b0' -font "$font" -pointsize "$size" \
        -gravity NorthWest "${labels[@]}" -strip "$out/zones.png" || fail "cannot write $out/zones.png"
    echo "wrote $out/zones.png ($((${#outlines[@]} / 2)) zones, $(stat -c %s "$out/zones.png") bytes)"
}

xs_start_x 1024x768 || fail "no X server"
xs_app_start "$exe" /
wid=$(xs_wait_window 'VELK-Simulator Version 1') || fail "no disclaimer"
area=$(frame "$wid")
xs_poll 10 painted "$xs_dir/screen.png" "$area" || fail "the disclaimer was never painted"
save "$(disclaimer_shot "$area")" disclaimer.png "$area"

xs_click_zone "$wid" Form2 Command1  # I Agree
wid=$(xs_wait_window Form1) || fail "no dashboard"
for c in "${clicks[@]}"; do
    xs_click_zone "$wid" Form1 "$c"
done
xs_poll 10 posed "$xs_dir/screen.png" || fail "the dashboard never showed AUTO and the lamps"
save "$xs_dir/screen.png" dashboard.png
zones "$xs_dir/screen.png"
xs_click_zone "$wid" Form1 Label2  # the exit zone
xs_app_wait_exit 10 || fail "the program did not end"
