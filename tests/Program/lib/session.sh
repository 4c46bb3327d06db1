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

# SIGTERM to the game: it must end within five seconds with exit code 0.
end_with_sigterm() {
    kill -TERM "$pid"
    program_ends_within 50 || fail "still running five seconds after SIGTERM"
    wait "$pid"
    local code=$?
    pid=""
    [ "$code" -eq 0 ] || fail "exit code $code after SIGTERM"
}

# The mean colour "r g b" (0 to 255) of a part of the window's picture, the part given as a crop geometry.
window_mean() {
    timeout 30 import -window "$1" png:- 2>/dev/null | convert - -crop "$2" +repage -scale 1x1\! \
        -format "%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]" info: 2>/dev/null
}

# True when two mean colours agree within 12 in every channel.
same_colour() {
    [ -n "$1" ] && [ -n "$2" ] && awk -v a="$1" -v b="$2" 'BEGIN {
        split(a, x, " "); split(b, y, " ");
        for (i = 1; i <= 3; i++) if (x[i] - y[i] > 12 || y[i] - x[i] > 12) exit 1 }'
}

# The menus' picture is up once the top-left quarter of the window shows that of "Data/1120.dat": the splash
# comes first. Waits up to the given seconds (20 by default); prints the last mean colour seen.
wait_for_menus() {
    local picture seen="" deadline=$((SECONDS + ${2:-20}))
    picture=$(convert "$(dirname "$program")/Data/1120.dat" -crop 25%x25%+0+0 +repage -scale 1x1\! \
        -format "%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]" info:)
    while [ "$SECONDS" -lt "$deadline" ]; do
        seen=$(window_mean "$1" 25%x25%+0+0)
        same_colour "$picture" "$seen" && { echo "$seen"; return 0; }
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.3
    done
    echo "$seen (the menus' picture is $picture)"
    return 1
}

# However a script ends (a failed check, an error, its time running out), the game it started goes with it.
trap '[ -n "$pid" ] && kill -9 "$pid" 2>/dev/null' EXIT
