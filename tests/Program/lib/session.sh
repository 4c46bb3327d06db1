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

# Prints the game's one window; it is replaced when the screen mode changes. Fails when the program ends.
find_window() {
    local found=""
    for _ in $(seq 1 100); do
        found=$(xdotool search --name "^Torvi Torvi !!!$" 2>/dev/null)
        [ "$(echo "$found" | grep -c .)" -eq 1 ] && { echo "$found"; return 0; }
        kill -0 "$pid" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}
