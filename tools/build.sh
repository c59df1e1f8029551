#!/usr/bin/env bash
# Builds what is stale, through the presets of CMakePresets.json.
# Usage: build.sh [native|asan|windows|fuzz|web|all]   (all: every one of them)
# The web preset builds in build/wasm and puts the page's folder in build/web.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$root/tools/setup.sh"
tsweeper_install_missing

what="${1:-all}"
presets=(native asan windows web fuzz)
case "$what" in
  all) ;;
  native|asan|windows|fuzz|web) presets=("$what") ;;
  *) echo "usage: $0 [native|asan|windows|fuzz|web|all]" >&2; exit 2 ;;
esac

cd "$root"
for preset in "${presets[@]}"; do
  dir="build/$preset"
  [ "$preset" = web ] && dir=build/wasm
  if [ ! -f "$dir/build.ninja" ]; then
    cmake --preset "$preset" >/dev/null
  fi
  cmake --build --preset "$preset" -j "$(nproc)"
done
