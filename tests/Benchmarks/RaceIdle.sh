#!/bin/bash
# What a race costs while the driver holds no key: the real program in a 1024 x 768 window on a virtual X
# server (software OpenGL, llvmpipe's default threads), a quick race of ten laps against all seven computer
# drivers started as a person would, then, once the lights are out, ten seconds measured: the processor time
# of the process (all its threads), with the machine's load beside it, and, where perf can count the frames
# presented (a probe on SDL_GL_SwapWindow, as root), the frames a second and the processor time per frame, a
# figure that other work on the machine moves far less. With RACE_IDLE_PROFILE set, perf also records where
# those ten seconds went into that file.
#   bash tests/Benchmarks/RaceIdle.sh build/Torvi_DX9
set -u

source "$(dirname "$(readlink -f "$0")")/../Program/lib/session.sh"
torvi_test_environment "$1"

torvi_windowed_settings "$torvi_folder"
torvi_driver "$torvi_folder" ANNA
# Ten laps: the computer cars are still racing when the measuring ends.
torvi_put "$torvi_folder/Drivers/ANNA.drv" 108 "$(torvi_le32 10)"

torvi_on_virtual_screen 1280x1024 <<'INNER'
shots="$(mktemp -d)/raceidle-shots"
magick_convert=$(torvi_find_convert) || fail "ImageMagick's convert is missing"
cpu_ticks() {
    awk '{ print $14 + $15 }' "/proc/$pid/stat"
}

torvi_start_to_drivers
torvi_click 320 240
torvi_click 95 144
torvi_click 320 445
# The track fills the window once the race has loaded; the countdown then takes three seconds.
deadline=$((SECONDS + 60))
while :; do
    torvi_shot race
    [ "$(torvi_lit_pixels race 0 0 640 480)" -gt 100000 ] && break
    [ "$SECONDS" -lt "$deadline" ] || fail "no race on its track within a minute"
    sleep 0.5
done
sleep 4
xdotool mousemove --window "$window" 1000 20

hz=$(getconf CLK_TCK)
load=$(cut -d' ' -f1-3 /proc/loadavg)
sdl=$(awk '/libSDL2-2.0.so/ { print $6; exit }' "/proc/$pid/maps")
probe="" added=""
[ -n "$sdl" ] && perf probe -q -x "$sdl" SDL_GL_SwapWindow 2>/dev/null && added=yes
probe=$(perf probe -l 2>/dev/null | awk '/SDL_GL_SwapWindow/ { print $1; exit }')
if [ -n "${RACE_IDLE_PROFILE:-}" ]; then
    perf record -q -e cpu-clock -g -p "$pid" -o "$RACE_IDLE_PROFILE" -- sleep 10 >/dev/null 2>&1 &
fi
ticks_before=$(cpu_ticks)
start=$(date +%s.%N)
frames=""
if [ -n "$probe" ]; then
    frames=$(perf stat -x, -e "$probe" -p "$pid" -- sleep 10 2>&1 | awk -F, '/SDL_GL_SwapWindow/ { print $1 }')
    [ -n "$added" ] && perf probe -q -d "$probe" 2>/dev/null
else
    sleep 10
fi
used=$(( $(cpu_ticks) - ticks_before ))
elapsed=$(awk -v s="$start" -v e="$(date +%s.%N)" 'BEGIN { printf "%.2f", e - s }')
torvi_shot after
[ "$(torvi_lit_pixels after 0 0 640 480)" -gt 100000 ] || fail "the race was no longer on screen at the end"
kill -TERM "$pid"
program_ends_within 50 || fail "still running five seconds after SIGTERM"
wait "$pid"
pid=""

line=$(grep -o "Main loop ended: [0-9]* frames in [0-9.]* seconds." "$log" | tail -n 1)
awk -v u="$used" -v hz="$hz" -v e="$elapsed" -v f="$frames" -v l="$load" -v line="$line" 'BEGIN {
    printf "race of 8 cars, no key held, at 1024 x 768: %.2f of one core (%d ticks in %s s), load %s\n", u / hz / e, u, e, l;
    if (f ~ /^[0-9]+$/ && f > 0)
        printf "frames presented: %d, %.1f a second, %.2f ms of processor time each\n", f, f / e, 1000 * u / hz / f;
    printf "%s\n", line }'
INNER
