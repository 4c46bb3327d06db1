#!/bin/bash
# What a race costs while the player drives it: the real program in a 1024 x 768 window with the system's
# cursor on a virtual X server (software OpenGL, llvmpipe's default threads), a quick race against seven
# computer cars started from the menus, then ten seconds each with no input, with the accelerator held (the X
# server repeats it) and with the pointer circling over the window at 125 and at 1000 moves a second. Each
# prints the frames the program presented a second and the processor time it used, with the machine's load.
#   bash tests/Benchmarks/RaceUnderInput.sh build/Torvi_DX9
set -u

source "$(dirname "$(readlink -f "$0")")/../Program/lib/session.sh"
source "$(dirname "$(readlink -f "$0")")/lib/measure.sh"
bench_environment "$1"
torvi_driver "$torvi_folder" ANNA

bench_on_virtual_screen <<'INNER'
bench_start_to_drivers
torvi_click 320 240
torvi_click 95 144
torvi_click 320 445
# The start lights go out before the measuring begins.
sleep 5

bench_measure "race, no input" sleep 10
bench_measure "race, accelerator held" bench_hold_key a 10
bench_measure "race, pointer at 125 Hz" bench_pointer_over_window 125 10
bench_measure "race, pointer at 1000 Hz" bench_pointer_over_window 1000 10
torvi_close_down 50
bench_loop_rounds
INNER
