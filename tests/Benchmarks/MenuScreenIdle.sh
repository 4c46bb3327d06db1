#!/bin/bash
# What a menu screen costs while nobody touches it: the real program in a 1024 x 768 window on a virtual X
# server (software OpenGL, llvmpipe's default threads), a new driver typed in and taken to the main menu,
# then ten seconds of idling measured: the processor time the process used (all its threads) and, from the
# log the program writes at its end, the frames its main loop ran a second.
#   bash tests/Benchmarks/MenuScreenIdle.sh build/Torvi_DX9
set -u

source "$(dirname "$(readlink -f "$0")")/../Program/lib/session.sh"
torvi_test_environment "$1"

# The start-up settings of a player who chose a 1024 x 768 window (the first start would be full screen).
torvi_windowed_settings "$torvi_folder"

torvi_on_virtual_screen 1280x1024 <<'INNER'
export LC_ALL=en_GB.UTF-8

click_virtual() {
    xdotool mousemove --window "$window" $(($1 * 1024 / 640)) $(($2 * 768 / 480)) click 1
    sleep 1
}
cpu_ticks() {
    awk '{ print $14 + $15 }' "/proc/$pid/stat"
}

torvi_start_to_drivers
click_virtual 540 447
xdotool type --delay 80 "bench"
xdotool key Return
sleep 1.5
xdotool key Return
sleep 1
click_virtual 571 446
xdotool mousemove --window "$window" 1000 20
sleep 2

hz=$(getconf CLK_TCK)
ticks_before=$(cpu_ticks)
start=$(date +%s.%N)
sleep 10
used=$(( $(cpu_ticks) - ticks_before ))
elapsed=$(awk -v s="$start" -v e="$(date +%s.%N)" 'BEGIN { printf "%.2f", e - s }')
kill -TERM "$pid"
program_ends_within 50 || fail "still running five seconds after SIGTERM"
wait "$pid"
pid=""

line=$(grep -o "Main loop ended: [0-9]* frames in [0-9.]* seconds." "$log" | tail -n 1)
frames=$(echo "$line" | awk '{print $4}')
seconds=$(echo "$line" | awk '{print $7}')
awk -v u="$used" -v hz="$hz" -v e="$elapsed" -v f="$frames" -v s="$seconds" 'BEGIN {
    printf "main menu idle at 1024 x 768: %.2f of one core (%d ticks in %s s)\n", u / hz / e, u, e;
    printf "main loop over the whole run: %d frames in %.1f s, %.1f a second\n", f, s, f / s }'
INNER
