#!/bin/bash
# What the real program keeps resident: in a 1024 x 768 window on a virtual X server (software OpenGL,
# llvmpipe's default threads), first idle at the main menu, then in a quick race of eight cars driven to from
# the menus as a person would. Prints the whole resident size and what it is made of: the software GL stack
# (its libraries), the other libraries and the program, the heap, other anonymous memory; then, in the race,
# the live heap blocks of 16 KiB or more by where they were made (lib/heap_census.c, preloaded: its own table
# adds under 1 MiB).
#   bash tests/Benchmarks/RaceMemory.sh build/Torvi_DX9
set -u

source "$(dirname "$(readlink -f "$0")")/../Program/lib/session.sh"
torvi_test_environment "$1"
census_shim="$torvi_test_home/heap_census.so"
cc -O2 -shared -fPIC -o "$census_shim" "$(dirname "$(readlink -f "$0")")/lib/heap_census.c" -ldl -lpthread ||
    fail "cannot build the heap census"
export TORVI_HEAP_CENSUS="$torvi_test_home/census.txt"

torvi_windowed_settings "$torvi_folder"
torvi_driver "$torvi_folder" ANNA

torvi_on_virtual_screen 1280x1024 "$census_shim" <<'INNER'
census_shim=$1
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

# Each block is told by the innermost caller in the program, else by the library that asked for it.
census_by_maker() {
    awk -v program="$program" '{
        maker = "";
        for (i = 2; i <= NF && maker == ""; i++) {
            split($i, part, "+");
            if (part[1] == program) maker = part[1] " " part[2];
        }
        for (i = 2; i <= NF && maker == ""; i++)
            if ($i !~ /heap_census|libc\.so|libstdc\+\+/) { split($i, part, "+"); maker = part[1]; }
        size[maker] += $1; count[maker]++ }
        END { for (m in size) printf "%d %d %s\n", size[m], count[m], m }' "$TORVI_HEAP_CENSUS" |
        sort -rn | head -n 12 | while read -r bytes blocks module offset; do
            name=$(basename "$module")
            [ -n "$offset" ] && name=$(addr2line -f -C -i -e "$module" "$offset" | head -n 1)
            awk -v b="$bytes" -v n="$blocks" -v w="$name" 'BEGIN { printf "  %6.1f MiB in %4d blocks  %s\n", b / 1048576, n, w }'
        done
}

LD_PRELOAD="$census_shim" torvi_start_to_drivers
torvi_click 320 240
sleep 3
resident_by_kind "main menu, idle"
torvi_click 95 144
torvi_click 320 445
sleep 8
torvi_shot race
resident_by_kind "quick race, eight cars"
kill -USR1 "$pid"
torvi_wait_for "the heap census" test -s "$TORVI_HEAP_CENSUS"
echo "live heap blocks of 16 KiB or more, by where they were made:"
census_by_maker
torvi_close_down 100
INNER
