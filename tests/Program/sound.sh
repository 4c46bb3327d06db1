#!/bin/bash
# Starts the game on a virtual X server with OpenAL writing its output to a wave file instead of a sound
# card, as a player's speakers would hear it: the menus must play their music. Then the game is closed and
# the recording's loudness is measured in half-second windows.
set -u

here=$(dirname "$(readlink -f "$0")")
source "$here/lib/session.sh"
program=$(readlink -f "$1")
torvi_test_environment

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

xvfb-run -a -s "-screen 0 1280x1024x24" bash -s "$program" "$here/lib/session.sh" <<'INNER'
set -u
program=$1
source "$2"

"$program" &
pid=$!
window=$(find_window) || fail "no window titled \"Torvi Torvi !!!\" (or the program ended first)"
# The menus' music, a few seconds of it.
wait_for_menus "$window" >/dev/null || fail "the menus did not come after the splash"
sleep 4
kill -0 "$pid" 2>/dev/null || fail "the program ended on its own"
end_with_sigterm
grep -q "MUSIC ON" "$log" || fail "the menus did not turn the music on"
grep -q "MUSIC OFF" "$log" || fail "the music was not turned off at the close"
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
loud=$(echo "$windows" | awk '$1 > 0.01' | wc -l)
[ "$loud" -ge 4 ] || { echo "FAIL: only $loud loud half seconds in the recording"; exit 1; }
echo "PASS"
