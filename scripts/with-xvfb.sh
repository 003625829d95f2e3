#!/bin/sh
# Runs a command against a private Xvfb on a free display and stops that server afterwards.
#   scripts/with-xvfb.sh [-s "Xvfb options"] [-w] command [arguments...]
# -w starts the openbox window manager on that display first, as a user's desktop has one.
# The server picks the display itself (-displayfd), so parallel runs never collide. The exit
# status is the command's; 125 when the server does not come up.
set -u

xvfb_options="-screen 0 1280x1024x24 -nolisten tcp -noreset"
with_wm=0
while [ $# -gt 0 ]; do
    case "$1" in
        -s) xvfb_options="$2"; shift 2 ;;
        -w) with_wm=1; shift ;;
        *) break ;;
    esac
done
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

wm_pid=
cleanup() {
    [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null && wait "$wm_pid" 2>/dev/null
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

# The window manager is ready once it has set its check window on the root window.
if [ "$with_wm" = 1 ]; then
    openbox --sm-disable >"$workdir/openbox.log" 2>&1 &
    wm_pid=$!
    tries=0
    until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
        tries=$((tries + 1))
        if [ "$tries" -gt 100 ] || ! kill -0 "$wm_pid" 2>/dev/null; then
            echo "with-xvfb: openbox did not start:" >&2
            cat "$workdir/openbox.log" >&2
            exit 125
        fi
        sleep 0.1
    done
    # openbox sets its check window before it manages windows; a window mapped in between stays
    # unmanaged for good. Ready means: a window mapped now is in the manager's client list (a
    # probe that fell in between is replaced after 2 s).
    tries=0
    probe_pid=
    until xprop -root _NET_CLIENT_LIST 2>/dev/null | grep -q '0x'; do
        if [ $((tries % 20)) -eq 0 ]; then
            [ -n "$probe_pid" ] && kill "$probe_pid" 2>/dev/null && wait "$probe_pid" 2>/dev/null
            xlogo -geometry 8x8+0+0 >/dev/null 2>&1 &
            probe_pid=$!
        fi
        tries=$((tries + 1))
        if [ "$tries" -gt 300 ]; then
            echo "with-xvfb: openbox manages no window:" >&2
            cat "$workdir/openbox.log" >&2
            exit 125
        fi
        sleep 0.1
    done
    kill "$probe_pid" 2>/dev/null
    wait "$probe_pid" 2>/dev/null
fi
"$@"
status=$?
exit $status
