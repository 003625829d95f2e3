#!/usr/bin/env bash
# Starts the Windows program under Wine on the current X display (run it through
# scripts/with-xvfb.sh), checks that its main window opens and that it wrote its help document,
# keeps a screenshot in BUILD/artefacts/wine-main-window.png, and ends Wine.
# Usage: scripts/with-xvfb.sh scripts/wine-gui-smoke.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
export WINEPREFIX=$build/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
program=$build/src/Zelvorin-Step.exe
help=$build/src/Zelvorin-Step_V2.5_HELP.pdf
artefacts=$build/artefacts
mkdir -p "$artefacts"
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
wineserver -p >/dev/null 2>&1 || true

rm -f "$help"
wine "$program" >"$artefacts/wine-program.log" 2>&1 &
window=
for _ in $(seq 150); do
  window=$(xdotool search --name '^Zelvorin-Step$' 2>/dev/null | head -n 1) && [[ -n $window ]] && break
  sleep 0.2
done
if [[ -z $window ]]; then echo "FAIL: the main window did not open"; exit 1; fi
sleep 1  # let it paint
import -window root "$artefacts/wine-main-window.png"
status=0
if [[ -s $help ]]; then echo "ok   help document written ($(stat -c %s "$help") bytes)"; else
  echo "FAIL: no help document next to the program"; status=1; fi
eval "$(xdotool getwindowgeometry --shell "$window")"
echo "ok   main window open at $X,$Y, ${WIDTH}x$HEIGHT with its menu bar"
# File, New: the step editor appears with a first step; kept as the second screenshot.
xdotool mousemove $((X + 15)) $((Y + 9)) click 1
sleep 0.7
xdotool mousemove $((X + 40)) $((Y + 46)) click 1
sleep 1
import -window root "$artefacts/wine-main-window-new.png"
echo "ok   screenshots in $artefacts: wine-main-window.png, wine-main-window-new.png"
exit $status
