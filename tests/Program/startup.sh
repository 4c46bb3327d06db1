#!/bin/bash
# Starts the game on a virtual X server with an empty preferences folder, finds its window, lets it run,
# then sends SIGTERM: the program must close down within two seconds with exit code 0, having written its
# log, and its main loop must have run at about 60 frames a second. The menus' picture must reach the screen.
set -u

source "$(dirname "$(readlink -f "$0")")/lib/session.sh"
torvi_test_environment "$1"

torvi_on_virtual_screen 1280x1024 <<'INNER'
"$program" &
pid=$!

window=$(find_window) || fail "no window titled \"Torvi Torvi !!!\" (or the program ended first)"
[ "$(xdotool getwindowname "$window")" = "Torvi Torvi !!!" ] || fail "window title is not \"Torvi Torvi !!!\""

# The splash comes first; a slow machine may take a while to show the first frames.
seen=$(wait_for_menus "$window") || fail "the window shows $seen, not the menus' picture after the splash"
echo "menu picture: $seen"
kill -0 "$pid" 2>/dev/null || fail "the program ended on its own"
kill -TERM "$pid"

program_ends_within 20 || fail "still running two seconds after SIGTERM"
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

line=$(grep -o "Main loop ended: [0-9]* frames in [0-9.]* seconds." "$log" | tail -n 1)
[ -n "$line" ] || fail "the log lacks the frame count"
frames=$(echo "$line" | awk '{print $4}')
seconds=$(echo "$line" | awk '{print $7}')
rate=$(awk -v f="$frames" -v s="$seconds" 'BEGIN { if (s > 0) printf "%d", f / s; else print 0 }')
echo "main loop: $frames frames in $seconds seconds ($rate a second)"
[ "$rate" -ge 40 ] && [ "$rate" -le 70 ] || fail "frame rate $rate is outside 40..70"
echo "PASS"
INNER
