#!/usr/bin/env bash
# Starts the Windows program under Wine on the current X display (run it through
# scripts/with-xvfb.sh), checks that its main window opens and that it wrote its help document,
# keeps a screenshot in BUILD/artefacts/wine-main-window.png, opens tests/wine/data/sample.stp
# through File > Open, saves it under a new name through File > Save as... and checks that the
# saved file equals the sample byte for byte apart from header line 2 (user and date), and ends Wine.
# Usage: scripts/with-xvfb.sh scripts/wine-gui-smoke.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
sample=$(cd "$(dirname "$0")/../tests/wine/data" && pwd)/sample.stp
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

# Polls up to $2 tenths of a second for a window named exactly $1; prints its id.
wait_for_window() {
  local id
  for _ in $(seq "$2"); do
    id=$(xdotool search --name "^$1\$" 2>/dev/null | head -n 1) && [[ -n $id ]] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}
# Polls up to $2 tenths of a second until no window is named exactly $1.
wait_for_no_window() {
  for _ in $(seq "$2"); do
    xdotool search --name "^$1\$" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  return 1
}
# Opens the File menu and picks the item $1 places down (Open 1, New 2, Save 3, Save as... 4).
pick_file_menu_item() {
  xdotool mousemove $((X + 15)) $((Y + 9)) click 1
  sleep 0.5
  xdotool key --repeat "$1" --delay 80 Down
  xdotool key Return
}
# Types the Windows path $1 into the file requester's name field and confirms it.
answer_file_requester() {
  local dialog
  if ! dialog=$(wait_for_window Filename 100); then echo "FAIL: no file requester for $2"; return 1; fi
  xdotool windowfocus --sync "$dialog" 2>/dev/null || true
  sleep 0.5
  xdotool key ctrl+a
  xdotool type --delay 20 "$1"
  xdotool key Return
  if ! wait_for_no_window Filename 100; then echo "FAIL: the file requester for $2 stayed open"; return 1; fi
}
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

work=$build/wine-smoke
rm -rf "$work" && mkdir -p "$work"
cp "$sample" "$work/sample.stp"
saved=$work/saved.stp
pick_file_menu_item 1
answer_file_requester "$(windows_path "$work/sample.stp")" "File > Open" || exit 1
sleep 1
import -window root "$artefacts/wine-opened.png"
echo "ok   File > Open took $(windows_path "$work/sample.stp")"
pick_file_menu_item 4
answer_file_requester "$(windows_path "$saved")" "File > Save as..." || exit 1
for _ in $(seq 100); do [[ -s $saved ]] && break; sleep 0.1; done
sleep 0.7  # the "File saved" notice
import -window root "$artefacts/wine-saved.png"
if [[ ! -s $saved ]]; then echo "FAIL: File > Save as... wrote no $saved"; exit 1; fi
if cmp -s <(sed 2d "$sample") <(sed 2d "$saved"); then
  echo "ok   the saved file equals the opened one apart from header line 2"
else
  echo "FAIL: the saved file differs from the opened one:"
  diff <(sed 2d "$sample" | od -c) <(sed 2d "$saved" | od -c) | head -n 20 || true
  status=1
fi
line2=$(sed -n 2p "$saved")
if [[ $line2 == *" - "* && $line2 == *$'\r' ]]; then echo "ok   header line 2 of the saved file: ${line2%$'\r'}"; else
  echo "FAIL: header line 2 of the saved file is \"$line2\""; status=1; fi
exit $status
