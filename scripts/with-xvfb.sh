#!/usr/bin/env bash
# Runs a command with DISPLAY set to an Xvfb of its own on a free display; stops Xvfb afterwards.
set -euo pipefail
fdfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fdfile" 2>/dev/null &
xvfb_pid=$!
trap 'kill $xvfb_pid 2>/dev/null || true; rm -f "$fdfile"' EXIT
for _ in $(seq 100); do
  [[ -s $fdfile ]] && break
  sleep 0.1
done
[[ -s $fdfile ]] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n 1 "$fdfile")"
"$@"
