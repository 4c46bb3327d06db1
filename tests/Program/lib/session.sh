# Sourced by the whole-program tests, outside and inside the virtual X server.

# A private, empty preferences folder, no sound device and nobody to click.
torvi_test_environment() {
    torvi_test_home=$(mktemp -d)
    trap 'rm -rf "$torvi_test_home"' EXIT
    export XDG_DATA_HOME="$torvi_test_home"
    export TORVI_NONINTERACTIVE=1
    export SDL_AUDIODRIVER=dummy
    export ALSOFT_DRIVERS=null
    unset SDL_VIDEODRIVER
}

log="${XDG_DATA_HOME:-}/Ostrelmark/Torvi Torvi/LogFile.txt"
pid=""

fail() {
    echo "FAIL: $*"
    [ -f "$log" ] && { echo "--- log ---"; cat "$log"; }
    [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null
    exit 1
}

# Prints the game's one window, other than the one given (the window is replaced when the screen mode
# changes). Waits up to 30 seconds; fails when the program ends first.
find_window() {
    local old=${1:-} found="" deadline=$((SECONDS + 30))
    while [ "$SECONDS" -lt "$deadline" ]; do
        found=$(xdotool search --name "^Torvi Torvi !!!$" 2>/dev/null)
        if [ "$(echo "$found" | grep -c .)" -eq 1 ] && [ "$found" != "$old" ]; then
            echo "$found"
            return 0
        fi
        kill -0 "$pid" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}

# True once the program has ended, after at most the given tenths of a second.
program_ends_within() {
    for _ in $(seq 1 "$1"); do
        kill -0 "$pid" 2>/dev/null || return 0
        sleep 0.1
    done
    ! kill -0 "$pid" 2>/dev/null
}

# However a script ends (a failed check, an error, its time running out), the game it started goes with it.
trap '[ -n "$pid" ] && kill -9 "$pid" 2>/dev/null' EXIT
