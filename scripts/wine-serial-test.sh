#!/usr/bin/env bash
# End-to-end serial test of the Windows build under Wine: COM5 is mapped to a pseudo-terminal
# through Wine's HKLM\Software\Wine\Ports key, zs_serial_send plays "Initialise" and "String"
# steps on COM5, and the bytes and line settings are checked on the other side of the pty.
# Usage: scripts/wine-serial-test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
export WINEPREFIX=$build/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
unset DISPLAY
sender=$build/tests/wine/zs_serial_send.exe
work=$(mktemp -d)
holder_pid=
cleanup() {
  [[ -n $holder_pid ]] && kill "$holder_pid" 2>/dev/null || true
  quiet_server
  wine reg delete 'HKLM\Software\Wine\Ports' /v COM5 /f >/dev/null 2>&1 || true
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT

# A persistent server started here keeps its object dump on exit out of the output.
quiet_server() { wineserver -p >/dev/null 2>&1 || true; }

# Holds the pty master open, names the slave in $work/slave, then reports the first N bytes that
# arrive (hex) and the line settings the sender made (baud, stop bits, parity odd) in $work/got.
start_pty_holder() {  # expected byte count
  python3 - "$work" "$1" <<'PY' &
import os, pty, select, sys, termios, time
work, count = sys.argv[1], int(sys.argv[2])
master, slave = pty.openpty()
with open(os.path.join(work, "slave.tmp"), "w") as f:
    f.write(os.ttyname(slave))
os.rename(os.path.join(work, "slave.tmp"), os.path.join(work, "slave"))
os.close(slave)
data, deadline = b"", time.monotonic() + 60
while len(data) < count and time.monotonic() < deadline:
    if select.select([master], [], [], 0.2)[0]:
        try:
            data += os.read(master, 256)
        except OSError:  # no slave open at the moment
            time.sleep(0.05)
attrs = termios.tcgetattr(master)
speeds = {getattr(termios, n): n[1:] for n in dir(termios) if n.startswith("B") and n[1:].isdigit()}
cflag = attrs[2]
report = "%s baud=%s stop=%d parodd=%d\n" % (data.hex(), speeds.get(attrs[4], "?"),
         2 if cflag & termios.CSTOPB else 1, 1 if cflag & termios.PARODD else 0)
with open(os.path.join(work, "got"), "w") as f:
    f.write(report)
PY
  holder_pid=$!
  for _ in $(seq 100); do [[ -s $work/slave ]] && return 0; sleep 0.05; done
  echo "pty holder did not start" >&2; return 1
}

check() {  # settings telegram expected-report
  local settings=$1 telegram=$2 expected=$3
  rm -f "$work/slave" "$work/got"
  start_pty_holder "${#telegram}"
  quiet_server
  wine reg add 'HKLM\Software\Wine\Ports' /v COM5 /t REG_SZ /d "$(cat "$work/slave")" /f >/dev/null
  # Wine reads the port mapping when its server starts.
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  quiet_server
  # Into a file, not a pipe: Wine's helper processes keep a pipe open after the sender ends.
  local sent=0
  wine "$sender" COM5 "$settings" "$telegram" >"$work/log" 2>&1 || sent=$?
  tr -d '\r' <"$work/log"
  wait "$holder_pid"; holder_pid=
  local got; got=$(cat "$work/got")
  if [[ $sent == 0 && $got == "$expected" ]]; then
    echo "ok   \"$settings\" \"$telegram\": $got"
  else
    echo "FAIL \"$settings\" \"$telegram\": got '$got', expected '$expected'"
    return 1
  fi
}

# A port whose other end never reads: the write must end soon after the stop, not after its
# time-out of 100 ms a byte.
check_stopped_write() {
  rm -f "$work/slave"
  python3 - "$work" <<'PY' &
import os, pty, sys, time
master, slave = pty.openpty()
with open(os.path.join(sys.argv[1], "slave.tmp"), "w") as f:
    f.write(os.ttyname(slave))
os.rename(os.path.join(sys.argv[1], "slave.tmp"), os.path.join(sys.argv[1], "slave"))
os.close(slave)
time.sleep(60)  # holds the master open and never reads
PY
  holder_pid=$!
  for _ in $(seq 100); do [[ -s $work/slave ]] && break; sleep 0.05; done
  quiet_server
  wine reg add 'HKLM\Software\Wine\Ports' /v COM5 /t REG_SZ /d "$(cat "$work/slave")" /f >/dev/null
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  quiet_server
  local sent=0
  timeout 60 wine "$sender" COM5 "9600 N 8 1" --stop-after 500 200000 >"$work/log" 2>&1 || sent=$?
  kill "$holder_pid" 2>/dev/null || true; wait "$holder_pid" 2>/dev/null || true; holder_pid=
  if [[ $sent == 0 ]]; then
    echo "ok   stopped write: $(tr -d '\r' <"$work/log")"
  else
    echo "FAIL stopped write (status $sent): $(tr -d '\r' <"$work/log")"
    return 1
  fi
}

status=0
check_stopped_write || status=1
check "9600 N 8 1" "ATZ" "41545a baud=9600 stop=1 parodd=0" || status=1
check "19200 O 7 2" "ATDT123" "41544454313233 baud=19200 stop=2 parodd=1" || status=1
exit $status
