#!/bin/bash
# The first start as a person meets it, without TORVI_NONINTERACTIVE, on a virtual X server with no network:
# the start-up settings dialog (no title, the game's logo in its picture, waiting without spinning a core),
# Escape in an open drop-down list closes the list and leaves the dialog open (twice, so the second opening
# shows that the dialog still answers), PLAY, then the internet test's message boxes answered with the keyboard: OK to the notices, Yes to
# "Try Again ?" once, then No, which must end the question. Every dialog and box must leave the X server once
# closed, and the game window then opens. With no browser opener and the maker's site out of reach, a new
# driver's HOME PAGE and the ads' Download each leave the game running with a message. Alt+F4 ends the game
# with exit code 0. A second start asked for with "CONFIGURATION" shows the dialog again, which must leave the
# screen while the game runs.
set -u

source "$(dirname "$(readlink -f "$0")")/lib/session.sh"
torvi_test_environment "$1"
unset TORVI_NONINTERACTIVE
# The player's own country comes from the locale: the country screen needs no choice.
export LANG=en_GB.UTF-8 LC_ALL=en_GB.UTF-8

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

# Waits up to 20 seconds for the game's own message box (a popup in its window) to stand over the centre of
# the screen shot as "$shots/<before>.png"; shoots it as "$shots/<label>.png".
wait_for_popup() {
    local deadline=$((SECONDS + 20))
    while [ "$SECONDS" -lt "$deadline" ]; do
        kill -0 "$pid" 2>/dev/null || return 1
        torvi_shot "$2"
        [ "$(torvi_changed_pixels "$1" "$2" 220 200 200 60)" -gt 2000 ] && return 0
        sleep 0.3
    done
    return 1
}

# The program's processor time so far, in clock ticks.
cpu_ticks() {
    awk '{ print $14 + $15 }' "/proc/$pid/stat"
}

# No browser opener on the path and the maker's site out of reach.
mkdir -p "$XDG_DATA_HOME/no-opener"
shots="$XDG_DATA_HOME/interactive-shots"
magick_convert=$(torvi_find_convert) || fail "ImageMagick's convert is missing"
PATH="$XDG_DATA_HOME/no-opener" TORVI_WEB_BASE=http://127.0.0.1:1 "$program" &
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

# The mapped windows of the program other than the dialog: an open list's popup is one.
popups() {
    xwininfo -root -tree | awk -v d="$(printf '0x%x' "$dialog")" '$1 ~ /^0x/ && $1 != d && / [0-9]+x[0-9]+\+/ { print $1 }' |
        while read -r id; do
            xwininfo -id "$id" 2>/dev/null | grep -q "Map State: IsViewable" && echo "$id"
        done
}
before=$(popups | sort)
for round in 1 2; do
    xdotool mousemove --window "$dialog" 140 225 click 1
    popup=""
    for _ in $(seq 1 100); do
        popup=$(comm -13 <(echo "$before") <(popups | sort) | head -n 1)
        [ -n "$popup" ] && break
        kill -0 "$pid" 2>/dev/null || fail "the program ended after Escape in the open list (round $round)"
        sleep 0.1
    done
    [ -n "$popup" ] || fail "the sound list did not open (round $round)"
    xdotool key Escape
    closed=""
    for _ in $(seq 1 50); do
        xwininfo -id "$popup" 2>/dev/null | grep -q "Map State: IsViewable" || { closed=yes; break; }
        sleep 0.1
    done
    [ -n "$closed" ] || fail "Escape left the list open (round $round)"
    echo "round $round: Escape closed the open list"
done
xwininfo -id "$dialog" >/dev/null 2>&1 || fail "the dialog went with the list"

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
kill -0 "$pid" 2>/dev/null || fail "the game ended on its own"

# A new driver reaches the main menu. HOME PAGE cannot open a page and the ads' Download cannot reach the
# site: each leaves the game running and says so in a message, which Enter closes.
wait_for_menus "$window" >/dev/null || fail "no driver screen"
torvi_click 540 447
torvi_type "anna"
torvi_key Return
torvi_key Return
torvi_click 571 449
wait_for_menus "$window" 5 >/dev/null || fail "no main menu"
torvi_shot menu
torvi_click 67 388
torvi_wait_for_log "Web page <" || fail "HOME PAGE ended the game or said nothing"
grep -q "No xdg-open found on PATH" "$log" || fail "the missing opener is not named in the log"
wait_for_popup menu home-page || fail "no message on the screen after HOME PAGE"
xdotool key Return
torvi_click 320 446
torvi_shot ads
torvi_click 91 445
torvi_wait_for_log "Installer download not started: " 30 || fail "Download ended the game or said nothing"
wait_for_popup ads download || fail "no message on the screen after Download"
xdotool key Return
kill -0 "$pid" 2>/dev/null || fail "the game ended after the messages"

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
