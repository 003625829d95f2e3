#!/usr/bin/env bash
# Builds the packages of Zelvorin-Step (installs the packages it needs first):
#   out/package/zelvorin-step_VERSION_amd64.deb   the Debian package
#   out/package/Zelvorin-Step-VERSION-win64.zip   the Windows program, its manual and examples
# VERSION comes from packaging/debian/changelog.
#   ZS_PACKAGE_DIR            where the packages go (default out/package)
#   ZS_PACKAGE_LINUX_BUILD    the Linux build folder (default out/package/linux)
#   ZS_PACKAGE_WINDOWS_BUILD  the mingw-w64 build folder (default out/package/win)
# A new build folder is made as a Release build without tests; an existing one keeps its
# configuration, so a test run can package the builds it has made already.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
dest=${ZS_PACKAGE_DIR:-$root/out/package}
linux_build=${ZS_PACKAGE_LINUX_BUILD:-$dest/linux}
windows_build=${ZS_PACKAGE_WINDOWS_BUILD:-$dest/win}
jobs=$(nproc)

scripts/deps.sh

version=$(dpkg-parsechangelog -l packaging/debian/changelog -S Version)
arch=$(dpkg-architecture -qDEB_HOST_ARCH)
deb=$dest/zelvorin-step_${version}_$arch.deb
zip=$dest/Zelvorin-Step-$version-win64.zip
mkdir -p "$dest"
work=$(mktemp -d "${TMPDIR:-/tmp}/zs-package.XXXXXX")
trap 'rm -rf "$work"' EXIT

build() {  # folder, target..., -- cmake options for a new folder...
  local dir=$1 targets=() new=()
  shift
  while (($#)) && [[ $1 != -- ]]; do targets+=("$1"); shift; done
  shift
  [[ -f $dir/CMakeCache.txt ]] || new=(-G Ninja -DCMAKE_BUILD_TYPE=Release -DZS_TESTS=OFF "$@")
  cmake -S "$root" -B "$dir" "${new[@]}" -DZS_PACKAGE=ON >"$work/configure.log" 2>&1 ||
    { cat "$work/configure.log"; return 1; }
  cmake --build "$dir" -j "$jobs" --target "${targets[@]}"
}

# Debian's own files, permissions and compression, and the control file with the dependencies
# that dpkg-shlibdeps finds for the libraries the program links.
debian_package() {
  local tree=$work/deb doc=$work/deb/usr/share/doc/zelvorin-step
  DESTDIR=$tree cmake --install "$linux_build" --prefix /usr >/dev/null
  strip --remove-section=.comment --remove-section=.note "$tree/usr/lib/zelvorin-step/Zelvorin-Step"
  install -m 644 packaging/debian/copyright "$doc/copyright"
  gzip -9n <packaging/debian/changelog >"$doc/changelog.gz"
  gzip -9n "$tree"/usr/share/man/man1/zelvorin-step.1
  find "$tree" -type d -exec chmod 755 {} +
  find "$tree" -type f -exec chmod 644 {} +
  chmod 755 "$tree/usr/lib/zelvorin-step/Zelvorin-Step"
  mkdir -p "$work/src/debian" "$tree/DEBIAN"
  cp packaging/debian/control "$work/src/debian/control"
  (cd "$work/src" && dpkg-shlibdeps -T"$work/substvars" "$tree/usr/lib/zelvorin-step/Zelvorin-Step")
  dpkg-gencontrol -pzelvorin-step -cpackaging/debian/control -lpackaging/debian/changelog \
    -T"$work/substvars" -P"$tree" -f"$work/files"
  (cd "$tree" && find usr -type f -print0 | LC_ALL=C sort -z | xargs -0 md5sum >DEBIAN/md5sums)
  chmod 644 "$tree/DEBIAN/control" "$tree/DEBIAN/md5sums"
  dpkg-deb --root-owner-group -Zxz --build "$tree" "$deb" >/dev/null
}

windows_zip() {
  local folder=Zelvorin-Step-$version
  cmake --install "$windows_build" --prefix "$work/zip/$folder" --strip >/dev/null
  rm -f "$zip"
  (cd "$work/zip" && zip -q -r -X "$zip" "$folder")
}

build "$linux_build" Zelvorin-Step zs_package_icons --
debian_package
build "$windows_build" Zelvorin-Step -- -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake"
windows_zip
echo "Packages:"
echo "  $deb"
echo "  $zip"
