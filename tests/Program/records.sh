#!/bin/bash
# A driver's records, seen as a person would, in a 1024 x 768 window. WORLD TIMES (CONTINUE DRIVER, WORLD
# TIMES): the table shows this computer's two times; switched to WORLD it shows the six rows a scores service
# on the loopback serves, with their countries' flags and platform icons, and keeps the table in its cache.
# The service speaks the scores script's table format. Then MAIN MENU, LICENSE, for a driver who has won
# EXPERT championships: each class's trophy stands in the right of its box (FORMULA 4 in the first box,
# FORMULA 3 in the second, FORMULA 1 in the fourth), in front of the box's panel where a player sees it; the
# box of the class without a trophy and the EXPERT box stay empty there. Screenshots are kept when the test
# fails.
set -u

source "$(dirname "$(readlink -f "$0")")/lib/session.sh"
torvi_test_environment "$1"
server=$(dirname "$program")/loopback_serve
[ -x "$server" ] || { echo "FAIL: no $server"; exit 1; }

torvi_windowed_settings "$torvi_folder"
torvi_driver "$torvi_folder" ANNA
torvi_local_time "$torvi_folder" 0 ANNA 4242 FI W 41230
torvi_local_time "$torvi_folder" 1 BO 7 SE M 43110
drv="$torvi_folder/Drivers/ANNA.drv"
# Every licence of every class; the EXPERT results first, second, none and third place.
for class in 0 1 2 3; do
    torvi_put "$drv" $((16 + 16 * class)) '\x01\x01\x01\x01\x01'
done
for award in "0 3" "1 2" "2 0" "3 1"; do
    set -- $award
    torvi_put "$drv" $((28 + 16 * $1)) "$(torvi_le32 "$2")"
done

reply="$torvi_test_home/reply.txt"
{
    printf 'Y \n'
    printf '3561000 0 0 0 11 KIMI FI - 2024-05-17 W\n'
    printf '3560500 0 0 0 12 ASTRID SE - 2024-06-01 M\n'
    printf '3559000 0 0 0 13 JUERGEN DE - 2024-06-02 L\n'
    printf '3558000 0 0 0 14 KENJI JP - 2024-07-09 A\n'
    printf '3557000 0 0 0 15 AYRTON BR - 2024-08-21 F\n'
    printf '3556000 0 0 0 16 NIGEL UK - 2024-09-30 I\n'
} >"$reply"

torvi_on_virtual_screen 1280x1024 "$server" "$reply" <<'INNER'
shots="$(mktemp -d)/records-shots"
magick_convert=$(torvi_find_convert) || fail "ImageMagick's convert is missing"

coproc SERVICE { exec "$1" "$2"; }
read -r -t 10 base <&"${SERVICE[0]}" || fail "the scores service did not start"
export TORVI_WEB_BASE=$base
stop_service() { kill "$SERVICE_PID" 2>/dev/null; }
trap '[ -n "$pid" ] && kill -9 "$pid" 2>/dev/null; stop_service' EXIT

torvi_start_to_drivers

torvi_click 320 240
torvi_click 525 96
torvi_shot local
# Rows are 22 units high from y 155: names in the third column, flags in the second, icons in the last.
[ "$(torvi_lit_pixels local 270 155 130 44)" -gt 40 ] || fail "the local table shows no names"
[ "$(torvi_lit_pixels local 270 199 130 66)" -lt 5 ] || fail "the local table shows more than its two rows"

torvi_click 330 137
cache="$XDG_DATA_HOME/Ostrelmark/Torvi Torvi/Scores/Scores_40_11001_A.sco"
torvi_wait_for "cache file of the world table (11001, all time)" test -f "$cache"
world_names_shown() {
    [ "$(torvi_changed_pixels local world 270 155 130 132)" -gt 200 ]
}
torvi_shot_until world "the world table's names" world_names_shown
changed_names=$(torvi_changed_pixels local world 270 155 130 132)
changed_flags=$(torvi_changed_pixels local world 245 199 30 66)
changed_icons=$(torvi_changed_pixels local world 592 199 26 66)
echo "world table: $changed_names pixels of names, $changed_flags of flags, $changed_icons of icons changed"
[ "$changed_names" -gt 200 ] || fail "WORLD shows the same names as LOCAL"
[ "$changed_flags" -gt 100 ] || fail "no flags beside the world rows below the local ones"
[ "$changed_icons" -gt 40 ] || fail "no platform icons beside the world rows below the local ones"

torvi_click 68 446
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
