#!/bin/bash
# The splash and the product ads as a person meets them. A first start shows the splash: black, then the title
# picture fading in at the centre while the corners stay black, then the driver screen. A new driver reaches the
# main menu; GAMES shows an ad with its picture, NEXT another; Alt+Enter on it and, after PREV, on the first
# keeps both pictures on the screen in the other mode; BACK the main menu again. A game whose title
# picture lacks a quarter shows no splash: its driver screen comes at once.
set -u

source "$(dirname "$(readlink -f "$0")")/lib/session.sh"
torvi_test_environment "$1"
# The player's own country comes from the locale: the country screen needs no choice.
export LANG=en_GB.UTF-8 LC_ALL=en_GB.UTF-8

torvi_on_virtual_screen 1280x1024 <<'INNER'
# A crop geometry for the part of the window given in percent: width, height, left, top.
part() {
    eval "$(xdotool getwindowgeometry --shell "$window")"
    echo "$(($1 * WIDTH / 100))x$(($2 * HEIGHT / 100))+$(($3 * WIDTH / 100))+$(($4 * HEIGHT / 100))"
}

# The brightness (0 to 255) of a part of the window, given in percent as for part.
brightness() {
    local mean
    mean=$(window_mean "$window" "$(part "$@")")
    [ -n "$mean" ] && echo "$mean" | awk '{ print int(($1 + $2 + $3) / 3) }'
}

# A click on the point (x, y) of the 640 x 480 virtual screen.
click_virtual() {
    eval "$(xdotool getwindowgeometry --shell "$window")"
    xdotool mousemove --window "$window" $(($1 * WIDTH / 640)) $(($2 * HEIGHT / 480)) click 1
    sleep 0.5
}

# The mean colour of the ads' picture area, the centre of the screen.
ad_picture() {
    window_mean "$window" "$(part 40 40 30 35)"
}

"$program" &
pid=$!
window=$(find_window) || fail "no window titled \"Torvi Torvi !!!\" (or the program ended first)"

# The splash: black at first, then the title brightening at the centre while the corners stay black.
first=$(brightness 100 100 0 0)
echo "first frame: $first"
centre_seen=() faded_in=""
for _ in $(seq 1 40); do
    centre=$(brightness 30 30 35 35)
    corner=$(brightness 15 15 0 0)
    [ -n "$centre" ] && [ -n "$corner" ] || continue
    centre_seen+=("$centre")
    if [ "$corner" -le 3 ] && [ "$centre" -ge 8 ] && [ -z "$faded_in" ]; then
        faded_in=$centre
        timeout 30 import -window "$window" "$XDG_DATA_HOME/splash.png" 2>/dev/null
    fi
    [ "$corner" -gt 3 ] && break
    sleep 0.1
done
echo "centre brightness while the splash ran: ${centre_seen[*]}"
[ "${first:-99}" -le 3 ] || fail "the first frame is not black ($first)"
[ -n "$faded_in" ] || fail "the title never showed at the centre of a black screen"
brightest=$(printf '%s\n' "${centre_seen[@]}" | sort -n | tail -n 1)
[ "$brightest" -gt "$faded_in" ] || fail "the title did not brighten after $faded_in (brightest $brightest)"
seen=$(wait_for_menus "$window") || fail "no driver screen after the splash: $seen"
echo "driver screen after the splash: $seen"

# A new driver, then the country the locale names, then the main menu.
click_virtual 540 447
xdotool type --delay 50 "anna"
xdotool key Return
sleep 0.5
xdotool key Return
sleep 0.5
click_virtual 571 449
kill -0 "$pid" 2>/dev/null || fail "the program ended on the way to the main menu"
menu=$(wait_for_menus "$window" 5) || fail "no main menu: $menu"

# GAMES: an ad with its picture on the plain screen; NEXT: another; BACK: the main menu.
click_virtual 320 446
first_ad=$(ad_picture)
echo "first ad's picture: $first_ad"
same_colour "$menu" "$(window_mean "$window" 25%x25%+0+0)" && fail "GAMES left the menus' picture on the screen"
grep -q "Could not load" "$log" && fail "an ad's picture did not load"
click_virtual 396 445
second_ad=$(ad_picture)
echo "second ad's picture: $second_ad"
same_colour "$first_ad" "$second_ad" && fail "NEXT showed the same picture ($second_ad)"

# Alt+Enter on the ad with one picture, then PREV and Alt+Enter on the one with two: each time the game goes on
# in the other mode with the same pictures.
for ad in one two; do
    before=$(ad_picture)
    torvi_toggle_mode || fail "the game ended after Alt+Enter on the ad with $ad picture(s)"
    after=$(torvi_wait_for_mean "$before" 20 ad_picture) || fail "the ad with $ad picture(s) lost them after Alt+Enter: $after, was $before"
    echo "ad with $ad picture(s) after Alt+Enter: $after"
    [ "$ad" = one ] && click_virtual 244 445
done
click_virtual 548 445
back=$(wait_for_menus "$window" 5) || fail "BACK did not return to the main menu: $back"

torvi_close_down 50
grep -q "Graphics not destroyed" "$log" && fail "the splash left graphics behind"

# The same game without the title picture's last quarter: the driver screen comes at once.
copy="$XDG_DATA_HOME/nosplash"
mkdir -p "$copy/Data"
cp "$program" "$copy/"
for entry in "$(dirname "$program")"/*; do
    [ "$(basename "$entry")" = Data ] || [ "$entry" = "$program" ] || ln -s "$entry" "$copy/"
done
for entry in "$(dirname "$program")"/Data/*; do
    [ "$(basename "$entry")" = 1943.dat ] || ln -s "$entry" "$copy/Data/"
done
rm -rf "$(dirname "$log")"
program="$copy/$(basename "$program")"
"$program" &
pid=$!
window=$(find_window) || fail "no window without the splash picture"
seen=$(wait_for_menus "$window" 3) || fail "the driver screen did not come at once without the splash: $seen"
grep -q "Tex 4 does not exist" "$log" || fail "the missing quarter was not reported"
torvi_close_down 50
echo "PASS"
INNER
