#!/bin/bash
# What the main menu costs while the player only looks at it or moves the mouse over it: the real program in a
# 1024 x 768 window with the system's cursor on a virtual X server (software OpenGL, llvmpipe's default
# threads), a driver continued to the main menu, then ten seconds each with the pointer still
# and with the pointer circling over the menu at 125 and at 1000 moves a second. Each prints the frames the
# program presented a second and the processor time it used (all its threads), with the load of the machine.
#   bash tests/Benchmarks/MenuScreenIdle.sh build/Torvi_DX9
set -u

source "$(dirname "$(readlink -f "$0")")/../Program/lib/session.sh"
source "$(dirname "$(readlink -f "$0")")/lib/measure.sh"
bench_environment "$1"
torvi_driver "$torvi_folder" ANNA

bench_on_virtual_screen <<'INNER'
bench_start_to_drivers
torvi_click 320 240
xdotool mousemove --window "$window" 1000 20
sleep 2

bench_measure "main menu, pointer still" sleep 10
bench_measure "main menu, pointer at 125 Hz" bench_pointer_over_window 125 10
bench_measure "main menu, pointer at 1000 Hz" bench_pointer_over_window 1000 10
torvi_close_down 50
bench_loop_rounds
INNER
