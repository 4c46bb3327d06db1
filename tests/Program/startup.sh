#!/bin/bash
# Starts the game on a virtual X server with an empty preferences folder, finds its window, lets it run,
# then sends SIGTERM: the program must close down with exit code 0, having written its log, and its main loop
# must have run. The menus' picture must reach the screen. A second start, with a stored full-screen size
# larger than the screen, fills the screen exactly, and every frame it presents before the splash's picture
# shows is black: none shows the menus' green first.
set -u

source "$(dirname "$(readlink -f "$0")")/lib/session.sh"
torvi_test_environment "$1"

torvi_on_virtual_screen 1280x1024 <<'INNER'
"$program" &
pid=$!

window=$(find_window) || fail "no window titled \"Torvi Torvi !!!\" (or the program ended first)"
[ "$(xdotool getwindowname "$window")" = "Torvi Torvi !!!" ] || fail "window title is not \"Torvi Torvi !!!\""

# The splash comes first; a slow machine may take a while to show the first frames.
seen=$(wait_for_menus "$window" 60) || fail "the window shows $seen, not the menus' picture after the splash"
echo "menu picture: $seen"
kill -0 "$pid" 2>/dev/null || fail "the program ended on its own"
kill -TERM "$pid"

program_ends_within 20 || fail "still running after SIGTERM"
wait "$pid"
code=$?
pid=""
[ "$code" -eq 0 ] || fail "exit code $code after SIGTERM"

[ -f "$log" ] || fail "no log at $log"
grep -qx "Torvi Torvi !!!" "$log" || fail "the log lacks the banner"
grep -q "Signal 15 received - closing down." "$log" || fail "the log lacks the signal close-down"
grep -q "Start-up settings dialog: nobody is there to answer, PLAY" "$log" ||
    fail "the start-up settings dialog did not take PLAY at the first start"
settings="$(dirname "$log")/Resolution.dat"
[ "$(stat -c %s "$settings" 2>/dev/null)" = "424" ] || fail "no 424-byte Resolution.dat after the run"

# How fast the main loop runs is measured by tests/Benchmarks/MenuScreenIdle.sh; here it must have run.
frames=$(grep -o "Main loop ended: [0-9]* frames" "$log" | tail -n 1 | awk '{print $4}')
echo "main loop: ${frames:-no} frames"
[ "${frames:-0}" -gt 0 ] || fail "the log lacks the main loop's frame count, or it ran no frame"

# A player who moved from a larger screen: full screen 1920 x 1200 stored, the screen offers 1280 x 1024.
folder=$(dirname "$log")
torvi_windowed_settings "$folder"
torvi_put "$folder/Resolution.dat" 20 '\x00'
torvi_put "$folder/Resolution.dat" 44 "$(torvi_le32 1920)$(torvi_le32 1200)"
# The weekly version check fails at once on a closed local port. The colours of every presented frame are
# seen from inside the process (a sanitizer build allows the preload).
frames=$(mktemp)
TORVI_WEB_BASE=http://127.0.0.1:1 LD_PRELOAD="$(dirname "$program")/libpresent_probe.so" TORVI_PRESENT_LOG="$frames" \
    ASAN_OPTIONS="${ASAN_OPTIONS:-}:verify_asan_link_order=0" "$program" &
pid=$!
window=$(find_window) || fail "no window after a start with a stored size larger than the screen"
wait_for_menus "$window" >/dev/null || fail "no menus after a start with a stored size larger than the screen"
eval "$(xdotool getwindowgeometry --shell "$window")"
[ "$WIDTH" = 1280 ] && [ "$HEIGHT" = 1024 ] || fail "the full-screen window is ${WIDTH}x${HEIGHT}, not 1280x1024"
# The whole picture fits the screen: above the buttons, screen and picture agree at a small scale, where a
# frame larger than the screen would show the picture's top-left part only.
look=$(mktemp -d)
convert "$(dirname "$program")/Data/1120.dat" -resize 64x51\! -crop 64x35+0+0 +repage "$look/picture.png"
torvi_import "$window" png:- | convert - -resize 64x51\! -crop 64x35+0+0 +repage "$look/screen.png"
apart=$(compare -metric AE -fuzz 4% "$look/picture.png" "$look/screen.png" null: 2>&1 | cut -d' ' -f1)
rm -rf "$look"
echo "full screen from a stored 1920 x 1200: ${WIDTH}x${HEIGHT}, $apart of 2240 small-scale pixels off the picture"
[ "${apart:-9999}" -lt 60 ] || fail "the screen does not show the whole menu picture ($apart pixels apart)"
torvi_close_down

# Lines "corner rgb, centre rgb": up to the first frame that shows the splash's picture (its centre lit, its
# corner black), every frame is black at the corner; the menus' clear colour is 51 102 76.
awk '$1 + $2 + $3 <= 6 && $4 + $5 + $6 > 30 { lit = NR; exit }
     { before++; if ($1 + $2 + $3 > 6) { print "frame " NR ": " $0; bad++ } }
     END { printf "%d frames before the splash picture showed (frame %d), %d not black\n", before, lit, bad;
           exit (lit > 0 && before >= 2 && bad == 0) ? 0 : 1 }' "$frames" ||
    fail "a frame before the splash was not black (the menus' green is 51 102 76)"
rm -f "$frames"
[ "$(od -An -td4 -j 44 -N8 "$folder/Resolution.dat" | xargs)" = "1280 1024" ] ||
    fail "the settings keep $(od -An -td4 -j 44 -N8 "$folder/Resolution.dat" | xargs) as the full-screen size"
echo "PASS"
INNER
