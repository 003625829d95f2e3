#!/bin/sh
# Smoke test of the real Linux program in a private X server:
#   scripts/with-xvfb.sh tests/shell/program_x11_smoke.sh build/src/Zelvorin-Step [shot-folder]
# Runs a copy of the program in a fresh folder; checks that it writes its help document there
# (the embedded bytes, 325,307 of them) and never overwrites one, opens its window, takes
# File > New, and ends with status 0 after File > Exit answered Yes. Screenshots go to shot-folder.
set -u
program=$(realpath "$1")
shots=$(realpath "${2:-.}")
here=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/zs-smoke.XXXXXX")
trap 'rm -rf "$work"' EXIT
cp "$program" "$work/Zelvorin-Step"
help="$work/Zelvorin-Step_V2.5_HELP.pdf"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Starts the program and prints its window id, or nothing after 10 s.
start() {
    "$work/Zelvorin-Step" >"$work/log" 2>&1 &
    pid=$!
    for _ in $(seq 50); do
        window=$(xdotool search --name '^Zelvorin-Step$' 2>/dev/null | head -1)
        [ -n "$window" ] && return 0
        sleep 0.2
    done
    window=""
}

# File > Exit, answered Yes, and the program's status. $1: the Down presses that reach Exit
# (disabled items are skipped).
exit_and_wait() {
    xdotool mousemove --window "$window" 15 10 click 1
    sleep 0.5
    # shellcheck disable=SC2086
    xdotool key $1 Return
    sleep 0.7
    import -window root "$shots/zs-exit-question.png" 2>/dev/null
    xdotool key Return
    for _ in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.2
    done
    if kill -0 "$pid" 2>/dev/null; then
        fail "the program did not end after Exit, Yes"
        kill "$pid"
    fi
    wait "$pid"
    status=$?
}

start
[ -n "$window" ] || { fail "no window titled Zelvorin-Step"; cat "$work/log"; exit 1; }
[ "$(stat -c %s "$help" 2>/dev/null)" = 325307 ] || fail "help document missing or wrong size"
cmp -s "$help" "$here/docs/Zelvorin-Step_V2.5_HELP.pdf" || fail "help document differs from docs/"
xdotool getwindowgeometry "$window" | grep -q 'Geometry: 252x' || fail "window is not 252 wide"
import -window root "$shots/zs-start.png" 2>/dev/null
xdotool mousemove --window "$window" 15 10 click 1
sleep 0.5
xdotool key Down Down Return  # File > New
sleep 0.7
import -window root "$shots/zs-new.png" 2>/dev/null
exit_and_wait "Down Down Down Down"  # Open, New, Save as, Exit
[ "$status" = 0 ] || fail "exit status $status after Exit, Yes"

# A second start finds a file of that name and leaves it alone.
printf 'mine' >"$help"
start
[ -n "$window" ] || fail "no window on the second start"
[ "$(cat "$help")" = mine ] || fail "an existing help document was overwritten"
[ -n "$window" ] && exit_and_wait "Down Down Down"  # Open, New, Exit

[ "$failures" = 0 ] && echo "program smoke test passed"
exit "$failures"
