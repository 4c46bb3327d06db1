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
shots="$(mktemp -d)/splash_ads-shots"
# A crop geometry for the part of the window given in percent: width, height, left, top.
part() {
    local WIDTH HEIGHT
    eval "$(xdotool getwindowgeometry --shell "$window" | grep -E '^(WIDTH|HEIGHT)=')"
    echo "$(($1 * WIDTH / 100))x$(($2 * HEIGHT / 100))+$(($3 * WIDTH / 100))+$(($4 * HEIGHT / 100))"
}

# The mean colour of the ads' picture area, the centre of the screen.
ad_picture() {
    window_mean "$window" "$(part 40 40 30 35)"
}

# Measured before the start: the first looks must come quickly.
menus=$(menus_picture_mean)
"$program" &
pid=$!
window=$(find_window) || fail "no window titled \"Torvi Torvi !!!\" (or the program ended first)"

# The mean colour "r g b" of a part of the last look, given in percent as for part. A look is an uncompressed
# screenshot: the splash passes by, and a loaded machine must still catch it.
look_mean() {
    convert "$XDG_DATA_HOME/quick-shots/look.ppm" -crop "$(part "$@")" +repage -scale 1x1\! \
        -format "%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]" info: 2>/dev/null
}

# One look: the title at the centre of a black screen. The splash passes by: a look costs one screenshot and
# one measure of both parts, so that a loaded machine still catches it.
centre_part=$(part 30 30 35 35)
corner_part=$(part 15 15 0 0)
splash_showing() {
    local levels
    torvi_quick_shot look
    levels=$(convert "$XDG_DATA_HOME/quick-shots/look.ppm" \( -clone 0 -crop "$centre_part" +repage -scale 1x1\! \) \
        \( -clone 0 -crop "$corner_part" +repage -scale 1x1\! \) -delete 0 -format "%[fx:int(255*(r+g+b)/3)] " info:)
    set -- $levels
    echo "look at ${SECONDS} s: centre ${1:-?}, corner ${2:-?}"
    [ $# -eq 2 ] && [ "$2" -le 3 ] && [ "$1" -ge 8 ]
}

# The splash: the title at the centre of a black screen (how it fades is tested on a driven clock), seen
# before the menus come; a screenshot of it is kept.
splash_seen() {
    splash_showing && return 0
    same_colour "$menus" "$(look_mean 25 25 0 0)" || return 1
    mkdir -p "$shots"
    convert "$XDG_DATA_HOME/quick-shots/look.ppm" "$shots/driver-screen.png"
    fail "the driver screen came before any look found the splash"
}
torvi_wait_for "the title at the centre of a black screen" splash_seen
convert "$XDG_DATA_HOME/quick-shots/look.ppm" "$shots/splash.png"
seen=$(wait_for_menus "$window") || fail "no driver screen after the splash: $seen"
echo "driver screen after the splash: $seen"

# A new driver, then the country the locale names, then the main menu.
torvi_click 540 447
torvi_type "anna"
torvi_key Return
torvi_key Return
torvi_click 571 449
kill -0 "$pid" 2>/dev/null || fail "the program ended on the way to the main menu"
menu=$(wait_for_menus "$window") || fail "no main menu: $menu"

# GAMES: an ad with its picture on the plain screen; NEXT: another; BACK: the main menu.
torvi_click 320 446
first_ad=$(ad_picture)
echo "first ad's picture: $first_ad"
same_colour "$menu" "$(window_mean "$window" 25%x25%+0+0)" && fail "GAMES left the menus' picture on the screen"
grep -q "Could not load" "$log" && fail "an ad's picture did not load"
torvi_click 396 445
second_ad=$(ad_picture)
echo "second ad's picture: $second_ad"
same_colour "$first_ad" "$second_ad" && fail "NEXT showed the same picture ($second_ad)"

# Alt+Enter on the ad with one picture, then PREV and Alt+Enter on the one with two: each time the game goes on
# in the other mode with the same pictures.
for ad in one two; do
    before=$(ad_picture)
    torvi_toggle_mode || fail "the game ended after Alt+Enter on the ad with $ad picture(s)"
    after=$(torvi_wait_for_mean "$before" "$torvi_patience" ad_picture) || fail "the ad with $ad picture(s) lost them after Alt+Enter: $after, was $before"
    echo "ad with $ad picture(s) after Alt+Enter: $after"
    [ "$ad" = one ] && torvi_click 244 445
done
torvi_click 548 445
back=$(wait_for_menus "$window") || fail "BACK did not return to the main menu: $back"

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
# Every look until the driver screen is up finds no splash.
menus_without_splash() {
    splash_showing && fail "the splash showed although its picture lacks a quarter"
    same_colour "$menus" "$(look_mean 25 25 0 0)"
}
torvi_wait_for "the driver screen without the splash" menus_without_splash
grep -q "Tex 4 does not exist" "$log" || fail "the missing quarter was not reported"
torvi_close_down 50
echo "PASS"
INNER
