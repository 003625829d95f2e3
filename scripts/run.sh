#!/usr/bin/env bash
# Installs what is missing, builds Zelvorin-Step for Linux (Release, no tests) and starts it.
#   ZS_BUILD_DIR  the build folder (default out/release); arguments go to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${ZS_BUILD_DIR:-$PWD/out/release}

scripts/deps.sh
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZS_TESTS=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target Zelvorin-Step

program=$build/src/Zelvorin-Step
if [[ ! -x $program ]]; then
  echo "run.sh: the build made no program at $program" >&2
  exit 1
fi
exec "$program" "$@"
