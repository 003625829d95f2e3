#!/usr/bin/env bash
# Runs the Windows unit-test executable of a mingw build directory once under Wine, headless.
set -euo pipefail
build=$1
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
exit $status
