#!/bin/bash
# The splash and the product ads as a person meets them. A first start shows the splash: black, then the title
# picture fading in at the centre while the corners stay black, then the driver screen. A new driver reaches the
# main menu; GAMES shows an ad with its picture, NEXT another, BACK the main menu again. A game whose title
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
    eval "$(xdotool getwindowgeometry --shell "$window")"
    echo "$(($1 * WIDTH / 100))x$(($2 * HEIGHT / 100))+$(($3 * WIDTH / 100))+$(($4 * HEIGHT / 100))"
}

# The mean colour of the ads' picture area, the centre of the screen.
ad_picture() {
    window_mean "$window" "$(part 40 40 30 35)"
}

"$program" &
pid=$!
window=$(find_window) || fail "no window titled \"Torvi Torvi !!!\" (or the program ended first)"

# The mean colour "r g b" of a part of the screenshot "look", given in percent as for part.
look_mean() {
    convert "$shots/look.png" -crop "$(part "$@")" +repage -scale 1x1\! \
        -format "%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]" info: 2>/dev/null
}

# Its brightness, 0 to 255.
look_brightness() {
    look_mean "$@" | awk '{ print int(($1 + $2 + $3) / 3) }'
}

# One look: the title at the centre of a black screen.
splash_showing() {
    local centre corner
    torvi_shot look
    centre=$(look_brightness 30 30 35 35)
    corner=$(look_brightness 15 15 0 0)
    [ -n "$centre" ] && [ -n "$corner" ] && [ "$corner" -le 3 ] && [ "$centre" -ge 8 ]
}

# The splash: the title at the centre of a black screen (how it fades is tested on a driven clock), seen
# before the menus come; a screenshot of it is kept.
menus=$(menus_picture_mean)
splash_seen() {
    splash_showing && return 0
    same_colour "$menus" "$(look_mean 25 25 0 0)" && fail "the driver screen came before any look found the splash"
    return 1
}
torvi_wait_for "the title at the centre of a black screen" splash_seen
cp "$shots/look.png" "$shots/splash.png"
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
