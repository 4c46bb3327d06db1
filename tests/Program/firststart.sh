#!/bin/bash
# A player's first start with an empty preferences folder, on a virtual X server, with clicks and keys only:
# NEW DRIVER, a typed name, the question about the country and the country screen (the player's own country
# is chosen), the main menu with its four modes disabled, the driving test's instructions, the test race
# (the track and a car that drives when 'A' is held), Escape back to the main menu, and EXIT. The driver's
# ".drv" and ".csc" files and "Settings.dat" must then be whole and name the driver. Screenshots of each step
# are kept in "firststart-shots" beside the program when a step fails.
set -u

source "$(dirname "$(readlink -f "$0")")/lib/session.sh"
torvi_test_environment "$1"
shots="$(dirname "$program")/firststart-shots"
rm -rf "$shots"

torvi_on_virtual_screen 1024x768 "$shots" <<'INNER'
shots=$1
work=$(mktemp -d)
# The player lives in England: the country screen starts with it chosen.
export LC_ALL=en_GB.UTF-8

# The failure's screenshots stay for whoever looks into it.
fail_with_shots() {
    mkdir -p "$shots"
    cp "$work"/*.png "$shots"/ 2>/dev/null
    echo "screenshots: $shots"
    fail "$@"
}

# Waits for the check that follows, keeping the screenshots when the patience runs out.
wait_with_shots() {
    local what=$1 deadline=$((SECONDS + torvi_patience))
    shift
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || fail_with_shots "no $what after waiting $torvi_patience seconds"
        sleep 0.2
    done
}

# Sets ww and wh: the size of the game's window.
window_size() {
    local geometry
    geometry=$(xdotool getwindowgeometry --shell "$window") || fail_with_shots "no geometry for window $window"
    ww=$(echo "$geometry" | sed -n 's/^WIDTH=//p')
    wh=$(echo "$geometry" | sed -n 's/^HEIGHT=//p')
}

# The pointer out of the way of what a step looks at.
park_pointer() {
    window_size
    xdotool mousemove --window "$window" $((ww - 4)) 4
    torvi_settle
}

shot() {
    torvi_import "$window" "$work/$1.png" || fail_with_shots "no screenshot $1: the window is gone"
}

# How many pixels of two screenshots differ clearly.
pixels_apart() {
    compare -metric AE -fuzz 12% "$work/$1.png" "$work/$2.png" null: 2>&1 | awk '{ printf "%d", $1 }'
}

# Same screen: a moved cursor or a highlight may differ, a screen change or a popup changes thousands.
same_screen() {
    [ "$(pixels_apart "$1" "$2")" -lt 1500 ]
}

torvi_start_to_drivers
park_pointer
shot 01-drivers

# NEW DRIVER, then the name typed into the popup's field.
torvi_click 540 447
shot 02-name-popup
[ "$(pixels_apart 01-drivers 02-name-popup)" -ge 1500 ] || fail_with_shots "NEW DRIVER opened no popup"
torvi_type "anna"
torvi_key Return
park_pointer
shot 03-country-question
[ "$(pixels_apart 02-name-popup 03-country-question)" -ge 1500 ] || fail_with_shots "the name was not taken"

# The question about the country leads to the country screen; Continue keeps England.
torvi_key Return
park_pointer
shot 04-country-screen
torvi_click 571 446
park_pointer
shot 05-main
[ "$(pixels_apart 04-country-screen 05-main)" -ge 1500 ] || fail_with_shots "Continue did not leave the country screen"

# The menu picture reaches the screen pixel for pixel. The idle screen is not drawn again, so a window that
# covers the game and goes away must make it draw its frame again: the menu comes back exactly as it was.
convert "$(dirname "$program")/Data/1120.dat" -crop 8x768+0+0 +repage "$work/picture-edge.png"
convert "$work/05-main.png" -crop 8x768+0+0 +repage "$work/05-main-edge.png"
[ "$(compare -metric AE "$work/picture-edge.png" "$work/05-main-edge.png" null: 2>&1)" = 0 ] ||
    fail_with_shots "the menu picture at the screen's edge differs from the picture file"
xmessage -geometry 700x500+100+100 "covering the game" &
cover=$!
covering() {
    xdotool search --onlyvisible --class xmessage >/dev/null 2>&1
}
torvi_wait_for "the covering window" covering
kill "$cover"
wait "$cover" 2>/dev/null
drawn_again() {
    shot 05-uncovered
    [ "$(compare -metric AE "$work/05-main.png" "$work/05-uncovered.png" null: 2>&1)" = 0 ]
}
wait_with_shots "main menu drawn again as it was after a window over it went away" drawn_again

# The four modes look switched off: the red flash at the left end of a button that can be pressed (EXIT) is
# grey on theirs.
red_pixels() {
    window_size
    convert "$work/$1.png" -crop "$(($4 * ww / 640))x$(($5 * wh / 480))+$(($2 * ww / 640))+$(($3 * wh / 480))" \
        +repage -fx 'r > 0.4 && r > 2 * g' -format "%[fx:round(mean * w * h)]" info:
}
[ "$(red_pixels 05-main 7 438 10 17)" -gt 20 ] || fail_with_shots "EXIT shows no red flash"
for mode in "7 85 CHAMPIONSHIP" "7 133 QUICK-RACE" "417 85 WORLD-TIMES" "457 133 LICENSE"; do
    # shellcheck disable=SC2086
    set -- $mode
    [ "$(red_pixels 05-main "$1" "$2" 10 22)" -lt 5 ] || fail_with_shots "$3 looks as if it could be pressed"
done

# The four modes are disabled: clicking them leaves the main menu as it is.
for mode in "545 144" "525 96" "95 144" "115 96"; do
    # shellcheck disable=SC2086
    set -- $mode
    window_size
    xdotool mousemove --window "$window" $(($1 * ww / 640)) $(($2 * wh / 480))
    torvi_settle
    xdotool click 1
    park_pointer
    shot 06-after-mode
    same_screen 05-main 06-after-mode || fail_with_shots "a mode button at ($mode) left the main menu of a new driver"
done

# DRIVING TEST shows its instructions; Enter closes them and the test race starts.
torvi_click 320 382
park_pointer
shot 07-test-popup
[ "$(pixels_apart 05-main 07-test-popup)" -ge 1500 ] || fail_with_shots "DRIVING TEST showed no instructions"
xdotool key Return
track_mean=$(torvi_mean_colour "tga:$(dirname "$program")/Data/1600.dat")
race_mean=""
shows_track() {
    shot 08-race
    race_mean=$(torvi_mean_colour "$work/08-race.png")
    same_colour "$track_mean" "$race_mean" 16
}
wait_with_shots "race frame showing the track ($track_mean)" shows_track
echo "track picture: $track_mean, race frame: $race_mean"
car_drove() {
    shot 09-race-driven
    moved=$(pixels_apart 08-race 09-race-driven)
    [ "$moved" -ge 100 ]
}
xdotool keydown a
wait_with_shots "car driving on the track while 'A' is held" car_drove
xdotool keyup a
echo "pixels changed by driving: $moved"

# Escape leaves the test for the main menu.
xdotool key Escape
park_pointer
main_again() {
    shot 10-main-again
    same_screen 05-main 10-main-again
}
wait_with_shots "main menu after Escape" main_again

torvi_click 62 446
program_ends_within 100 || fail_with_shots "EXIT did not end the game"
wait "$pid"
code=$?
pid=""
[ "$code" -eq 0 ] || fail_with_shots "exit code $code after EXIT"

folder="$XDG_DATA_HOME/Ostrelmark/Torvi Torvi"
float_at() { od -An -tf4 -j "$2" -N4 "$1" | tr -d ' '; }
int_at() { od -An -td4 -j "$2" -N4 "$1" | tr -d ' '; }
text_at() { dd if="$1" bs=1 skip="$2" count="$3" 2>/dev/null | tr -d '\0'; }

drv="$folder/Drivers/ANNA.drv"
[ "$(stat -c %s "$drv" 2>/dev/null)" = "1168" ] || fail "no 1,168-byte Drivers/ANNA.drv"
[ "$(float_at "$drv" 0)" = "1.4" ] || fail "ANNA.drv has version $(float_at "$drv" 0)"
[ "$(text_at "$drv" 4 12)" = "ANNA" ] || fail "ANNA.drv names $(text_at "$drv" 4 12)"
[ "$(text_at "$drv" 160 3)" = "GB" ] || fail "ANNA.drv has the country $(text_at "$drv" 160 3), not GB"
user_id=$(int_at "$drv" 156)
[ "$user_id" -ge 1 ] && [ "$user_id" -le 30000 ] || fail "ANNA.drv has the user id $user_id"
[ "$(int_at "$drv" 1164)" -ge 1 ] || fail "ANNA.drv counts no visit to the main menu"

csc="$folder/Drivers/ANNA_Controllers.csc"
[ "$(stat -c %s "$csc" 2>/dev/null)" = "5324" ] || fail "no 5,324-byte Drivers/ANNA_Controllers.csc"
[ "$(float_at "$csc" 0)" = "1" ] || fail "ANNA_Controllers.csc has version $(float_at "$csc" 0)"
entries=$(int_at "$csc" 5304)
[ "$entries" -ge 0 ] && [ "$entries" -le 25 ] || fail "ANNA_Controllers.csc counts $entries entries"

settings="$folder/Settings.dat"
[ "$(stat -c %s "$settings" 2>/dev/null)" = "384496" ] || fail "no 384,496-byte Settings.dat"
[ "$(float_at "$settings" 0)" = "1.4" ] || fail "Settings.dat has version $(float_at "$settings" 0)"
[ "$(text_at "$settings" 4 12)" = "ANNA" ] || fail "Settings.dat names $(text_at "$settings" 4 12) as the last driver"
echo "PASS"
INNER
