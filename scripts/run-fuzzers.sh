#!/usr/bin/env bash
# Runs every libFuzzer target of a fuzz build for a bounded time, from its seed corpus.
set -euo pipefail
build=$1 seconds=$2
root=$(cd "$(dirname "$0")/.." && pwd)
shopt -s nullglob
targets=("$build"/fuzz/fuzz_*)
((${#targets[@]})) || { echo "no fuzz targets built"; exit 1; }
for target in "${targets[@]}"; do
  [[ -x $target && -f $target ]] || continue
  name=$(basename "$target")
  corpus=$build/corpus/$name
  mkdir -p "$corpus"
  seeds=()
  [[ -d $root/fuzz/corpus/$name ]] && seeds=("$root/fuzz/corpus/$name")
  echo "-- $name for ${seconds} s"
  "$target" -max_total_time="$seconds" -print_final_stats=0 -close_fd_mask=3 \
    "$corpus" "${seeds[@]}" >"$build/$name.log" 2>&1 || { tail -n 60 "$build/$name.log"; exit 1; }
  grep -E '^#[0-9]+.*(DONE|pulse)' "$build/$name.log" | tail -n 1 || true
done
