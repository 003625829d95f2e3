#!/usr/bin/env bash
# Installs what is missing, builds Zelvorin-Step in every configuration CI checks, runs every test:
# unit, Linux platform and X11 tests (own Xvfb), the Wayland input backends in headless
# compositors, AddressSanitizer + UndefinedBehaviorSanitizer, ThreadSanitizer, the Windows build
# under Wine, the packages, and each fuzz target for a bounded time.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=${ZS_BUILD_ROOT:-$root/out}
fuzz_seconds=${ZS_FUZZ_SECONDS:-60}
jobs=$(nproc)

scripts/deps.sh

stage() { printf '\n==== %s ====\n' "$*"; }

configure_and_build() {  # dir, cmake options...
  local dir=$1; shift
  cmake -S "$root" -B "$dir" -G Ninja "$@" >"$dir.configure.log" 2>&1 || { cat "$dir.configure.log"; return 1; }
  cmake --build "$dir" -j "$jobs"
}

mkdir -p "$out"

stage "Linux build and all tests (unit, platform, X11 under Xvfb)"
# Release, as users get it: warnings as errors must hold at full optimisation too.
configure_and_build "$out/linux" -DZS_BENCH=ON -DCMAKE_BUILD_TYPE=Release
scripts/with-xvfb.sh ctest --test-dir "$out/linux" --output-on-failure -j 2 -LE wayland

stage "Wayland input backends in headless sway (two outputs), mutter (also through the desktop portal) and weston"
ctest --test-dir "$out/linux" --output-on-failure -L wayland

stage "The README's run command builds the program and its window shows (under openbox)"
ZS_BUILD_DIR="$out/release" scripts/with-xvfb.sh -w tests/shell/run_command_test.sh

stage "AddressSanitizer + UndefinedBehaviorSanitizer"
configure_and_build "$out/asan" -DZS_SANITIZE=address,undefined
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir "$out/asan" --output-on-failure -j 2 -L 'unit|linux'

stage "ThreadSanitizer"
configure_and_build "$out/tsan" -DZS_SANITIZE=thread -DZS_NATIVE=OFF
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
  ctest --test-dir "$out/tsan" --output-on-failure -j 2

stage "Windows build (mingw-w64, static) and its unit tests under Wine"
configure_and_build "$out/win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake"
scripts/wine-tests.sh "$out/win"

stage "Packages: the Debian package and the Windows zip, checked, installed and started"
# Made from the builds above (the run command's Release build, the Windows build): no new compile.
ZS_PACKAGE_DIR="$out/package" ZS_PACKAGE_LINUX_BUILD="$out/release" \
  ZS_PACKAGE_WINDOWS_BUILD="$out/win" scripts/package.sh
tests/packaging/check_packages.sh "$out/package" "$out/win"

if [[ -f fuzz/CMakeLists.txt ]]; then
  stage "Fuzz targets (${fuzz_seconds} s each)"
  CC=clang CXX=clang++ configure_and_build "$out/fuzz" -DZS_FUZZ=ON -DZS_TESTS=OFF -DZS_NATIVE=OFF
  scripts/run-fuzzers.sh "$out/fuzz" "$fuzz_seconds"
fi

stage "All test stages passed"
