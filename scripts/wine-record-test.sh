#!/usr/bin/env bash
# End-to-end recording test of the Windows build under Wine (run it through scripts/with-xvfb.sh):
# zs_record_steps records through the low-level hooks while xdotool clicks into Wine's notepad
# and types a text (X input, which Wine hands to the hooks as the user's), until Escape; the
# steps are written to a step file. A fresh notepad then gets the file's steps played into it,
# saves its text, and the file must hold exactly the typed text.
# Usage: scripts/with-xvfb.sh scripts/wine-record-test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
export WINEPREFIX=$build/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
steps=$build/tests/wine/zs_record_steps.exe
typer=$build/tests/wine/zs_type_text.exe
work=$(mktemp -d)
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$work"' EXIT
wineserver -p >/dev/null 2>&1 || true
winpath() { local p=${1//\//\\}; echo "Z:$p"; }

wait_for_window() {  # name pattern; prints the newest id
  for _ in $(seq 100); do
    ids=$(xdotool search --onlyvisible --name "$1" 2>/dev/null || true)
    [[ -n $ids ]] && { echo "$ids" | tail -1; return 0; }
    sleep 0.2
  done
  echo "FAIL: no window named '$1'" >&2
  return 1
}
start_notepad() {
  wine notepad >/dev/null 2>&1 &
  notepad=$!
  window=$(wait_for_window 'Notepad')
  sleep 1
  eval "$(xdotool getwindowgeometry --shell "$window")"
  click_x=$((X + WIDTH / 2)) click_y=$((Y + HEIGHT / 2))
}

start_notepad
wine "$steps" record "$(winpath "$work/recorded.stp")" >"$work/record.log" 2>&1 &
recorder=$!
for _ in $(seq 100); do grep -q recording "$work/record.log" 2>/dev/null && break; sleep 0.2; done
grep -q recording "$work/record.log" || { echo "FAIL: the recorder did not start"; cat "$work/record.log"; exit 1; }
xdotool mousemove --sync "$click_x" "$click_y" click 1
sleep 0.7
# A Ctrl+click, which the steps hold Control around; capitals typed with Caps Lock on.
xdotool keydown ctrl click 1 keyup ctrl
sleep 0.7
xdotool type --delay 80 'Hello, World! a;b {c} x=1+2'
xdotool key Caps_Lock
xdotool key --delay 80 a b c
xdotool key Caps_Lock
xdotool key Return
xdotool type --delay 80 'Line 2'
sleep 0.3
xdotool key Escape
wait "$recorder" || { echo "FAIL: the recorder failed"; cat "$work/record.log"; exit 1; }
tr -d '\r' <"$work/recorded.stp" | sed 's/^/     /'
tr -d '\r' <"$work/recorded.stp" | grep -A2 -x '2;String;{CONTROLDOWN};' | grep -q -x '2;String;{CONTROLUP};' ||
  { echo "FAIL: the Ctrl+click was not recorded between hold tokens"; exit 1; }
kill "$notepad" 2>/dev/null || true
wait "$notepad" 2>/dev/null || true
sleep 1

start_notepad
wine "$steps" play "$(winpath "$work/recorded.stp")" >/dev/null 2>&1
wine "$typer" "{CONTROLDOWN}s{CONTROLUP}" >/dev/null 2>&1
wait_for_window '^Save' >/dev/null
sleep 0.5
wine "$typer" "$(winpath "$work/played.txt"){ENTER}" >/dev/null 2>&1
for _ in $(seq 50); do [[ -s $work/played.txt ]] && break; sleep 0.2; done
[[ -s $work/played.txt ]] || { echo "FAIL: notepad saved no file"; exit 1; }
sleep 0.5
sed '1s/^\xEF\xBB\xBF//' "$work/played.txt" >"$work/got.txt"
printf 'Hello, World! a;b {c} x=1+2ABC\r\nLine 2' >"$work/expected.txt"
if cmp -s "$work/got.txt" "$work/expected.txt"; then
  echo "ok   the recorded steps played into notepad the text typed while recording"
else
  echo "FAIL: notepad saved:"; od -c "$work/played.txt" | head -20
  echo "expected:"; od -c "$work/expected.txt" | head -20
  exit 1
fi
