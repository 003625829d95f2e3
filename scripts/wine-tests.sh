#!/usr/bin/env bash
# Runs the Windows unit-test executable of a mingw build directory once under Wine, headless,
# then the Windows-only tests (gadget layer, serial, program, typing) where they were built.
set -euo pipefail
build=$(cd "$1" && pwd)  # Wine wants an absolute WINEPREFIX
export WINEPREFIX=$build/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
unset DISPLAY
wineserver -p 2>/dev/null || true
trap 'wineserver -k 2>/dev/null || true' EXIT
status=0
for exe in "$build"/tests/*.exe; do
  echo "-- $(basename "$exe") under Wine"
  wine "$exe" --gtest_brief=1 | tr -d '\r' || status=1
done

# The Windows-only tests, when the build has them: the Win32 backends and gadget layer (under a
# private Xvfb), windows that close at once under a window manager, serial end to end on a pty mapped to COM5, the program's smoke test with
# screenshots, its command line, typing into Wine's notepad, a step file played into notepad, and
# recording typing into it.
if [[ -f $build/tests/wine/zs_wine_tests.exe ]]; then
  scripts=$(cd "$(dirname "$0")" && pwd)
  wineserver -k >/dev/null 2>&1 || true
  echo "-- zs_wine_tests.exe under Wine and Xvfb"
  "$scripts/with-xvfb.sh" bash -c 'wineserver -p >/dev/null 2>&1 || true
    wine "$1" --gtest_brief=1 >"$2" 2>&1; rc=$?
    tr -d "\r" <"$2"; wineserver -k >/dev/null 2>&1; exit $rc' _ \
    "$build/tests/wine/zs_wine_tests.exe" "$build/zs_wine_tests.log" || status=1
  echo "-- windows close without waiting for Wine's time-out (under openbox)"
  "$scripts/with-xvfb.sh" -w "$scripts/wine-window-wait-test.sh" "$build" || status=1
  echo "-- serial end to end (COM5 on a pseudo-terminal)"
  "$scripts/wine-serial-test.sh" "$build" || status=1
  echo "-- Zelvorin-Step.exe smoke test"
  "$scripts/with-xvfb.sh" "$scripts/wine-gui-smoke.sh" "$build" || status=1
  echo "-- Zelvorin-Step.exe command line: --help, usage errors, file arguments"
  ZS_WINDOWS_PROGRAM=$build/src/Zelvorin-Step.exe "$scripts/with-xvfb.sh" \
    python3 "$scripts/../tests/wine/test_command_line.py" || status=1
  echo "-- typing into notepad"
  "$scripts/with-xvfb.sh" "$scripts/wine-notepad-test.sh" "$build" || status=1
  echo "-- a step file played with --play: notepad found by its title, typed into and saved"
  ZS_WINDOWS_PROGRAM=$build/src/Zelvorin-Step.exe "$scripts/with-xvfb.sh" \
    python3 "$scripts/../tests/wine/test_play_into_notepad.py" || status=1
  echo "-- recording into notepad, played back"
  "$scripts/with-xvfb.sh" "$scripts/wine-record-test.sh" "$build" || status=1
fi
exit $status
