#!/bin/bash
# A driver changes the options as a person would: CONTINUE DRIVER, OPTIONS, steering one step down and the
# standings text off, BACK; the changes are in the driver's file after the game ends and are still there
# after a second start. Then SETUP CONTROLS maps the keyboard's LEFT to a key pressed during the wait, and
# the controller file holds it.
set -u

source "$(dirname "$(readlink -f "$0")")/lib/session.sh"
torvi_test_environment "$1"

torvi_windowed_settings "$torvi_folder"
torvi_driver "$torvi_folder" ANNA

torvi_on_virtual_screen 1280x1024 "$torvi_folder" <<'INNER'
folder=$1
drv="$folder/Drivers/ANNA.drv"
shots="${TORVI_SHOTS:-$(mktemp -d)/options-shots}"

# A little-endian 32-bit number of the driver's file.
drv_int() {
    od -An -t d4 -j "$1" -N 4 "$drv" | tr -d ' '
}
drv_byte() {
    od -An -t u1 -j "$1" -N 1 "$drv" | tr -d ' '
}

start_at_options() {
    torvi_start_to_drivers
    torvi_click 320 240
    torvi_click 577 446
    torvi_shot "options-$1"
}

start_at_options first
[ "$(drv_int 116)" -eq 9 ] || fail "the prepared steering is not 10"
torvi_click 362 151
torvi_click 358 242
torvi_shot options-changed
torvi_click 68 446
torvi_close_down 100
[ "$(drv_int 116)" -eq 8 ] || fail "steering $(drv_int 116) in the driver's file, not 8 (\"9\")"
[ "$(drv_byte 128)" -eq 0 ] || fail "the standings text is still on in the driver's file"
[ "$(drv_byte 129)" -eq 1 ] || fail "the lap time text changed with the standings"

start_at_options second
torvi_click 175 358
torvi_shot controls
# LEFT: the wait for a key starts with the click and lasts four seconds; D is pressed again and again from the
# click on, so that a press falls within the wait however slowly the machine shows it.
torvi_point 417 272
(while :; do xdotool key d; sleep 0.3; done) &
presser=$!
xdotool click 1
torvi_after_input
kill "$presser"
wait "$presser" 2>/dev/null
torvi_settle
torvi_shot controls-mapped
torvi_click 68 446
torvi_close_down 100
[ "$(drv_int 116)" -eq 8 ] || fail "steering $(drv_int 116) after the second start, not 8"
[ "$(drv_byte 128)" -eq 0 ] || fail "the standings text came back on after the second start"
csc="$folder/Drivers/ANNA_Controllers.csc"
[ "$(stat -c %s "$csc")" -eq 5324 ] || fail "the controller file is not 5,324 bytes"
left=""
for entry in $(seq 0 24); do
    name=$(dd if="$csc" bs=1 skip=$((4 + 212 * entry + 20 + 3 * 24)) count=24 status=none | tr -d '\0')
    [ "$name" = D ] && left=D
done
[ "$left" = D ] || fail "no device has D on LEFT in the controller file"
echo "PASS"
INNER
