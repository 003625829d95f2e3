#!/usr/bin/env bash
# Checks the packages that scripts/package.sh made.
# The Debian package: lintian finds no error; its desktop entry and AppStream metadata are
# valid; each icon has the size its folder names; it holds the manual of docs/. Then it is
# installed with dpkg -i (and apt-get -f install) into a throwaway root, where the file type and
# the menu entry are registered, the menu entry's command starts the program with a step file
# under Xvfb and openbox, and zelvorin-step --help answers (test_installed_program.py).
# The Windows zip: it holds the program, its manual and the examples; under Wine the program's
# version resource reads the package version and --help answers the calling script.
# Usage: tests/packaging/check_packages.sh PACKAGE_DIR WINDOWS_BUILD_DIR [ARTEFACT_DIR]
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
packages=$(cd "$1" && pwd)
windows_build=$(cd "$2" && pwd)
artefacts=${3:-$packages/artefacts}
mkdir -p "$artefacts"
artefacts=$(cd "$artefacts" && pwd)
version=$(dpkg-parsechangelog -l packaging/debian/changelog -S Version)
deb=$packages/zelvorin-step_${version}_$(dpkg-architecture -qDEB_HOST_ARCH).deb
zip=$packages/Zelvorin-Step-$version-win64.zip
app=org.zelvorin.ZelvorinStep
work=$(mktemp -d "${TMPDIR:-/tmp}/zs-package-check.XXXXXX")
trap 'rm -rf "$work"' EXIT
status=0
fail() { echo "FAIL: $*"; status=1; }
ok() { echo "ok   $*"; }

echo "-- the Debian package"
lintian --fail-on error "$deb" >"$work/lintian.txt" 2>&1 &&
  ok "lintian: no errors, $(grep -c '^W:' "$work/lintian.txt" || true) warnings" ||
  { cat "$work/lintian.txt"; fail "lintian reports errors"; }
dpkg-deb -x "$deb" "$work/deb"
[[ $(dpkg-deb -f "$deb" Version) == "$version" ]] || fail "the package's version is not $version"
desktop-file-validate "$work/deb/usr/share/applications/$app.desktop" && ok "desktop entry valid" ||
  fail "desktop-file-validate"
appstreamcli validate --no-net "$work/deb/usr/share/metainfo/$app.metainfo.xml" >"$work/as.txt" 2>&1 &&
  ok "AppStream metadata valid" || { cat "$work/as.txt"; fail "appstreamcli validate"; }
for icon in "$work"/deb/usr/share/icons/hicolor/*/apps/$app.png; do
  size=$(basename "$(dirname "$(dirname "$icon")")")
  [[ $(identify -format '%wx%h' "$icon") == "$size" ]] || fail "icon ${icon#$work/deb} is not $size"
done
cmp -s "$work/deb/usr/lib/zelvorin-step/Zelvorin-Step_V2.5_HELP.pdf" docs/Zelvorin-Step_V2.5_HELP.pdf &&
  ok "the manual beside the program is docs/Zelvorin-Step_V2.5_HELP.pdf" || fail "manual differs"

echo "-- installed into a throwaway root, started from the menu entry"
# shellcheck disable=SC2016  # expanded inside the throwaway root
scripts/with-throwaway-root.sh -k "$artefacts" bash -c '
  set -eu
  dpkg -i "$1" >/dev/null 2>&1 || DEBIAN_FRONTEND=noninteractive apt-get -f install -y -qq >/dev/null
  [ "$(dpkg-query -W -f="\${Status}" zelvorin-step)" = "install ok installed" ]
  grep -q "^[0-9]*:application/x-zelvorin-step:\*\.stp$" /usr/share/mime/globs2
  grep -q "^application/x-zelvorin-step=$2.desktop;$" /usr/share/applications/mimeinfo.cache
  echo "ok   installed; .stp files are application/x-zelvorin-step and open with the menu entry"
  ZS_ARTEFACTS=$3 PYTHONDONTWRITEBYTECODE=1 NO_AT_BRIDGE=1 \
    scripts/with-xvfb.sh -w python3 tests/packaging/test_installed_program.py
' check "$deb" "$app" "$artefacts" || fail "the installed package"

echo "-- the Windows zip"
unzip -q "$zip" -d "$work/zip"
folder=$work/zip/Zelvorin-Step-$version
for file in Zelvorin-Step.exe Zelvorin-Step_V2.5_HELP.pdf examples/type-into-editor.stp; do
  [[ -f $folder/$file ]] || fail "the zip lacks $file"
done
x86_64-w64-mingw32-objdump -h "$folder/Zelvorin-Step.exe" | grep -q '\.debug' &&
  fail "Zelvorin-Step.exe is not stripped"
x86_64-w64-mingw32-objdump -p "$folder/Zelvorin-Step.exe" | grep 'DLL Name' | tr -d '\t' |
  grep -viE 'DLL Name: (kernel32|user32|gdi32|comctl32|comdlg32|shell32|winmm|msvcrt|advapi32|dwmapi)\.dll' &&
  fail "Zelvorin-Step.exe needs a DLL beyond the system's"
export WINEPREFIX=$windows_build/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
unset DISPLAY
wineserver -p >/dev/null 2>&1 || true
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$work"' EXIT
exe="Z:${folder//\//\\}\\Zelvorin-Step.exe"
# Into files, not pipes: Wine's services keep a pipe open as long as the server lives.
wine "$windows_build/tests/wine/zs_file_version.exe" "$exe" >"$work/version.crlf" 2>&1 || true
tr -d '\r' <"$work/version.crlf" >"$work/version.txt"
if grep -qx "FileVersion=$version" "$work/version.txt" && grep -qx "ProductVersion=$version" "$work/version.txt"; then
  ok "version resource: $(tr '\n' ' ' <"$work/version.txt")"
else
  cat "$work/version.txt"; fail "the version resource does not read $version"
fi
help_status=0
wine "$folder/Zelvorin-Step.exe" --help >"$work/help.txt" 2>/dev/null || help_status=$?
if ((help_status == 0)) && tr -d '\r' <"$work/help.txt" | head -n 1 | grep -qx 'Usage: Zelvorin-Step.exe \[FILE\]'; then
  ok "wine Zelvorin-Step.exe --help: the usage on standard output, status 0"
else
  cat "$work/help.txt"; fail "wine Zelvorin-Step.exe --help ended with status $help_status"
fi
exit $status
