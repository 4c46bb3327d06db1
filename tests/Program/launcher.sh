#!/bin/bash
# The launcher lies beside the game. On a virtual X server:
# 1. With a working libGL it starts the real game, without arguments, in the launcher's working folder, and
#    ends at once with exit status 0; the game writes its log into a fresh preferences folder and opens its window.
# 2. With a broken libGL (a bad libGL.so.1 found first through LD_LIBRARY_PATH) and TORVI_NONINTERACTIVE=1,
#    the dialog's texts go to standard error, its default answer is taken, the game is not started and the
#    exit status is 1.
# 3. Without TORVI_NONINTERACTIVE the dialog is driven with keys, on a copy of the launcher beside a stand-in
#    game that records how it was started: Escape gives up, "Ignore ..." starts the game, the page button
#    opens the page (through a stand-in xdg-open) without starting the game. The exit status is 0 only when
#    the game was started.
set -u

program=$(readlink -f "$1")
launcher="$(dirname "$program")/launcher"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

export SDL_AUDIODRIVER=dummy
export ALSOFT_DRIVERS=null
unset SDL_VIDEODRIVER

bash "$(dirname "$(readlink -f "$0")")/lib/virtual_display.sh" 1280x1024 bash -s "$program" "$launcher" "$scratch" <<'INNER'
set -u
# A loaded machine can be slow by minutes, a working one is quick.
patience=${TORVI_PATIENCE:-180}
program=$1
launcher=$2
scratch=$3
game_pid=""
launcher_pid=""

fail() {
    echo "FAIL: $*"
    [ -n "$game_pid" ] && kill -9 "$game_pid" 2>/dev/null
    [ -n "$launcher_pid" ] && kill -9 "$launcher_pid" 2>/dev/null
    exit 1
}

# Waits for the command that follows to succeed, for the test's patience or $1 tenths of a second if longer.
wait_for() {
    local deadline=$((SECONDS + patience))
    [ $(($1 / 10)) -gt "$patience" ] && deadline=$((SECONDS + $1 / 10))
    shift
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

# Runs the launcher in the background from folder $1 (further words: its environment) and waits for it to end.
run_launcher() {
    local folder=$1
    shift
    (cd "$folder" && exec env "$@" "$launcher_to_run" 2>"$scratch/stderr") &
    launcher_pid=$!
}

launcher_ended() {
    ! kill -0 "$launcher_pid" 2>/dev/null
}

finish_launcher() {
    wait_for 0 launcher_ended || { kill -9 "$launcher_pid"; fail "the launcher did not end: $1"; }
    wait "$launcher_pid"
    launcher_code=$?
}

# --- 1. The real game starts -------------------------------------------------------------------------------
[ -x "$launcher" ] || fail "no launcher beside the game at $launcher"
launcher_to_run=$launcher
home="$scratch/home"
work="$scratch/work"
mkdir -p "$home" "$work"
log="$home/Ostrelmark/Torvi Torvi/LogFile.txt"
run_launcher "$work" XDG_DATA_HOME="$home" TORVI_NONINTERACTIVE=1
finish_launcher "with a working libGL"
[ "$launcher_code" -eq 0 ] || fail "exit code $launcher_code after starting the game, not 0"

window=""
find_game_window() { window=$(xdotool search --name "^Torvi Torvi !!!$" 2>/dev/null | head -n 1); [ -n "$window" ]; }
wait_for 300 find_game_window || fail "the game's window did not appear"
game_pid=$(xdotool getwindowpid "$window")
[ -n "$game_pid" ] || fail "no process behind the game's window"
[ "$(readlink -f "/proc/$game_pid/exe")" = "$program" ] || fail "the window belongs to $(readlink /proc/$game_pid/exe)"
[ "$(readlink -f "/proc/$game_pid/cwd")" = "$(readlink -f "$work")" ] || fail "the game runs in $(readlink /proc/$game_pid/cwd)"
arguments=$(tr '\0' '\n' < "/proc/$game_pid/cmdline" | wc -l)
[ "$arguments" -eq 1 ] || fail "the game got $((arguments - 1)) arguments"
wait_for 100 test -f "$log" || fail "the game wrote no log in the fresh preferences folder"
wait_for 50 grep -qx "Torvi Torvi !!!" "$log" || fail "the game's log lacks its banner"
kill -TERM "$game_pid"
wait_for 50 eval '! kill -0 "$game_pid" 2>/dev/null' || fail "the game did not end after SIGTERM"
game_pid=""
echo "ok: the launcher started the game"

# --- 2. Broken libGL, nobody there -------------------------------------------------------------------------
mkdir -p "$scratch/badgl"
echo "not a library" > "$scratch/badgl/libGL.so.1"
home2="$scratch/home2"
mkdir -p "$home2"
run_launcher "$work" XDG_DATA_HOME="$home2" TORVI_NONINTERACTIVE=1 LD_LIBRARY_PATH="$scratch/badgl"
finish_launcher "with a broken libGL"
[ "$launcher_code" -eq 1 ] || fail "exit code $launcher_code after the dialog, not 1"
for text in "OpenGL version 2.1 or later does not appear to be installed on your system." \
            "You must install this before you will be able to run the game." \
            "Click on this button to go online and get the latest version of OpenGL :" \
            "[https://www.mesa3d.org/]" "[Ignore ...]" "[Ok]" "Answered: Ok"; do
    grep -qxF "$text" "$scratch/stderr" || { cat "$scratch/stderr"; fail "the dialog's text lacks \"$text\""; }
done
sleep 2
xdotool search --name "^Torvi Torvi !!!$" >/dev/null 2>&1 && fail "the game started although libGL is broken"
[ -e "$home2/Ostrelmark" ] && fail "the game ran (it made its preferences folder) although libGL is broken"
echo "ok: a broken libGL shows the dialog on stderr and starts nothing"

# With a person expected but no display to show the dialog on, the launcher says so and ends.
run_launcher "$work" -u DISPLAY -u TORVI_NONINTERACTIVE XDG_DATA_HOME="$home2" LD_LIBRARY_PATH="$scratch/badgl"
finish_launcher "without a display"
[ "$launcher_code" -eq 1 ] || fail "exit code $launcher_code without a display, not 1"
grep -qx "Cannot open a display for the launcher's dialog" "$scratch/stderr" || fail "no report of the missing display"
grep -qx "You must install this before you will be able to run the game." "$scratch/stderr" ||
    fail "the dialog's text was not written without a display"
[ -e "$home2/Ostrelmark" ] && fail "the game ran without a display although libGL is broken"
echo "ok: no display for the dialog"

# --- 3. The dialog driven by keys --------------------------------------------------------------------------
stand_in="$scratch/stand-in"
mkdir -p "$stand_in/bin"
cp "$launcher" "$stand_in/launcher"
cat > "$stand_in/Torvi_DX9" <<'GAME'
#!/bin/sh
echo "$PWD $#" > "$STARTED"
GAME
cat > "$stand_in/bin/xdg-open" <<'OPENER'
#!/bin/sh
echo "$@" > "$OPENED"
OPENER
chmod +x "$stand_in/Torvi_DX9" "$stand_in/bin/xdg-open"
launcher_to_run="$stand_in/launcher"

# $1: the keys to press once the dialog is up; $2: the exit status they must give.
drive_dialog() {
    rm -f "$scratch/started" "$scratch/opened"
    run_launcher "$work" -u TORVI_NONINTERACTIVE LD_LIBRARY_PATH="$scratch/badgl" PATH="$stand_in/bin:$PATH" \
        STARTED="$scratch/started" OPENED="$scratch/opened"
    dialog=""
    find_dialog() { dialog=$(xdotool search --onlyvisible --pid "$launcher_pid" 2>/dev/null | head -n 1); [ -n "$dialog" ]; }
    wait_for 100 find_dialog || fail "no dialog window for keys \"$1\""
    sleep 0.5
    timeout 10 xdotool windowfocus --sync "$dialog" || fail "the dialog did not take the focus for keys \"$1\""
    timeout 10 xdotool key --delay 100 $1
    finish_launcher "after keys \"$1\""
    [ "$launcher_code" -eq "$2" ] || fail "exit code $launcher_code after keys \"$1\", not $2"
}

drive_dialog "Escape" 1
[ -e "$scratch/started" ] && fail "Escape started the game"
[ -e "$scratch/opened" ] && fail "Escape opened the page"

drive_dialog "Tab Return" 0
wait_for 50 test -s "$scratch/started" || fail "\"Ignore ...\" did not start the game"
[ "$(cat "$scratch/started")" = "$(readlink -f "$work") 0" ] || fail "the game was started as \"$(cat "$scratch/started")\""
[ -e "$scratch/opened" ] && fail "\"Ignore ...\" opened the page"

drive_dialog "shift+Tab Return" 1
wait_for 50 test -s "$scratch/opened" || fail "the page button did not open the page"
[ "$(cat "$scratch/opened")" = "https://www.mesa3d.org/" ] || fail "the page button opened \"$(cat "$scratch/opened")\""
[ -e "$scratch/started" ] && fail "the page button started the game"
echo "ok: the dialog's buttons"
echo "PASS"
INNER
