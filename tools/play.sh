#!/usr/bin/env bash
# Builds the game if it is stale and starts it under Wine. The settings file
# tsweeper.ini lies beside tsweeper.exe in build/windows/app.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/tools/build.sh" windows

if [ -z "${DISPLAY:-}" ]; then
  echo "No display: set DISPLAY (or run under xvfb-run) to see the game window." >&2
  exit 1
fi
export TSWEEPER_BUILD="$root/build/windows"
source "$root/tools/wine-env.sh"
tsweeper_prepare_prefix
exec wine "$TSWEEPER_BUILD/app/tsweeper.exe"
