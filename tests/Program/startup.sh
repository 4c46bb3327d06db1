#!/bin/bash
# Starts the game on a virtual X server with an empty preferences folder, finds its window, lets it run,
# then sends SIGTERM: the program must close down with exit code 0, having written its
# log, and its main loop must have run. The menus' picture must reach the screen.
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
echo "PASS"
INNER
