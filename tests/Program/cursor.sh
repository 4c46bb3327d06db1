#!/bin/bash
# Starts the game on a virtual X server with an empty preferences folder, moves the pointer into its window
# and takes screenshots of the window: the texture cursor (an arrow, its tip at the top-left) must be drawn
# with its tip at the pointer over the cleared frame, and nothing else above the first screen's buttons may
# differ from that frame. The same
# must hold after Alt+Enter switches to full screen (a new window), after the pointer moves there, after
# Alt+Enter switches back, after the window is resized under a pointer that stays put, and after the
# pointer moves again.
set -u

here=$(dirname "$(readlink -f "$0")")
source "$here/lib/session.sh"
program=$(readlink -f "$1")
torvi_test_environment

torvi_windowed_settings "$torvi_test_home/Ostrelmark/Torvi Torvi"

xvfb-run -a -s "-screen 0 1280x1024x24" bash -s "$program" "$torvi_test_home" "$here/lib/session.sh" <<'INNER'
set -u
program=$1
work=$2
source "$3"

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

# One look at the cursor as drawn: the box of every pixel that differs from the cleared frame, and the
# arrow's shape inside it. Run in a subshell ($(...)), where a miss ends only this look.
look_at_cursor() {
    local label=$1 shot="$work/$1.png" corner box bw bh bx by tip top_right white dark
    pointer_in_window
    timeout 30 import -window "$window" "$shot" 2>/dev/null || miss "$label: no screenshot of window $window"
    corner=$("$magick_convert" "$shot" -format "%[hex:p{2,2}]" info:)
    echo "$corner" | grep -qi '^33664[cd]' || miss "$label: the frame is #$corner, not the cleared #33664C"
    # The first screen's buttons stand in the bottom tenth; the pointers are above it.
    box=$("$magick_convert" "$shot" -crop 100%x85%+0+0 +repage -fuzz 10% -format "%@" info:)
    echo "$label: pointer at $px,$py; drawn over the frame: $box"
    [[ "$box" =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] || miss "$label: nothing is drawn over the frame"
    bw=${BASH_REMATCH[1]} bh=${BASH_REMATCH[2]} bx=${BASH_REMATCH[3]} by=${BASH_REMATCH[4]}
    [ "$bx" -ge $((px - 1)) ] && [ "$bx" -le $((px + 3)) ] && [ "$by" -ge $((py - 1)) ] && [ "$by" -le $((py + 3)) ] ||
        miss "$label: the drawing starts at $bx,$by, not at the pointer $px,$py"
    [ "$bw" -ge 6 ] && [ "$bw" -le 40 ] && [ "$bh" -ge 12 ] && [ "$bh" -le 60 ] ||
        miss "$label: $box is not the size of a cursor (something else is drawn, or the arrow is misplaced)"
    # An arrow with its tip at the top-left: the box's top-left corner is drawn, its top-right is not.
    tip=$("$magick_convert" "$shot" -format "%[hex:p{$bx,$by}]" info:)
    top_right=$("$magick_convert" "$shot" -format "%[hex:p{$((bx + bw - 1)),$by}]" info:)
    echo "$tip" | grep -qi '^33664[cd]' && miss "$label: the top-left of the cursor is not drawn"
    echo "$top_right" | grep -qi '^33664[cd]' || miss "$label: the top-right of the cursor is drawn: not an arrow"
    # White inside, black around.
    white=$("$magick_convert" "$shot" -crop "$box" +repage -colorspace gray -threshold 80% \
        -format "%[fx:round(mean*w*h)]" info:)
    dark=$("$magick_convert" "$shot" -crop "$box" +repage -colorspace gray -negate -threshold 80% \
        -format "%[fx:round(mean*w*h)]" info:)
    echo "$label: $white white and $dark dark pixels"
    [ "$white" -ge 10 ] && [ "$dark" -ge 8 ] || miss "$label: no white arrow with a dark outline"
}

# The cursor must be right after a redraw; a slow machine gets several looks before the test gives up.
check_cursor() {
    local seen=""
    for _ in $(seq 1 10); do
        sleep 0.6
        seen=$(look_at_cursor "$1") && { echo "$seen"; return 0; }
    done
    fail "$seen"
}

# Full screen and back each make a new window.
toggle_screen_mode() {
    local old=$window
    timeout 10 xdotool windowfocus --sync "$window" 2>/dev/null
    xdotool key alt+Return
    window=$(find_window "$old") || fail "no new single window after Alt+Enter"
    sleep 2
}

"$program" &
pid=$!
window=$(find_window) || fail "no window titled \"Torvi Torvi !!!\""
sleep 2

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
sleep 1
check_cursor resized
xdotool mousemove --window "$window" 410 330
check_cursor resized-moved

torvi_close_down 300
echo "PASS"
INNER
