#!/bin/sh
# Runs a command in a private headless Wayland session and stops the session afterwards.
#   scripts/with-wayland.sh sway|mutter|weston [-o outputs] command [arguments...]
# Each compositor runs XWayland, as on a user's desktop. sway and weston refuse to run as root,
# so as root the compositor and the command run as the user zs-wayland (made when missing) with
# a 0700 runtime folder of its own; the command's output files must then be writable by that
# user. mutter gets a D-Bus session and PipeWire of its own. The command sees WAYLAND_DISPLAY,
# XDG_RUNTIME_DIR, DISPLAY (XWayland), SWAYSOCK (sway), DBUS_SESSION_BUS_ADDRESS and XAUTHORITY
# (mutter). mutter's session is GNOME's to the desktop portal (XDG_CURRENT_DESKTOP), which its
# D-Bus session starts on demand. The exit status is the command's; 125 when the compositor does
# not come up.
set -u

if [ $# -lt 2 ]; then
    echo "usage: $0 sway|mutter|weston [-o outputs] command [arguments...]" >&2
    exit 2
fi
compositor=$1; shift
outputs=1
if [ "$1" = "-o" ]; then outputs=$2; shift 2; fi
here=$(cd "$(dirname "$0")" && pwd)

if [ "$(id -u)" = 0 ]; then
    user=zs-wayland
    id "$user" >/dev/null 2>&1 || useradd --create-home --shell /bin/sh "$user" || exit 125
    as_user="runuser -u $user --"
else
    as_user=
fi

# The session's folder: the runtime folder inside, private to the user, as a login makes it.
work=$(mktemp -d "${TMPDIR:-/tmp}/with-wayland.XXXXXX") || exit 125
chmod 755 "$work"
runtime="$work/runtime"
mkdir -m 700 "$runtime"
[ "$(id -u)" = 0 ] && chown "$user" "$runtime" "$work"
log="$work/compositor.log"
session_pid=  # the session's own process group, which the clean-up ends as a whole
cleanup() {
    if [ -n "$session_pid" ]; then
        kill -TERM "-$session_pid" 2>/dev/null
        wait "$session_pid" 2>/dev/null
    fi
    # mutter leaves the lock files and sockets of its X displays behind when it ends.
    [ "$compositor" = mutter ] && [ -e "$log" ] &&
        for number in $(sed -n 's/.*Using public X11 display :\([0-9]*\), (using :\([0-9]*\).*/\1 \2/p' "$log"); do
            lock="/tmp/.X$number-lock"
            kill -0 "$(cat "$lock" 2>/dev/null)" 2>/dev/null ||
                rm -f "$lock" "/tmp/.X11-unix/X$number"
        done
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# Waits (up to 30 s) while the session runs until a file exists, or holds a line that matches
# the pattern given as second argument.
wait_for() {
    tries=0
    until [ -e "$1" ] && { [ $# -lt 2 ] || grep -q "$2" "$1"; }; do
        tries=$((tries + 1))
        if [ "$tries" -gt 300 ] || ! kill -0 "$session_pid" 2>/dev/null; then
            echo "with-wayland: $compositor did not start:" >&2
            cat "$log" >&2
            exit 125
        fi
        sleep 0.1
    done
}

env_vars="XDG_RUNTIME_DIR=$runtime WAYLAND_DISPLAY=wayland-zs"
case "$compositor" in
sway)
    config="$work/sway.conf"
    {
        x=0
        i=1
        while [ "$i" -le "$outputs" ]; do
            echo "output HEADLESS-$i resolution 1280x720 position $x 0"
            x=$((x + 1280)); i=$((i + 1))
        done
        echo "default_border none"
        echo "focus_follows_mouse no"
        echo "xwayland enable"
        echo "exec sh -c 'echo \$DISPLAY > $work/display'"
    } >"$config"
    # sway names its socket itself (wayland-1...); WAYLAND_DISPLAY points at a fixed link.
    # shellcheck disable=SC2086  # the variables are meant to split into words
    setsid $as_user env $env_vars WAYLAND_DISPLAY= WLR_BACKENDS=headless WLR_RENDERER=pixman \
        WLR_LIBINPUT_NO_DEVICES=1 WLR_HEADLESS_OUTPUTS="$outputs" \
        sway -c "$config" >"$log" 2>&1 &
    session_pid=$!
    wait_for "$work/display"
    socket=$(cd "$runtime" && ls wayland-[0-9] 2>/dev/null | head -n 1)
    ln -s "$runtime/$socket" "$runtime/wayland-zs"
    SWAYSOCK=$(ls "$runtime"/sway-ipc.*.sock)
    DISPLAY=$(cat "$work/display")
    export SWAYSOCK DISPLAY
    ;;
mutter)
    # One D-Bus session for mutter, PipeWire and the command; it prints its address first.
    cat >"$work/session.sh" <<SESSION
#!/bin/sh
echo "\$DBUS_SESSION_BUS_ADDRESS" > $work/bus.tmp && mv $work/bus.tmp $work/bus
pipewire >$work/pipewire.log 2>&1 &
exec mutter --headless --wayland --wayland-display=wayland-zs --virtual-monitor 1280x720
SESSION
    chmod 755 "$work/session.sh"
    # shellcheck disable=SC2086  # the variables are meant to split into words
    setsid $as_user env $env_vars XDG_CURRENT_DESKTOP=GNOME dbus-run-session -- "$work/session.sh" >"$log" 2>&1 &
    session_pid=$!
    wait_for "$work/bus"
    wait_for "$runtime/wayland-zs"
    wait_for "$log" "Using public X11 display :"
    DBUS_SESSION_BUS_ADDRESS=$(cat "$work/bus")
    DISPLAY=$(sed -n 's/.*Using public X11 display \(:[0-9]*\).*/\1/p' "$log")
    XAUTHORITY=$(ls "$runtime"/.mutter-Xwaylandauth.*)
    export DBUS_SESSION_BUS_ADDRESS DISPLAY XAUTHORITY
    ;;
weston)
    # shellcheck disable=SC2086  # the variables are meant to split into words
    setsid $as_user env $env_vars weston --backend=headless-backend.so --socket=wayland-zs \
        --width=1280 --height=720 --xwayland >"$log" 2>&1 &
    session_pid=$!
    wait_for "$runtime/wayland-zs"
    wait_for "$log" "xserver listening on display :"
    DISPLAY=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$log")
    export DISPLAY
    ;;
*)
    echo "with-wayland: unknown compositor $compositor" >&2
    exit 2
    ;;
esac

XDG_RUNTIME_DIR=$runtime
WAYLAND_DISPLAY=wayland-zs
ZS_WAYLAND_COMPOSITOR=$compositor
export XDG_RUNTIME_DIR WAYLAND_DISPLAY ZS_WAYLAND_COMPOSITOR
$as_user env "PATH=$PATH" "$@"
