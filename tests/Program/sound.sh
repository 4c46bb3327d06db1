#!/bin/bash
# Starts the game on a virtual X server with OpenAL writing its output to a wave file instead of a sound
# card, as a player's speakers would hear it. The menus play their music; then a driver who has passed the
# driving test starts a quick race (CONTINUE DRIVER, QUICK RACE, RACE !!!), which turns the music off, and the
# cars' engines are heard. The game is closed and the recording's loudness is measured in half-second windows.
set -u

source "$(dirname "$(readlink -f "$0")")/lib/session.sh"
torvi_test_environment "$1"

recording="$torvi_test_home/output.wav"
cat >"$torvi_test_home/alsoft.conf" <<CONF
[general]
drivers = wave
frequency = 44100
channels = stereo
sample-type = int16
[wave]
file = $recording
CONF
export ALSOFT_CONF="$torvi_test_home/alsoft.conf"
export ALSOFT_DRIVERS=wave

# A driver who has passed the driving test, named in "Settings.dat" as the last one, so that CONTINUE DRIVER
# takes them to the main menu.
torvi_driver "$torvi_folder" SOUND

torvi_on_virtual_screen 1280x1024 "$recording" <<'INNER'
recording=$1
# Waits for the recording to hold the seconds given more than now (16-bit stereo at 44.1 kHz).
record_seconds() {
    local until=$(($(stat -c %s "$recording") + $1 * 176400))
    recorded_past() { [ "$(stat -c %s "$recording")" -ge "$until" ]; }
    torvi_wait_for "$1 more seconds of the recording" recorded_past
}

torvi_start_to_drivers
# The menus' music, a few seconds of it.
record_seconds 2
torvi_click 320 240
torvi_click 95 144
torvi_click_into_race 320 445
torvi_wait_for "\"MUSIC OFF\" in the log: the race turns the music off" grep -q "MUSIC OFF" "$log"
# The start sequence and the engines.
record_seconds 8
torvi_close_down 50
grep -q "MUSIC ON" "$log" || fail "the menus did not turn the music on"
INNER
[ $? -eq 0 ] || exit 1

[ -s "$recording" ] || { echo "FAIL: no recording at $recording"; exit 1; }
# 16-bit stereo at 44.1 kHz after the "data" chunk's header; the loudness (RMS, full scale 32768) of every
# half second.
data=$(grep -obUa "data" "$recording" | head -n 1 | cut -d: -f1)
[ -n "$data" ] || { echo "FAIL: the recording has no data chunk"; exit 1; }
windows=$(od -An -t d2 -v -w4 -j $((data + 8)) "$recording" |
    awk '{ sum += $1 * $1 + $2 * $2; n += 2 }
         n == 44100 { printf "%.4f\n", sqrt(sum / n) / 32768; sum = 0; n = 0 }')
echo "loudness of each half second:" $windows
# The music in the first seconds after the (silent) splash; the engines alone in the last seconds before the close.
music=$(echo "$windows" | awk '$1 > 0.01 { on = 1 } on' | head -n 8 | awk '$1 > 0.01' | wc -l)
engines=$(echo "$windows" | tail -n 10 | awk '$1 > 0.005' | wc -l)
[ "$music" -ge 4 ] || { echo "FAIL: only $music loud half seconds of menu music"; exit 1; }
[ "$engines" -ge 4 ] || { echo "FAIL: only $engines loud half seconds of the race"; exit 1; }
echo "PASS"
