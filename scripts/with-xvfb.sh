#!/bin/sh
# Runs a command against a private Xvfb on a free display and stops that server afterwards.
#   scripts/with-xvfb.sh [-s "Xvfb options"] command [arguments...]
# The server picks the display itself (-displayfd), so parallel runs never collide. The exit
# status is the command's; 125 when the server does not come up.
set -u

xvfb_options="-screen 0 1280x1024x24 -nolisten tcp -noreset"
if [ "${1:-}" = "-s" ]; then
    xvfb_options="$2"
    shift 2
fi
if [ $# -eq 0 ]; then
    echo "usage: $0 [-s \"Xvfb options\"] command [arguments...]" >&2
    exit 2
fi

workdir=$(mktemp -d "${TMPDIR:-/tmp}/with-xvfb.XXXXXX") || exit 125
fifo="$workdir/displayfd"
mkfifo "$fifo" || { rmdir "$workdir"; exit 125; }

# shellcheck disable=SC2086  # the options are meant to split into words
Xvfb -displayfd 3 $xvfb_options 3>"$fifo" 2>"$workdir/xvfb.log" &
xvfb_pid=$!

cleanup() {
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
    rm -rf "$workdir"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# Xvfb writes the display number and a newline once it accepts connections. A server that dies
# first closes the pipe, and the read returns empty. The timeout guards a server that hangs.
display=$(timeout 30 head -n 1 "$fifo")
if [ -z "$display" ]; then
    echo "with-xvfb: Xvfb did not start:" >&2
    cat "$workdir/xvfb.log" >&2
    exit 125
fi

DISPLAY=":$display"
export DISPLAY
"$@"
status=$?
exit $status
