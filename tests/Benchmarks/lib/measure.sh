# Sourced by the whole-program benchmarks, outside and inside the virtual X server (after the test session's
# helpers): what the running game costs while nothing or something happens, as the frames it presented a
# second (counted by a preloaded shim, whatever its main loop did meanwhile) and the processor time it used.

bench_lib=$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")

# The test session's environment for the program given, the benchmark's tools built into its folder
# ($bench_shim, $bench_pointer, $bench_counter), and the start-up settings of a player who chose a 1024 x 768
# window and kept the system's cursor, which X draws.
bench_environment() {
    torvi_test_environment "$1"
    bench_shim="$torvi_test_home/present_counter.so"
    bench_pointer="$torvi_test_home/pointer_motion"
    bench_counter="$torvi_test_home/presents"
    cc -O2 -shared -fPIC -o "$bench_shim" "$bench_lib/present_counter.c" -ldl || fail "cannot build the present counter"
    cc -O2 -o "$bench_pointer" "$bench_lib/pointer_motion.c" -lX11 -lXtst -lm || fail "cannot build the pointer mover"
    : >"$bench_counter"
    torvi_windowed_settings "$torvi_folder"
    torvi_put "$torvi_folder/Resolution.dat" 148 '\x01'
}

# The rest of a benchmark, a script on standard input, run on a 1280 x 1024 virtual X server with these
# helpers and the tools at hand.
bench_on_virtual_screen() {
    { printf 'source %q\nbench_shim=%q bench_pointer=%q bench_counter=%q\n' "$bench_lib/measure.sh" \
          "$bench_shim" "$bench_pointer" "$bench_counter"; cat; } | torvi_on_virtual_screen 1280x1024
}

# The game started to its driver screen with the present counter preloaded into it alone.
bench_start_to_drivers() {
    LD_PRELOAD="$bench_shim" TORVI_PRESENT_COUNTER="$bench_counter" torvi_start_to_drivers
}

bench_presents() {
    local count
    count=$(od -An -t u8 "$bench_counter" 2>/dev/null | tr -d ' ')
    echo "${count:-0}"
}

bench_cpu_ticks() {
    awk '{ print $14 + $15 }' "/proc/$pid/stat"
}

bench_load() {
    cut -d' ' -f1 /proc/loadavg
}

# Runs a command (which lasts the time measured) and prints what the game did meanwhile:
#   bench_measure LABEL COMMAND ...
bench_measure() {
    local label=$1 hz presents ticks start load elapsed said
    shift
    hz=$(getconf CLK_TCK)
    load=$(bench_load)
    presents=$(bench_presents)
    ticks=$(bench_cpu_ticks)
    start=$(date +%s.%N)
    said=$("$@") || fail "$label: $* failed"
    elapsed=$(awk -v s="$start" -v e="$(date +%s.%N)" 'BEGIN { printf "%.2f", e - s }')
    kill -0 "$pid" 2>/dev/null || fail "$label: the game ended"
    awk -v l="$label" -v f=$(($(bench_presents) - presents)) -v u=$(($(bench_cpu_ticks) - ticks)) -v hz="$hz" \
        -v e="$elapsed" -v l0="$load" -v l1="$(bench_load)" -v said="$said" 'BEGIN {
        printf "%-34s %6.1f frames presented a second, %6.1f%% of one core over %s s (load %s -> %s)%s\n",
               l ":", f / e, 100 * u / hz / e, e, l0, l1, said == "" ? "" : "; pointer: " said }'
}

# Moves the pointer over the game's window at a rate (moves a second) for some seconds.
bench_pointer_over_window() {
    local geometry
    geometry=$(xdotool getwindowgeometry --shell "$window")
    "$bench_pointer" "$1" "$2" $(echo "$geometry" | sed -n 's/^[XY]=//p; s/^WIDTH=//p; s/^HEIGHT=//p')
}

# Holds a key down for some seconds; the X server repeats it as a keyboard would.
bench_hold_key() {
    xdotool keydown "$1"
    sleep "$2"
    xdotool keyup "$1"
}

# The main loop's own count over the whole run, from the line the game logs as it ends: rounds of the loop,
# which need not have presented anything.
bench_loop_rounds() {
    grep -o "Main loop ended: [0-9]* frames in [0-9.]* seconds." "$log" | tail -n 1 |
        awk '{ printf "main loop over the whole run: %d rounds in %.1f s, %.1f a second\n", $4, $7, $4 / $7 }'
}
