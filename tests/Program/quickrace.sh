#!/bin/bash
# A driver who has passed the driving test plays a quick race in FORMULA 1 as a person would: CONTINUE DRIVER, QUICK
# RACE, a race of 1 lap against all seven computer drivers, RACE !!!. The race runs on the track; Escape
# opens the pause screen and RESUME goes back to it; Alt+Enter takes the race on full screen, still on its
# track; the driver never leaves the grid and, once the computer cars are home, Escape shows the result
# screen, whose eight rows hold the eight cars with the driver last. Screenshots of each screen are kept
# when the test fails.
set -u

source "$(dirname "$(readlink -f "$0")")/lib/session.sh"
torvi_test_environment "$1"

torvi_windowed_settings "$torvi_folder"
torvi_driver "$torvi_folder" ANNA
# In FORMULA 1 (its ROOKIE licence, the current class), whose races run at 1.6 times FORMULA 4's pace: the
# computer cars are home sooner.
torvi_put "$torvi_folder/Drivers/ANNA.drv" 64 '\x01'
torvi_put "$torvi_folder/Drivers/ANNA.drv" 80 "$(torvi_le32 3)"

torvi_on_virtual_screen 1280x1024 <<'INNER'
shots="$(mktemp -d)/quickrace-shots"
magick_convert=$(torvi_find_convert) || fail "ImageMagick's convert is missing"

# The result screen's places "1." to "8." stand where the pause screen shows nothing.
is_result_screen() {
    torvi_shows_menus "$1" && [ "$(torvi_lit_pixels "$1" 120 151 30 190)" -gt 40 ]
}

torvi_start_to_drivers

torvi_click 320 240
torvi_shot main
torvi_click 95 144
torvi_shot quick-race
[ "$(torvi_lit_pixels quick-race 386 202 218 123)" -gt 200 ] || fail "the set-up screen lists no opponents"

# Escape as soon as the start lights are out, well before the computer cars can finish their lap.
torvi_race_to_pause
is_result_screen pause && fail "Escape early in the race showed the result"
torvi_click_into_race 320 445
# The track fills the window: its sand leaves little of the menus' dark background.
torvi_shot_until race "the race on its track after RESUME" torvi_lit_above race 0 0 640 480 100000
# Alt+Enter: the race goes on full screen, drawn on its track again.
torvi_toggle_mode || fail "the game ended after Alt+Enter in the race"
torvi_wait_for_lit race-full-screen 0 0 640 480 100000

# The driver stays on the grid, short of the start line, while the computer cars drive their lap; Escape
# shows the pause until they are home, then the result.
is_pause_or_result() {
    torvi_pause_screen escape || is_result_screen escape
}
result=""
deadline=$((SECONDS + 3 * torvi_patience))
while [ -z "$result" ] && [ "$SECONDS" -lt "$deadline" ]; do
    # How long only sets how often the test looks.
    sleep 5
    torvi_escape_to_menus
    torvi_shot_until escape "the pause or the result screen after Escape" is_pause_or_result
    if is_result_screen escape; then
        result=yes
    else
        torvi_click_into_race 320 445
    fi
done
[ -n "$result" ] || fail "no result screen after $((3 * torvi_patience)) seconds of racing"
cp "$shots/escape.png" "$shots/result.png"
# The driver's name is in the driver's red, which no computer driver has.
driver_red='r>0.6 && g<0.4 && b<0.4'
for place in 0 1 2 3 4 5 6 7; do
    lit=$(torvi_lit_pixels result 175 $((151 + 25 * place)) 187 14)
    red=$(torvi_pixels_where result 175 $((151 + 25 * place)) 187 14 "$driver_red")
    echo "result row $((place + 1)): $lit lit pixels, $red in the driver's red"
    [ "$lit" -gt 30 ] || fail "row $((place + 1)) of the result is empty"
    if [ "$place" -lt 7 ]; then
        [ "$red" -lt 5 ] || fail "the driver who never crossed the line is in row $((place + 1))"
    else
        [ "$red" -gt 30 ] || fail "the last row does not hold the driver"
    fi
done

torvi_close_down 100
echo "PASS"
INNER
