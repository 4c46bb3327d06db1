#!/bin/bash
# A driver who has won EXPERT championships opens the racing licence as a person would, in a 1024 x 768
# window: CONTINUE DRIVER, LICENSE. Each class's trophy stands in the right of its box (FORMULA 4 in the
# first box, FORMULA 3 in the second, FORMULA 1 in the fourth), in front of the box's panel where a player
# sees it; the box of the class without a trophy and the EXPERT box stay empty there. Screenshots are kept
# when the test fails.
set -u

source "$(dirname "$(readlink -f "$0")")/lib/session.sh"
torvi_test_environment "$1"

torvi_windowed_settings "$torvi_folder"
torvi_driver "$torvi_folder" ANNA
drv="$torvi_folder/Drivers/ANNA.drv"
# Every licence of every class; the EXPERT results first, second, none and third place.
for class in 0 1 2 3; do
    torvi_put "$drv" $((16 + 16 * class)) '\x01\x01\x01\x01\x01'
done
for award in "0 3" "1 2" "2 0" "3 1"; do
    set -- $award
    torvi_put "$drv" $((28 + 16 * $1)) "$(torvi_le32 "$2")"
done

torvi_on_virtual_screen 1024x768 <<'INNER'
shots="$(mktemp -d)/licence-shots"
magick_convert=$(torvi_find_convert) || fail "ImageMagick's convert is missing"

torvi_start_to_drivers

torvi_click 320 240
torvi_click 545 144
xdotool mousemove --window "$window" 1020 4
torvi_settle
torvi_shot licence

# The cup of a trophy, right of the licence texts, in the box whose top left corner is given.
cup_pixels() {
    torvi_lit_pixels licence $(($1 + 90)) $(($2 + 40)) 40 50
}
for box in "ROOKIE 157 117 F4" "AMATEUR 326 117 F3" "PROFESSIONAL 242 233 F1"; do
    set -- $box
    lit=$(cup_pixels "$2" "$3")
    echo "$1 box: $lit lit pixels of the $4 trophy"
    [ "$lit" -gt 150 ] || fail "the $4 trophy is not to be seen in the $1 box"
done
for box in "SEMI-PRO 73 233" "EXPERT 411 233"; do
    set -- $box
    lit=$(cup_pixels "$2" "$3")
    [ "$lit" -lt 20 ] || fail "the $1 box shows a trophy that was not won ($lit lit pixels)"
done

torvi_close_down 100
echo "PASS"
INNER
