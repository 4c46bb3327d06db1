#!/bin/bash
# A virtual X server of its own for each test. Xvfb takes the first free display number itself and says which
# (-displayfd), so any number of tests start side by side without taking each other's display.
#   bash virtual_display.sh 1280x1024 command arguments...   runs the command on a display of that screen size
# Sourced, it gives torvi_with_virtual_display with the same arguments.

torvi_with_virtual_display() {
    local size=$1
    shift
    local dir xvfb number="" status deadline=$((SECONDS + 120))
    dir=$(mktemp -d)
    # -noreset: by default the server resets when its last client leaves, and refuses the next one meanwhile.
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset 3>"$dir/number" 2>"$dir/xvfb.log" &
    xvfb=$!
    # The number is written once the server takes connections; a loaded machine may take long to get there.
    while [ "$SECONDS" -lt "$deadline" ]; do
        number=$(head -n 1 "$dir/number")
        [ -n "$number" ] && break
        kill -0 "$xvfb" 2>/dev/null || break
        sleep 0.05
    done
    if [ -z "$number" ]; then
        echo "FAIL: no virtual X server (Xvfb's messages follow)"
        cat "$dir/xvfb.log"
        kill "$xvfb" 2>/dev/null
        rm -rf "$dir"
        return 1
    fi
    DISPLAY=":$number" "$@"
    status=$?
    kill "$xvfb" 2>/dev/null
    wait "$xvfb" 2>/dev/null
    rm -rf "$dir"
    return "$status"
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    torvi_with_virtual_display "$@"
fi
