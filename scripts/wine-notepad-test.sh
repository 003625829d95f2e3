#!/usr/bin/env bash
# End-to-end input test of the Windows build under Wine (run it through scripts/with-xvfb.sh):
# Wine's notepad is started, zs_type_text types a line of mixed text and keys into it through
# Win32Input and the program's text sender, saves it with Control+S, a file name and Enter, and
# the saved file must hold exactly the typed text. (Wine delivers injected keys to Wine's own
# windows only, so notepad is the receiver.)
# Usage: scripts/with-xvfb.sh scripts/wine-notepad-test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
export WINEPREFIX=$build/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
typer=$build/tests/wine/zs_type_text.exe
work=$(mktemp -d)
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$work"' EXIT
export LC_ALL=C.UTF-8  # Wine reads the arguments' é in the locale's character set
wineserver -p >/dev/null 2>&1 || true

wait_for_window() {  # name pattern
  for _ in $(seq 100); do
    xdotool search --name "$1" >/dev/null 2>&1 && return 0
    sleep 0.2
  done
  echo "FAIL: no window named '$1'" >&2
  return 1
}
type_keys() { wine "$typer" "$@" >/dev/null 2>&1; }

wine notepad >/dev/null 2>&1 &
wait_for_window 'Notepad'
sleep 1
# Shifted characters, digits and punctuation, a hold token, a character the US layout lacks (é:
# the ANSI byte 0xE9 in the exe's arguments, typed as a Unicode key event), Tab, Enter, and
# Backspace correcting a typo.
type_keys 'Hello World: a+b=(c*d) 100% {SHIFTDOWN}abc{SHIFTUP}é!' "{TAB}end.{ENTER}Line 2x{BACKSPACE}{ENTER}"
type_keys "{CONTROLDOWN}s{CONTROLUP}"
wait_for_window '^Save'
sleep 0.5
type_keys "Z:${work//\//\\}\\typed.txt{ENTER}"
for _ in $(seq 50); do [[ -s $work/typed.txt ]] && break; sleep 0.2; done
[[ -s $work/typed.txt ]] || { echo "FAIL: notepad saved no file"; exit 1; }
sleep 0.5

# Notepad may save the é as one ANSI byte or in UTF-8 (with or without a byte order mark).
if iconv -f UTF-8 -t UTF-8 "$work/typed.txt" >"$work/got.txt" 2>/dev/null; then :; else
  iconv -f CP1252 -t UTF-8 "$work/typed.txt" >"$work/got.txt"; fi
sed -i '1s/^\xEF\xBB\xBF//' "$work/got.txt"
printf 'Hello World: a+b=(c*d) 100%% ABC\xC3\xA9!\tend.\r\nLine 2\r\n' >"$work/expected.txt"
if cmp -s "$work/got.txt" "$work/expected.txt"; then
  echo "ok   notepad saved exactly the typed text"
else
  echo "FAIL: notepad saved:"; od -c "$work/typed.txt" | head -20
  echo "expected:"; od -c "$work/expected.txt" | head -20
  exit 1
fi

# Notepad found by its title behind another program's window and activated through the desktop
# service (as a Window "Activate" step does), then typed into: a line at the end of its text and
# Control+S, which saves to the same file without a dialog. The file must then hold exactly the
# saved text and that line.
cp "$work/typed.txt" "$work/expected.txt"
printf 'Activated by title.\r\n' >>"$work/expected.txt"
wine regedit >/dev/null 2>&1 &
wait_for_window 'Registry Editor'
wine "$typer" --activate 'Notepad' "Activated by title.{ENTER}" "{CONTROLDOWN}s{CONTROLUP}" \
  >/dev/null 2>&1 || { echo "FAIL: notepad was not activated by its title"; exit 1; }
saved_text() { cmp -s "$work/typed.txt" "$work/expected.txt"; }
for _ in $(seq 50); do saved_text && break; sleep 0.2; done
if saved_text; then
  echo "ok   notepad activated by its title got exactly the typed text"
else
  echo "FAIL: notepad saved:"; od -c "$work/typed.txt" | head -20
  exit 1
fi
