#!/usr/bin/env bash
# Installs what is missing, builds Zelvorin-Step for Linux and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${ZS_BUILD_DIR:-$PWD/out/release}

scripts/deps.sh
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZS_TESTS=OFF >/dev/null
cmake --build "$build" -j "$(nproc)"

program=$build/Zelvorin-Step
if [[ ! -x $program ]]; then
  echo "Built everything; the program itself (its main window) is not part of this tree yet."
  exit 0
fi
exec "$program" "$@"
