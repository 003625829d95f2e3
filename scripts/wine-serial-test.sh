#!/usr/bin/env bash
# End-to-end serial test of the Windows build under Wine: COM5 is mapped to a pseudo-terminal
# through Wine's HKLM\Software\Wine\Ports key, zs_serial_send plays "Initialise" and "String"
# steps on COM5, and the bytes and line settings are checked on the other side of the pty; then
# queries whose device answers, vanishes or stays silent; last the program itself plays a Query
# step on COM5 unattended (--play) under a private Xvfb.
# Usage: scripts/wine-serial-test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
export WINEPREFIX=$build/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
unset DISPLAY
sender=$build/tests/wine/zs_serial_send.exe
program=$build/src/Zelvorin-Step.exe
scripts=$(cd "$(dirname "$0")" && pwd)
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

# Maps COM5 to the pty named in $work/slave.
map_com5() {
  quiet_server
  wine reg add 'HKLM\Software\Wine\Ports' /v COM5 /t REG_SZ /d "$(cat "$work/slave")" /f >/dev/null
  # Wine reads the port mapping when its server starts.
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  quiet_server
}

check() {  # settings telegram expected-report
  local settings=$1 telegram=$2 expected=$3
  rm -f "$work/slave" "$work/got"
  start_pty_holder "${#telegram}"
  map_com5
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
  map_com5
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

# The device waits for the query, then (MODE) answers with the hex PIECES, 50 ms apart, or closes
# its end as an unplugged adapter does, or says nothing. A previous user left XON/XOFF on the line,
# which must not swallow the reply's 11 and 13 bytes.
start_device() {  # mode query-hex pieces-hex...
  python3 - "$work" "$@" <<'PY' &
import os, pty, select, sys, termios, time
work, mode, query, pieces = sys.argv[1], sys.argv[2], bytes.fromhex(sys.argv[3]), sys.argv[4:]
master, slave = pty.openpty()
attrs = termios.tcgetattr(slave)
attrs[0] |= termios.IXON | termios.IXOFF
termios.tcsetattr(slave, termios.TCSANOW, attrs)
with open(os.path.join(work, "slave.tmp"), "w") as f:
    f.write(os.ttyname(slave))
os.rename(os.path.join(work, "slave.tmp"), os.path.join(work, "slave"))
os.close(slave)
data, deadline = b"", time.monotonic() + 60
while query not in data and time.monotonic() < deadline:
    if select.select([master], [], [], 0.2)[0]:
        try:
            data += os.read(master, 256)
        except OSError:  # no slave open at the moment
            time.sleep(0.05)
if mode == "vanish":
    os.close(master)
    sys.exit(0)
for piece in pieces if mode == "answer" else []:
    os.write(master, bytes.fromhex(piece))
    time.sleep(0.05)
time.sleep(60)  # holds the line until the test ends
PY
  holder_pid=$!
  for _ in $(seq 100); do [[ -s $work/slave ]] && return 0; sleep 0.05; done
  echo "device did not start" >&2; return 1
}

check_query() {  # mode expected-status expected-output-start pieces-hex...
  local mode=$1 expected_status=$2 expected=$3; shift 3
  local query="*IDN?" query_hex=2a49444e3f
  rm -f "$work/slave"
  start_device "$mode" "$query_hex" "$@"
  map_com5
  local status=0
  timeout 60 wine "$sender" COM5 "9600 N 8 1" --query "$query" 41434d45001113 2000 \
    >"$work/log" 2>&1 || status=$?
  kill "$holder_pid" 2>/dev/null || true; wait "$holder_pid" 2>/dev/null || true; holder_pid=
  local got; got=$(tr -d '\r' <"$work/log")
  if [[ $status == "$expected_status" && $got == "$expected"* ]]; then
    echo "ok   query, device $mode: $got"
  else
    echo "FAIL query, device $mode (status $status, expected $expected_status): '$got'," \
      "expected '$expected...'"
    return 1
  fi
}

# Zelvorin-Step.exe --play of an Initialise and a Query step on COM5: the exit status, and what
# it wrote to standard error.
check_play() {  # mode expected-status expected-error pieces-hex...
  local mode=$1 expected_status=$2 expected=$3; shift 3
  rm -f "$work/slave"
  start_device "$mode" 2a49444e3f "$@"
  map_com5
  printf '%s\r\n' "Zelvorin-Step 2.5" "tester  -  01.01.2026 00:00" "" \
    "5;COM5;Initialise;9600 N 8 1;" "12;COM5;String;*IDN?;ACME;2.0;0;" >"$work/query.stp"
  local status=0
  # Wine's desktop process shares the program's standard error: it ends before the X server.
  timeout 120 "$scripts/with-xvfb.sh" bash -c 'wine "$1" --play "$2"; rc=$?
    wineserver -k >/dev/null 2>&1; exit $rc' _ "$program" "Z:${work//\//\\}\\query.stp" \
    >"$work/out" 2>"$work/err" || status=$?
  kill "$holder_pid" 2>/dev/null || true; wait "$holder_pid" 2>/dev/null || true; holder_pid=
  local got; got=$(tr -d '\r' <"$work/err")
  if [[ $status == "$expected_status" && $got == "$expected" ]]; then
    echo "ok   --play, device $mode: status $status '$got'"
  else
    echo "FAIL --play, device $mode: status $status (expected $expected_status)," \
      "standard error '$got' (expected '$expected')"
    return 1
  fi
}

status=0
# The echo of the query, then the reply in three pieces.
check_query answer 0 "received 2a49444e3f41434d45001113: reply;" \
  2a49444e3f 4143 4d4500 1113 || status=1
check_query vanish 3 "received : gone (" || status=1
check_query silent 4 "received : no reply;" || status=1
check_stopped_write || status=1
check "9600 N 8 1" "ATZ" "41545a baud=9600 stop=1 parodd=0" || status=1
check "19200 O 7 2" "ATDT123" "41544454313233 baud=19200 stop=2 parodd=1" || status=1
if [[ -f $program ]]; then
  check_play answer 0 "" 2a49444e3f 4143 4d450d0a || status=1
  check_play silent 3 "Step 2: No reply on COM5" || status=1
fi
exit $status
