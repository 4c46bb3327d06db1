#!/bin/bash
# The first start as a person meets it, without TORVI_NONINTERACTIVE, on a virtual X server with no network:
# the start-up settings dialog (no title, the game's logo in its picture, waiting without spinning a core),
# PLAY, then the internet test's message boxes answered with the keyboard: OK to the notices, Yes to
# "Try Again ?" once, then No, which must end the question. Every dialog and box must leave the X server once
# closed, and the game window then opens; Alt+F4 ends the game with exit code 0. A second start asked for
# with "CONFIGURATION" shows the dialog again, which must leave the screen while the game runs.
set -u

source "$(dirname "$(readlink -f "$0")")/lib/session.sh"
torvi_test_environment "$1"
unset TORVI_NONINTERACTIVE

torvi_on_virtual_screen 1280x1024 <<'INNER'
unset TORVI_NONINTERACTIVE

# The ids of the visible top-level windows of the given size, one a line.
windows_of_size() {
    xwininfo -root -tree | awk -v size="$1" '$0 ~ " " size "\\+" { print $1 }'
}

# Waits for a visible window whose whole name is the given one and prints its id.
wait_for_box() {
    local found="" deadline=$((SECONDS + torvi_patience))
    while [ "$SECONDS" -lt "$deadline" ]; do
        found=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)
        [ -n "$found" ] && { echo "$found"; return 0; }
        kill -0 "$pid" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}

# True once the window has left the X server.
window_goes() {
    local deadline=$((SECONDS + torvi_patience))
    while [ "$SECONDS" -lt "$deadline" ]; do
        xwininfo -id "$1" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    return 1
}

# Answers the box of that name with a key, as a person would, and checks that the box goes away.
answer_box() {
    local box
    box=$(wait_for_box "$1") || fail "no box \"$1\" (or the program ended first)"
    xdotool windowfocus --sync "$box" 2>/dev/null
    sleep 0.2
    xdotool key "$2"
    window_goes "$box" || fail "the box \"$1\" stayed on the X server after $2"
    echo "answered \"$1\" with $2"
}

# The program's processor time so far, in clock ticks.
cpu_ticks() {
    awk '{ print $14 + $15 }' "/proc/$pid/stat"
}

"$program" &
pid=$!

dialog=""
find_dialog() {
    dialog=$(windows_of_size 460x465 | head -n 1)
    [ -n "$dialog" ]
}
torvi_wait_for "start-up settings dialog (460 x 465)" find_dialog
[ -z "$(xdotool getwindowname "$dialog")" ] || fail "the dialog has the title \"$(xdotool getwindowname "$dialog")\""

# The picture control at (230, 372) shows the red badge of the logo, not the arrow of the cursor.
pixel=""
logo_red() {
    local red green
    pixel=$(import -window "$dialog" -crop 1x1+238+392 -depth 8 txt:- 2>/dev/null | grep -o '#[0-9A-Fa-f]\{6\}' | head -n 1)
    [ -n "$pixel" ] || return 1
    red=$((16#${pixel:1:2})) green=$((16#${pixel:3:2}))
    [ "$red" -ge 150 ] && [ "$green" -le 110 ]
}
torvi_wait_for "logo's red in the dialog's picture" logo_red
echo "dialog picture pixel: $pixel"

# Waiting for a person takes next to no processor time.
ticks_before=$(cpu_ticks)
sleep 2
used=$(( $(cpu_ticks) - ticks_before ))
hz=$(getconf CLK_TCK)
echo "dialog waiting: $used ticks of $((2 * hz)) in two seconds"
[ "$used" -le "$hz" ] || fail "the dialog used $used of $((2 * hz)) ticks while waiting: a busy loop"

xdotool mousemove --window "$dialog" 230 437 click 1
window_goes "$dialog" || fail "the dialog stayed on the X server after PLAY"

answer_box "Internet Test" Return
answer_box "Internet Test" Return
answer_box "Internet Test Failed" Return
answer_box "Internet Test" Return
answer_box "Internet Test Failed" Return
answer_box "Internet Test" Escape

window=$(find_window) || fail "no game window after the internet test was declined"
[ -z "$(windows_of_size 460x465)" ] || fail "a window of the dialog's size is still there"
[ -z "$(xdotool search --name '^Internet Test' 2>/dev/null)" ] || fail "an internet-test box is still there"
sleep 1
kill -0 "$pid" 2>/dev/null || fail "the game ended on its own"

close_game() {
    xdotool windowfocus --sync "$1" 2>/dev/null
    xdotool key alt+F4
    program_ends_within 50 || fail "still running after Alt+F4"
    wait "$pid"
    local code=$?
    pid=""
    [ "$code" -eq 0 ] || fail "exit code $code after Alt+F4"
}
close_game "$window"

# Asked for on the command line, the dialog shows again; the test already has its answer, so nothing else
# runs the toolkit after PLAY, and the dialog must still leave the screen while the game runs.
"$program" CONFIGURATION &
pid=$!
torvi_wait_for "start-up settings dialog with CONFIGURATION" find_dialog
torvi_wait_for "dialog drawn with CONFIGURATION" logo_red
xdotool mousemove --window "$dialog" 230 437 click 1
window=$(find_window) || fail "no game window after PLAY"
window_goes "$dialog" || fail "the dialog stays on the X server while the game runs"
close_game "$window"
echo "PASS"
INNER
