#!/bin/sh
# Runs a command under a private Xvfb server (no window manager) and returns its exit status.
dir=$(mktemp -d)
Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp 5>"$dir/display" 2>"$dir/xvfb.log" &
server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; rm -rf "$dir"' EXIT INT TERM
tries=0
until [ -s "$dir/display" ]; do
    tries=$((tries + 1))
    if [ "$tries" -gt 100 ] || ! kill -0 "$server" 2>/dev/null; then
        echo "Xvfb did not start:" >&2
        cat "$dir/xvfb.log" >&2
        exit 1
    fi
    sleep 0.1
done
DISPLAY=":$(head -n 1 "$dir/display")"
export DISPLAY
"$@"
