#!/bin/bash
# Ways out of the game that once went wrong. With a folder where "Resolution.dat" should be, the settings
# cannot be saved: closing with Alt+F4 must log the failed save once and end with exit code 0, not start
# the close-down again from inside itself until the stack runs out. An abort sent from outside ends the
# program at once.
set -u

source "$(dirname "$(readlink -f "$0")")/lib/session.sh"
torvi_test_environment "$1"

torvi_on_virtual_screen 1280x1024 <<'INNER'
mkdir -p "$(dirname "$log")/Resolution.dat"
"$program" &
pid=$!
window=$(find_window) || fail "no window titled \"Torvi Torvi !!!\" (or the program ended first)"
wait_for_menus "$window" >/dev/null || fail "no driver screen to close"
xdotool windowfocus --sync "$window" 2>/dev/null
xdotool key alt+F4
program_ends_within 50 || fail "still running after Alt+F4"
wait "$pid"
code=$?
pid=""
[ "$code" -eq 0 ] || fail "exit code $code after Alt+F4 with settings that cannot be saved"
closing=$(grep -c "POPUP while closing down <Problem" "$log")
[ "$closing" -eq 1 ] || fail "the failed save at exit was logged $closing times, not once"

rm -rf "$(dirname "$log")/Resolution.dat"
"$program" &
pid=$!
find_window >/dev/null || fail "no window for the abort"
kill -ABRT "$pid"
program_ends_within 50 || fail "still running after SIGABRT"
wait "$pid"
code=$?
pid=""
[ "$code" -eq $((128 + 6)) ] || fail "exit code $code after SIGABRT, not the abort's 134"
echo "PASS"
INNER
