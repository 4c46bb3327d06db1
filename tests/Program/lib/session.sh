# Sourced by the whole-program tests, outside and inside the virtual X server.

torvi_session=$(readlink -f "${BASH_SOURCE[0]}")
source "$(dirname "$torvi_session")/virtual_display.sh"

# The program under test ($program, from the path given), a private, empty preferences folder with the
# game's own folder in it ($torvi_folder), no sound device and nobody to click.
torvi_test_environment() {
    program=$(readlink -f "$1")
    torvi_test_home=$(mktemp -d)
    torvi_folder="$torvi_test_home/Ostrelmark/Torvi Torvi"
    trap 'rm -rf "$torvi_test_home"' EXIT
    export XDG_DATA_HOME="$torvi_test_home"
    export TORVI_NONINTERACTIVE=1
    export SDL_AUDIODRIVER=dummy
    export ALSOFT_DRIVERS=null
    unset SDL_VIDEODRIVER
}

# The rest of a test, a script on standard input, run on a virtual X server of its own with a screen of the size
# given ("1280x1024"): these helpers loaded, $program set, -u on, the further arguments as $1, $2, ...
torvi_on_virtual_screen() {
    local size=$1
    shift
    { printf 'set -u\nprogram=%q\nsource %q\n' "$program" "$torvi_session"; cat; } |
        torvi_with_virtual_display "$size" bash -s "$@"
}

log="${XDG_DATA_HOME:-}/Ostrelmark/Torvi Torvi/LogFile.txt"
pid=""
# How long a test waits for what it needs: a loaded machine can be slow by minutes, a working one is quick.
torvi_patience=${TORVI_PATIENCE:-180}
# Screenshots taken by torvi_shot; kept in the working folder when a test fails.
shots=""

fail() {
    echo "FAIL: $*"
    [ -f "$log" ] && { echo "--- log ---"; cat "$log"; }
    [ -n "$shots" ] && [ -d "$shots" ] && cp -r "$shots" "$PWD/" && echo "screenshots kept in $PWD/$(basename "$shots")"
    [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null
    exit 1
}

# Waits until the command that follows succeeds; fails naming what it waited for ($1) when the program ends
# first or the patience runs out.
torvi_wait_for() {
    local what=$1 deadline=$((SECONDS + torvi_patience))
    shift
    until "$@"; do
        [ -z "$pid" ] || kill -0 "$pid" 2>/dev/null || fail "the program ended while the test waited for $what"
        [ "$SECONDS" -lt "$deadline" ] || fail "no $what after waiting $torvi_patience seconds"
        sleep 0.2
    done
}

# Prints the game's one window, other than the one given (the window is replaced when the screen mode
# changes). Fails when the program ends first.
find_window() {
    local old=${1:-} found="" deadline=$((SECONDS + torvi_patience))
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

# True once the program has ended. How quickly it ends is for a benchmark to measure: the argument (tenths of a
# second) only lengthens the wait beyond the test's patience.
program_ends_within() {
    local deadline=$((SECONDS + torvi_patience))
    [ "$(( ${1:-0} / 10 ))" -gt "$torvi_patience" ] && deadline=$((SECONDS + ${1:-0} / 10))
    while [ "$SECONDS" -lt "$deadline" ]; do
        kill -0 "$pid" 2>/dev/null || return 0
        sleep 0.1
    done
    ! kill -0 "$pid" 2>/dev/null
}

# Ends the running game with SIGTERM, as the system does at logout: it must close down, with exit code 0.
torvi_close_down() {
    kill -0 "$pid" 2>/dev/null || fail "the program ended on its own"
    kill -TERM "$pid"
    program_ends_within "${1:-0}" || fail "still running $torvi_patience seconds after SIGTERM"
    wait "$pid"
    local code=$?
    pid=""
    [ "$code" -eq 0 ] || fail "exit code $code after SIGTERM"
}

# The mean colour "r g b" (0 to 255) of a picture (an ImageMagick input, "-" for standard input) after the
# operations that follow.
torvi_mean_colour() {
    convert "$1" "${@:2}" -scale 1x1\! -format "%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]" info:
}

# The mean colour of a part of the window's picture, the part given as a crop geometry.
window_mean() {
    torvi_import "$1" png:- | torvi_mean_colour - -crop "$2" +repage 2>/dev/null
}

# True when two mean colours agree within a tolerance (12 unless given) in every channel.
same_colour() {
    [ -n "$1" ] && [ -n "$2" ] && awk -v a="$1" -v b="$2" -v d="${3:-12}" 'BEGIN {
        split(a, x, " "); split(b, y, " ");
        for (i = 1; i <= 3; i++) if (x[i] - y[i] > d || y[i] - x[i] > d) exit 1 }'
}

# The mean colour of the top-left quarter of the menus' picture, "Data/1120.dat".
menus_picture_mean() {
    torvi_mean_colour "$(dirname "$program")/Data/1120.dat" -crop 25%x25%+0+0 +repage
}

# The menus' picture is up once the top-left quarter of the window shows that of "Data/1120.dat": the splash
# comes first. Waits with the test's patience; prints the last mean colour seen.
wait_for_menus() {
    local picture
    picture=$(menus_picture_mean)
    torvi_wait_for_mean "$picture" "$torvi_patience" window_mean "$1" 25%x25%+0+0 && return 0
    echo "(the menus' picture is $picture)"
    return 1
}

# Starts the game ($pid, $window) and waits for the driver screen that follows the splash.
torvi_start_to_drivers() {
    "$program" &
    pid=$!
    window=$(find_window) || fail "no window titled \"Torvi Torvi !!!\" (or the program ended first)"
    wait_for_menus "$window" >/dev/null || fail "no driver screen after the splash"
}

# However a script ends (a failed check, an error, its time running out), the game it started goes with it.
trap '[ -n "$pid" ] && kill -9 "$pid" 2>/dev/null' EXIT

# ---- Preferences written before the game starts ----

# Writes bytes (a printf format) into a file at an offset; the rest of the file stays as it was.
torvi_put() {
    printf "$3" | dd of="$1" bs=1 seek="$2" conv=notrunc status=none
}

# The printf format of a little-endian 32-bit number.
torvi_le32() {
    printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($1 & 255)) $(($1 >> 8 & 255)) $(($1 >> 16 & 255)) $(($1 >> 24 & 255))
}

# The start-up settings of a player who chose a 1024 x 768 window and the texture cursor (the first start
# would be full screen, with the system cursor).
torvi_windowed_settings() {
    local folder=$1
    mkdir -p "$folder"
    {
        printf '\x00\x00\xc0\x3f\x00\x00\xc0\x3f\x00\x00\x00\x00'
        head -c 8 /dev/zero
        printf '\x01\x00\x00\x00\xff\xff\xff\xff\xff\xff\xff\xff'
        printf '\x00\x04\x00\x00\x00\x03\x00\x00\x20\x00\x00\x00'
        printf '\x00\x05\x00\x00\x00\x04\x00\x00\x20\x00\x00\x00\x3c\x00\x00\x00'
        head -c 16 /dev/zero
        printf '\x01\x01English'
        head -c 57 /dev/zero
        printf '\x01\x00\x02\x00\x00\x00\x00\x01'
        head -c 161 /dev/zero
        printf '\x01\x01\x01\x00\x00'
        head -c 41 /dev/zero
        printf '\x01'
        head -c 66 /dev/zero
    } >"$folder/Resolution.dat"
    [ "$(stat -c %s "$folder/Resolution.dat")" -eq 424 ] || fail "settings file is not 424 bytes"
}

# A driver from Finland (user id 4242) who has passed the driving test, in FORMULA 4 at ROOKIE level, with
# every opponent ticked for a quick race of 1 lap, and "Settings.dat" naming the driver as the last one.
torvi_driver() {
    local folder=$1 name=$2 drv="$1/Drivers/$2.drv"
    mkdir -p "$folder/Drivers"
    head -c 1168 /dev/zero >"$drv"
    torvi_put "$drv" 0 '\x33\x33\xb3\x3f'
    torvi_put "$drv" 4 "$name"
    torvi_put "$drv" 16 '\x01'
    torvi_put "$drv" 92 '\x01'
    torvi_put "$drv" 100 '\x01\x01\x01\x01\x01\x01\x01'
    torvi_put "$drv" 108 "$(torvi_le32 1)"
    torvi_put "$drv" 116 "$(torvi_le32 9)$(torvi_le32 9)$(torvi_le32 9)\x01\x01\x01\x01$(torvi_le32 7)"
    torvi_put "$drv" 144 '\x01'
    torvi_put "$drv" 156 "$(torvi_le32 4242)FI"
    torvi_put "$drv" 164 "$(torvi_le32 1)"
    head -c 384496 /dev/zero >"$folder/Settings.dat"
    torvi_put "$folder/Settings.dat" 0 '\x33\x33\xb3\x3f'
    torvi_put "$folder/Settings.dat" 4 "$name"
}

# One row of the local best times of FORMULA 4, track 1, 1 lap, dated today: row, name, user id, country,
# platform letter, time in ms. Rows are written in order, fastest first; the count follows the last one.
torvi_local_time() {
    local file="$1/Settings.dat" at=$((16 + $2 * 32))
    torvi_put "$file" "$at" "$3"
    torvi_put "$file" $((at + 12)) "$(torvi_le32 "$4")$5"
    torvi_put "$file" $((at + 19)) "$6$(torvi_le32 "$7")$(torvi_le32 "$(date +%Y)")"
    torvi_put "$file" $((at + 28)) "$(printf '\\x%02x\\x%02x' "$((10#$(date +%m)))" "$((10#$(date +%d)))")"
    torvi_put "$file" $((16 + 3200)) "$(torvi_le32 $(($2 + 1)))"
}

# ---- The game's window, seen and driven as a person would ----

# ImageMagick's own convert (another "convert" may come first on the path).
torvi_find_convert() {
    for candidate in /usr/bin/convert convert; do
        if "$candidate" -version 2>/dev/null | grep -q ImageMagick; then
            echo "$candidate"
            return 0
        fi
    done
    return 1
}

# Clicks the point (x, y) of the 640 x 480 virtual screen in the game's window once the pointer's highlight
# is drawn, then waits for what the click shows to settle.
torvi_click() {
    torvi_point "$1" "$2"
    xdotool click 1
    torvi_after_input
}

# Clicks a button that starts or resumes a race: waits for the screen to change, not for a race that never
# stands still to settle.
torvi_click_into_race() {
    torvi_point "$1" "$2"
    xdotool click 1
    torvi_wait_change
}

# Moves the pointer to the point (x, y) of the 640 x 480 virtual screen and waits for the window to settle.
torvi_point() {
    local geometry width height
    geometry=$(xdotool getwindowgeometry --shell "$window")
    width=$(echo "$geometry" | sed -n 's/^WIDTH=//p')
    height=$(echo "$geometry" | sed -n 's/^HEIGHT=//p')
    xdotool mousemove --window "$window" $(($1 * width / 640)) $(($2 * height / 480))
    torvi_settle
}

# Waits for the window to show something other than at the last torvi_settle; input that changes nothing
# gives up after a while, without failing.
torvi_wait_change() {
    local deadline=$((SECONDS + 10))
    while [ "$SECONDS" -lt "$deadline" ]; do
        torvi_quick_shot changed || return 0
        torvi_same_shot settled changed || return 0
    done
}

# After input: the change it makes, then its settling.
torvi_after_input() {
    torvi_wait_change
    torvi_settle
}

# Waits for the window's picture to stay as it is over two screenshots, the last kept as "settled". A race
# never stands still: the wait gives up after a while, without failing.
torvi_settle() {
    local deadline=$((SECONDS + 10))
    torvi_quick_shot settled || return 0
    while [ "$SECONDS" -lt "$deadline" ]; do
        mv "$XDG_DATA_HOME/quick-shots/settled.ppm" "$XDG_DATA_HOME/quick-shots/before.ppm"
        torvi_quick_shot settled || return 0
        torvi_same_shot before settled && return 0
    done
}

# An uncompressed screenshot for comparing, kept with the test's preferences. False when the window is gone:
# input that ends the game (EXIT) takes it away, and what comes next is for the test to check.
torvi_quick_shot() {
    mkdir -p "$XDG_DATA_HOME/quick-shots"
    torvi_import "$window" "ppm:$XDG_DATA_HOME/quick-shots/$1.ppm"
}

# Writes a screenshot of a window to a file (ImageMagick's "format:path"); false once the window is gone or
# hidden. import waits for ever on a window that is unmapped under it, so each try is cut short and tried again.
torvi_import() {
    local deadline=$((SECONDS + torvi_patience))
    until torvi_window_shown "$1" && timeout 10 import -window "$1" "$2" 2>/dev/null; do
        torvi_window_shown "$1" || return 1
        [ "$SECONDS" -lt "$deadline" ] || fail "no screenshot of window $1 after $torvi_patience seconds"
    done
}

torvi_window_shown() {
    xwininfo -id "$1" 2>/dev/null | grep -q "Map State: IsViewable"
}

# True when two quick shots differ in fewer than 40 pixels: a blinking caret, not a change of screen.
torvi_same_shot() {
    local apart folder="$XDG_DATA_HOME/quick-shots"
    apart=$(compare -metric AE -fuzz 8% "$folder/$1.ppm" "$folder/$2.ppm" null: 2>&1 | awk '{ printf "%d", $1 }')
    [ -n "$apart" ] && [ "$apart" -lt 40 ]
}

# Keys (xdotool key's names) and typed text, each waiting for what it shows to settle.
torvi_key() {
    torvi_settle
    xdotool key "$@"
    torvi_after_input
}

torvi_type() {
    torvi_settle
    xdotool type --delay 50 "$1"
    torvi_after_input
}

# A screenshot of the game's window as "$shots/<label>.png".
torvi_shot() {
    mkdir -p "$shots"
    torvi_import "$window" "$shots/$1.png" || fail "no screenshot: window $window is gone"
}

# Takes the screenshot "$shots/<label>.png" until the check that follows passes on it; fails naming what it
# waited for ($2).
torvi_shot_until() {
    local label=$1 what=$2
    shift 2
    torvi_wait_for "$what" torvi_shot_and_check "$label" "$@"
}

torvi_shot_and_check() {
    torvi_shot "$1"
    shift
    "$@"
}

# True when more than the given number of pixels of a virtual-screen rectangle of a screenshot are lit:
# label, x, y, w, h, count.
torvi_lit_above() {
    [ "$(torvi_lit_pixels "$1" "$2" "$3" "$4" "$5")" -gt "$6" ]
}

# The pixels of a virtual-screen rectangle (x, y, w, h) of a screenshot whose brightest channel is above
# 55%: text and pictures on the menus' dark background.
torvi_lit_pixels() {
    torvi_count_in_rect "$1" "$2" "$3" "$4" "$5" -separate -evaluate-sequence max -threshold 55%
}

# The pixels of a virtual-screen rectangle (label, x, y, w, h) of a screenshot left white by the ImageMagick
# operations that follow.
torvi_count_in_rect() {
    "$magick_convert" "$shots/$1.png" -crop "$(torvi_virtual_crop "$@")" +repage "${@:6}" \
        -format "%[fx:round(mean*w*h)]" info:
}

# The crop geometry, in a screenshot's own pixels, of a virtual-screen rectangle: label, x, y, w, h.
torvi_virtual_crop() {
    local size sw sh
    size=$(identify -format "%w %h" "$shots/$1.png")
    sw=${size% *}
    sh=${size#* }
    echo "$(($4 * sw / 640))x$(($5 * sh / 480))+$(($2 * sw / 640))+$(($3 * sh / 480))"
}

# RACE !!! on a set-up screen; once the race is on its track, Escape: the pause screen with its title, shot as
# "pause".
torvi_race_to_pause() {
    torvi_click_into_race 320 445
    torvi_wait_for "the race's start (\"MUSIC OFF\" in the log)" grep -q "MUSIC OFF" "$log"
    torvi_shot_until race-started "the race's track on the screen" torvi_lit_above race-started 0 0 640 480 100000
    torvi_escape_to_menus
    torvi_shot_until pause "the GAME PAUSED title after Escape" torvi_pause_screen pause
}

# The pause screen's title over the menus' dark background: the track's sand and flags are lit where the
# title stands.
torvi_pause_screen() {
    torvi_shows_menus "$1" && torvi_lit_above "$1" 200 76 240 30 50
}

# A menu screen rather than a race: the menus' dark background leaves under an eighth of the window lit, the
# track's sand and kerbs about a sixth.
torvi_shows_menus() {
    local size
    size=$(identify -format "%w %h" "$shots/$1.png")
    [ "$(($(torvi_lit_pixels "$1" 0 0 640 480) * 8))" -lt "$((${size% *} * ${size#* }))" ]
}

# Escape in a race, then the menus' music, which the pause and the result screens start: until then the race
# is still on the screen (Escape in the countdown takes effect at the start signal), and its track can look
# like a screen's texts.
torvi_escape_to_menus() {
    local music_on
    music_on=$(grep -c "MUSIC ON" "$log")
    xdotool key Escape
    torvi_wait_for "the menus' music after Escape in the race" torvi_log_count_above "MUSIC ON" "$music_on"
}

torvi_log_count_above() {
    [ "$(grep -c "$1" "$log")" -gt "$2" ]
}

# The pixels of a virtual-screen rectangle that differ between two screenshots.
torvi_changed_pixels() {
    local crop
    crop=$(torvi_virtual_crop "$1" "$3" "$4" "$5" "$6")
    "$magick_convert" "$shots/$1.png" -crop "$crop" +repage "$shots/crop-a.png"
    "$magick_convert" "$shots/$2.png" -crop "$crop" +repage "$shots/crop-b.png"
    compare -metric AE -fuzz 15% "$shots/crop-a.png" "$shots/crop-b.png" null: 2>&1 | awk '{ printf "%d", $1 }'
}

# The pixels of a virtual-screen rectangle (x, y, w, h) of a screenshot that pass an ImageMagick -fx test of
# r, g and b (0 to 1), e.g. a driver's colour in a result row.
torvi_pixels_where() {
    torvi_count_in_rect "$1" "$2" "$3" "$4" "$5" -fx "$6"
}

# ---- Waiting for the game ----

# Waits for a line of the log holding the text.
torvi_wait_for_log() {
    torvi_wait_for "the log line \"$1\"" grep -qF -- "$1" "$log"
}

# Alt+Enter on the game's window, which the game replaces in the other mode: $window becomes the new one, with
# the keyboard's focus. False when the program ends instead.
torvi_toggle_mode() {
    local old=$window
    xdotool windowfocus --sync "$window" 2>/dev/null
    xdotool key alt+Return
    window=$(find_window "$old") || return 1
    xdotool windowfocus --sync "$window" 2>/dev/null
    return 0
}

# Shoots the window as "$shots/<label>.png" until the virtual-screen rectangle (x, y, w, h) has more than the
# given lit pixels.
torvi_wait_for_lit() {
    torvi_shot_until "$1" "more than $6 lit pixels in $1" torvi_lit_above "$@"
}

# Runs the command given after the colour and the seconds until the mean colour it prints is the colour given,
# for up to those seconds; prints the last one seen. False when it never is or the program ends first.
torvi_wait_for_mean() {
    local colour=$1 deadline=$((SECONDS + $2)) seen=""
    shift 2
    while [ "$SECONDS" -lt "$deadline" ]; do
        seen=$("$@")
        same_colour "$colour" "$seen" && { echo "$seen"; return 0; }
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.3
    done
    echo "$seen"
    return 1
}
