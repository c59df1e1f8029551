#!/usr/bin/env bash
# Builds what is stale: the native build (core, mouse, tests, benchmark) and
# the Windows build (tsweeper.exe and its tests). Usage: build.sh [native|asan|windows|all]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$root/tools/setup.sh"
tsweeper_install_missing

what="${1:-all}"
jobs="$(nproc)"

configure_and_build() {
  local dir="$1"; shift
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$root" -B "$dir" -G Ninja "$@" >/dev/null
  fi
  cmake --build "$dir" -j "$jobs"
}

if [ "$what" = native ] || [ "$what" = all ]; then
  configure_and_build "$root/build/native"
fi
if [ "$what" = asan ] || [ "$what" = all ]; then
  configure_and_build "$root/build/asan" -DTSWEEPER_SANITIZE=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
if [ "$what" = windows ] || [ "$what" = all ]; then
  configure_and_build "$root/build/windows" \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake"
fi
