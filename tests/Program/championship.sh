#!/bin/bash
# A driver who has passed the driving test starts a championship as a person would: CONTINUE DRIVER,
# CHAMPIONSHIP, New in the first slot, the race length lowered to VERY SHORT, CONTINUE, RACE !!!. Escape
# opens the pause screen and QUIT abandons the race after confirmation; the stage result follows with the
# player last, CONTINUE CHAMPIONSHIP saves it, and back on the slots screen the first slot holds the
# championship at its second stage. Screenshots of each screen are kept when the test fails.
set -u

source "$(dirname "$(readlink -f "$0")")/lib/session.sh"
torvi_test_environment "$1"

torvi_windowed_settings "$torvi_folder"
torvi_driver "$torvi_folder" ANNA

torvi_on_virtual_screen 1280x1024 "$torvi_folder" <<'INNER'
vch="$1/Drivers/ANNA_Champ0.vch"
shots="$(mktemp -d)/championship-shots"
magick_convert=$(torvi_find_convert) || fail "ImageMagick's convert is missing"

# A little-endian 32-bit field of the championship file.
vch_field() {
    od -An -t d4 -j "$1" -N 4 "$vch" | tr -d ' '
}

torvi_start_to_drivers

torvi_click 320 240
torvi_shot main
torvi_click 95 96
torvi_shot slots
empty_slot=$(torvi_lit_pixels slots 35 144 301 18)
[ "$empty_slot" -gt 20 ] || fail "the first slot shows no text"

torvi_click 382 153
torvi_shot new
[ -f "$vch" ] && fail "New wrote the championship before its length was chosen"
medium=$(torvi_lit_pixels new 360 239 123 18)
# The length choice starts at MEDIUM; its left arrow twice gives VERY SHORT.
torvi_click 343 248
torvi_click 343 248
torvi_shot very-short
[ "$(torvi_changed_pixels new very-short 360 239 123 18)" -gt 50 ] || fail "the left arrow left the race length as it was"
[ "$(torvi_lit_pixels very-short 360 239 123 18)" -gt "$medium" ] || fail "VERY SHORT shows no more text than MEDIUM"

torvi_click 320 321
torvi_shot next-race
[ "$(torvi_lit_pixels next-race 357 202 177 190)" -gt 400 ] || fail "no leaderboard on the next race screen"
torvi_race_to_pause

# QUIT, then OK on the confirmation with the keyboard.
torvi_click 68 446
torvi_shot abandon
[ "$(torvi_changed_pixels pause abandon 0 0 640 480)" -gt 1500 ] || fail "QUIT asked nothing"
xdotool key Return
# The computer cars' race is completed first.
torvi_shot_until result "stage result's first row after QUIT" torvi_lit_above result 95 155 187 14 30
for place in 0 1 2 3 4 5 6 7; do
    lit=$(torvi_lit_pixels result 95 $((155 + 25 * place)) 187 14)
    echo "result row $((place + 1)): $lit lit pixels"
    [ "$lit" -gt 30 ] || fail "row $((place + 1)) of the stage result is empty"
done

torvi_click 320 444
[ -f "$vch" ] || fail "CONTINUE CHAMPIONSHIP saved no championship file"
[ "$(stat -c %s "$vch")" -eq 120 ] || fail "the championship file is not 120 bytes"
[ "$(vch_field 12)" -eq 1 ] || fail "the saved championship is at stage index $(vch_field 12), not 1"
[ "$(vch_field 16)" -eq 0 ] || fail "the saved race length is $(vch_field 16), not VERY SHORT"
[ "$(vch_field 24)" -eq 0 ] || fail "the abandoned race gave the player $(vch_field 24) points"
torvi_shot stage-two

torvi_click 68 446
torvi_click 95 96
torvi_shot slots-again
[ "$(torvi_lit_pixels slots-again 35 144 301 18)" -gt $((empty_slot * 3)) ] ||
    fail "the first slot does not show the championship"
[ "$(torvi_changed_pixels slots slots-again 35 144 301 18)" -gt 100 ] || fail "the first slot is unchanged"

torvi_close_down 100
echo "PASS"
INNER
