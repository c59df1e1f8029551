#!/usr/bin/env bash
# Builds the game if it is stale and starts it under Wine. The settings file
# tsweeper.ini lies beside tsweeper.exe in build/windows/app.
#   play.sh --web [PORT]   builds the page instead and serves build/web on
#                          http://127.0.0.1:PORT/ (8000 by default) until Ctrl+C.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

if [ "${1:-}" = "--web" ]; then
  "$root/tools/build.sh" web
  port="${2:-8000}"
  echo "Tolu Sweeper: http://127.0.0.1:$port/   (Ctrl+C stops the server)"
  exec python3 -m http.server "$port" --bind 127.0.0.1 --directory "$root/build/web"
fi
"$root/tools/build.sh" windows

if [ -z "${DISPLAY:-}" ]; then
  echo "No display: set DISPLAY (or run under xvfb-run) to see the game window." >&2
  exit 1
fi
export TSWEEPER_BUILD="$root/build/windows"
source "$root/tools/wine-env.sh"
tsweeper_prepare_prefix
exec wine "$TSWEEPER_BUILD/app/tsweeper.exe"
