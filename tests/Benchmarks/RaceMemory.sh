#!/bin/bash
# What the real program keeps resident: in a 1024 x 768 window on a virtual X server (software OpenGL,
# llvmpipe's default threads), first idle at the main menu, then in a quick race of eight cars driven to from
# the menus as a person would. Prints the whole resident size and what it is made of: the software GL stack
# (its libraries), the other libraries and the program, the heap, other anonymous memory.
#   bash tests/Benchmarks/RaceMemory.sh build/Torvi_DX9
set -u

source "$(dirname "$(readlink -f "$0")")/../Program/lib/session.sh"
torvi_test_environment "$1"

torvi_windowed_settings "$torvi_folder"
torvi_driver "$torvi_folder" ANNA

torvi_on_virtual_screen 1280x1024 <<'INNER'
shots="$(mktemp -d)/memory-shots"

# Resident kilobytes of the process by kind, from its mappings.
resident_by_kind() {
    awk -v label="$1" '
        /^[0-9a-f]+-[0-9a-f]+ / { name = $6; kind = "anonymous";
            if (name == "[heap]") kind = "heap";
            else if (name ~ /LLVM|dri|gallium|swrast|libGL|libEGL|libglapi|libgbm|libdrm/) kind = "GL stack";
            else if (name ~ /^\//) kind = "program and other libraries";
            else if (name ~ /^\[/) kind = "stack and kernel";
            next }
        /^Rss:/ { rss[kind] += $2; total += $2 }
        END { printf "%s: %.1f MiB resident\n", label, total / 1024;
              for (k in rss) printf "  %-28s %6.1f MiB\n", k, rss[k] / 1024 }' "/proc/$pid/smaps"
}

torvi_start_to_drivers
torvi_click 320 240
sleep 3
resident_by_kind "main menu, idle"
torvi_click 95 144
torvi_click 320 445
sleep 8
torvi_shot race
resident_by_kind "quick race, eight cars"
torvi_close_down 100
INNER
