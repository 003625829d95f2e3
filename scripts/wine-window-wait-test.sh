#!/usr/bin/env bash
# Opens and closes the gadget tests' windows (a borderless one as the pick list is, a captioned
# one as the editor is) under Wine with a window manager, and counts the times Wine's X11 driver
# gave up waiting for the window manager to take a window on. Each such wait lasts 2 s; with no
# window manager every close of a shown window waits so, which is what made the pick list take 2 s
# under a bare X server. The count must be 0.
# Usage: scripts/with-xvfb.sh -w scripts/wine-window-wait-test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
export WINEPREFIX=$build/wineprefix WINEDEBUG=fixme+event WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
wineserver -p >/dev/null 2>&1 || true
log=$build/wine-window-waits.log
wine "$build/tests/wine/zs_wine_tests.exe" --gtest_brief=1 \
  --gtest_filter='Win32GuiTest.ClientAreaKeepsItsSizeWithTheMenuBar:Win32GuiTest.WindowsOpenAtTheirClientPositionAndGadgetsTakeTheFocus' \
  >"$log" 2>&1 || { tr -d '\r' <"$log"; echo "FAIL: the window tests failed"; exit 1; }
waits=$(grep -c 'wait_for_withdrawn_state.*timed out' "$log" || true)
if [[ $waits -ne 0 ]]; then
  echo "FAIL: $waits windows waited for the window manager until Wine's time-out"
  exit 1
fi
echo "window waits: 0 timed out"
