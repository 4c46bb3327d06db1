#!/bin/bash
# Starts the game on a virtual X server with an empty preferences folder, moves the pointer into its window
# and takes screenshots of the window: the texture cursor (an arrow, its tip at the top-left) must be drawn
# with its tip at the pointer, and nothing else near the pointer may differ from the window with the pointer
# elsewhere. The same
# must hold after Alt+Enter switches to full screen (a new window), after the pointer moves there, after
# Alt+Enter switches back, after the window is resized under a pointer that stays put, and after the
# pointer moves again.
set -u

source "$(dirname "$(readlink -f "$0")")/lib/session.sh"
torvi_test_environment "$1"

torvi_windowed_settings "$torvi_folder"

torvi_on_virtual_screen 1280x1024 "$torvi_test_home" <<'INNER'
work=$1

magick_convert=$(torvi_find_convert) || fail "ImageMagick's convert is missing"

# Ends one look (a subshell) with what was wrong.
miss() {
    echo "$*"
    exit 1
}

# Sets px and py: the pointer relative to the window's client area.
pointer_in_window() {
    local geometry mouse wx wy mx my
    geometry=$(xdotool getwindowgeometry --shell "$window") || miss "no geometry for window $window"
    wx=$(echo "$geometry" | sed -n 's/^X=//p')
    wy=$(echo "$geometry" | sed -n 's/^Y=//p')
    mouse=$(xdotool getmouselocation --shell)
    mx=$(echo "$mouse" | sed -n 's/^X=//p')
    my=$(echo "$mouse" | sed -n 's/^Y=//p')
    px=$((mx - wx))
    py=$((my - wy))
}

# Moves the pointer to a place given relative to the window.
move_in_window() {
    xdotool mousemove --window "$window" "$1" "$2"
}

# One look at the cursor as drawn, then at the window with the pointer parked far away as the reference (the
# screen stays as it is, only the cursor moves): the box of every pixel near the pointer that differs from it,
# and the arrow's shape inside that box. Run in a subshell ($(...)), where a miss ends only this look.
look_at_cursor() {
    local label=$1 shot="$work/$1.png" reference="$work/$1-reference.png" geometry ww wh far_x far_y
    local cx cy box bw bh bx by tip top_right white
    pointer_in_window
    geometry=$(xdotool getwindowgeometry --shell "$window") || miss "no geometry for window $window"
    ww=$(echo "$geometry" | sed -n 's/^WIDTH=//p')
    wh=$(echo "$geometry" | sed -n 's/^HEIGHT=//p')
    far_x=$((px < ww / 2 ? ww - 30 : 10))
    far_y=$((py < wh / 2 ? wh - 40 : 10))
    torvi_import "$window" "$shot" || miss "$label: no screenshot of window $window"
    move_in_window "$far_x" "$far_y"
    sleep 0.4
    torvi_import "$window" "$reference" || miss "$label: no reference of window $window"
    move_in_window "$px" "$py"
    cx=$((px > 20 ? px - 20 : 0))
    cy=$((py > 20 ? py - 20 : 0))
    "$magick_convert" "$reference" "$shot" -compose difference -composite -colorspace gray -threshold 8% \
        "$work/$label-difference.png"
    box=$("$magick_convert" "$work/$label-difference.png" -crop "100x120+$cx+$cy" +repage -format "%@" info:)
    echo "$label: pointer at $px,$py; drawn near it: $box"
    [[ "$box" =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] || miss "$label: no cursor is drawn at the pointer"
    bw=${BASH_REMATCH[1]} bh=${BASH_REMATCH[2]} bx=$((BASH_REMATCH[3] + cx)) by=$((BASH_REMATCH[4] + cy))
    [ "$bx" -ge $((px - 1)) ] && [ "$bx" -le $((px + 3)) ] && [ "$by" -ge $((py - 1)) ] && [ "$by" -le $((py + 3)) ] ||
        miss "$label: the drawing starts at $bx,$by, not at the pointer $px,$py"
    [ "$bw" -ge 6 ] && [ "$bw" -le 40 ] && [ "$bh" -ge 12 ] && [ "$bh" -le 60 ] ||
        miss "$label: $box is not the size of a cursor (something else is drawn, or the arrow is misplaced)"
    # An arrow with its tip at the top-left: the box's top-left corner is drawn, its top-right is not.
    tip=$("$magick_convert" "$work/$label-difference.png" -crop "3x3+$bx+$by" +repage -format "%[fx:maxima]" info:)
    top_right=$("$magick_convert" "$work/$label-difference.png" -crop "3x3+$((bx + bw - 3))+$by" +repage \
        -format "%[fx:maxima]" info:)
    [ "$tip" = "1" ] || miss "$label: the top-left of the cursor is not drawn"
    [ "$top_right" = "0" ] || miss "$label: the top-right of the cursor is drawn: not an arrow"
    white=$("$magick_convert" "$shot" -crop "${bw}x${bh}+$bx+$by" +repage -colorspace gray -threshold 80% \
        -format "%[fx:round(mean*w*h)]" info:)
    echo "$label: $white white pixels"
    [ "$white" -ge 10 ] || miss "$label: no white arrow"
}

# The cursor must be right after a redraw; the test looks again until its patience runs out.
check_cursor() {
    local seen="" deadline=$((SECONDS + torvi_patience))
    while [ "$SECONDS" -lt "$deadline" ]; do
        seen=$(look_at_cursor "$1") && { echo "$seen"; return 0; }
        sleep 0.3
    done
    fail "$seen"
}

# Full screen and back each make a new window.
toggle_screen_mode() {
    local old=$window
    timeout 10 xdotool windowfocus --sync "$window" 2>/dev/null
    xdotool key alt+Return
    window=$(find_window "$old") || fail "no new single window after Alt+Enter"
}

"$program" &
pid=$!
window=$(find_window) || fail "no window titled \"Torvi Torvi !!!\""

xdotool mousemove --window "$window" 300 200
check_cursor windowed

toggle_screen_mode
check_cursor full-screen
xdotool mousemove --window "$window" 500 400
check_cursor full-screen-moved

toggle_screen_mode
xdotool mousemove --window "$window" 120 90
check_cursor windowed-again

xdotool windowsize "$window" 800 600
check_cursor resized
xdotool mousemove --window "$window" 410 330
check_cursor resized-moved

torvi_close_down 300
echo "PASS"
INNER
