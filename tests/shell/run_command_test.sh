#!/usr/bin/env bash
# The README's run command: scripts/run.sh builds the program and its main window shows on the
# display; closing the window ends the command with status 0. Needs an X display (with-xvfb.sh):
#   ZS_BUILD_DIR=out/release scripts/with-xvfb.sh -w tests/shell/run_command_test.sh
# A build folder that is kept between runs makes the build step an incremental one.
set -u
cd "$(dirname "$0")/../.."
log=$(mktemp "${TMPDIR:-/tmp}/run-command.XXXXXX")
trap 'rm -f "$log"' EXIT

fail() {
  echo "run command test: $*" >&2
  cat "$log" >&2
  [[ -n ${pid:-} ]] && kill "$pid" 2>/dev/null
  exit 1
}

scripts/run.sh >"$log" 2>&1 &
pid=$!

# The build comes before the window: poll until one of them ends, within a bound for a slow build.
window=
for ((polls = 0; polls < 3600; polls++)); do
  window=$(xdotool search --onlyvisible --name '^Zelvorin-Step' 2>/dev/null | head -n 1)
  [[ -n $window ]] && break
  if ! kill -0 "$pid" 2>/dev/null; then
    wait "$pid"
    status=$?
    pid=
    fail "scripts/run.sh ended (status $status) before the main window showed"
  fi
  sleep 0.5
done
[[ -n $window ]] || fail "no main window within 30 minutes"

# The close box, as a window manager sends it; nothing is unsaved, so the program just ends.
python3 - "$window" <<'PY' || fail "could not send the close request"
import sys
sys.path.insert(0, "tests/program")
import zs_editing
zs_editing.close_window(int(sys.argv[1]))
PY
for ((polls = 0; polls < 120; polls++)); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.5
done
kill -0 "$pid" 2>/dev/null && fail "the program did not end after its window was closed"
wait "$pid"
status=$?
pid=
((status == 0)) || fail "scripts/run.sh ended with status $status"
echo "run command test: the main window showed and the program ended with status 0"
