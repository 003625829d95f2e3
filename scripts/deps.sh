#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when any is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config python3
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  clang libclang-rt-14-dev
  libfltk1.3-dev libgtk-3-0 libx11-dev libxtst-dev libxi-dev libx11-xcb-dev libxcb-res0-dev libxcursor-dev libxinerama-dev libxft-dev
  xvfb openbox xdotool xterm x11-utils x11-xserver-utils x11-xkb-utils x11-apps imagemagick fonts-liberation poppler-utils socat
  g++-mingw-w64-x86-64 wine wine64
  dpkg-dev zip unzip lintian desktop-file-utils appstream shared-mime-info
  libwayland-dev wayland-protocols libxkbcommon-dev libglib2.0-dev
  sway xwayland foot wev weston mutter dbus-daemon dbus-bin libglib2.0-bin pipewire pipewire-bin
  fonts-dejavu-core
)
# Without what they recommend: the desktop portal's GNOME backend would bring all of GNOME Shell.
packages_alone=(
  xdg-desktop-portal xdg-desktop-portal-gnome xdg-dbus-proxy
)

missing() {
  for package in "$@"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || echo "$package"
  done
}
mapfile -t missing < <(missing "${packages[@]}")
mapfile -t missing_alone < <(missing "${packages_alone[@]}")

if ((${#missing[@]} + ${#missing_alone[@]})); then
  echo "Installing: ${missing[*]} ${missing_alone[*]}"
  sudo_cmd=()
  [[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  if ((${#missing[@]})); then
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq \
      "${missing[@]}" >/dev/null
  fi
  if ((${#missing_alone[@]})); then
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq \
      --no-install-recommends "${missing_alone[@]}" >/dev/null
  fi
fi
