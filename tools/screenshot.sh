#!/usr/bin/env bash
# Takes docs/screenshot.png: the real game under Wine on a private X server,
# a game in progress played with real pointer events; docs/dialog.png, its
# settings dialog; docs/screenshot-200.png, the same game on a display at
# 200 % (192 DPI); and docs/web.png, the page in headless chromium with the
# same game. With --web, only the last.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

web_screenshot() {
  "$root/tools/build.sh" web
  source "$root/tools/setup.sh"
  tsweeper_install_web_modules
  (cd "$root/web" && node screenshot.mjs "$root/docs/web.png")
}
if [ "${1:-}" = "--web" ]; then
  web_screenshot
  exit 0
fi
"$root/tools/build.sh" windows
command -v import >/dev/null || { apt-get update -qq && apt-get install -y -qq imagemagick >/dev/null; }

export TSWEEPER_BUILD="$root/build/windows"
source "$root/tools/wine-env.sh"
tsweeper_start_xvfb
trap 'wineserver -k 2>/dev/null; tsweeper_stop_xvfb' EXIT

# The square size and the counter strip, read from their one home.
square=$(sed -n 's/^constexpr int SquareSize = \([0-9]*\);$/\1/p' "$root/core/geometry.h")
[ -n "$square" ] || { echo "No SquareSize in core/geometry.h" >&2; exit 1; }
columns=16 rows=10

# Plays the same game at `dpi` (the display's zoom `zoom`) and takes the
# window into `picture`; with `dialog`, the settings dialog too.
shoot_game() {
  local dpi="$1" zoom="$2" picture="$3" dialog="${4:-}"
  export TSWEEPER_WINE_DPI="$dpi"
  source "$root/tools/wine-env.sh"
  tsweeper_prepare_prefix
  local run="$TSWEEPER_BUILD/screenshot-run-$dpi"
  rm -rf "$run" && mkdir -p "$run"
  cp "$TSWEEPER_BUILD/app/tsweeper.exe" "$run/"
  printf '[Set]\r\nWinX=0\r\nWinY=0\r\nX=%d\r\nY=%d\r\nBom=22\r\n' "$columns" "$rows" >"$run/tsweeper.ini"
  (cd "$run" && wine tsweeper.exe >/dev/null 2>&1 &)

  local window=""
  for _ in $(seq 1 100); do
    window=$(xdotool search --name '^Tolu Sweeper$' 2>/dev/null | head -n1) && [ -n "$window" ] && break
    sleep 0.1
  done
  [ -n "$window" ] || { echo "The game window did not appear" >&2; exit 1; }
  sleep 1
  eval "$(xdotool getwindowgeometry --shell "$window")"

  # The client area at the bottom of the frame that Wine draws, as far from
  # its left, right and bottom edges: the caption and the menu bar above it.
  local size=$((zoom * square))
  local border=$(((WIDTH - size * columns) / 2))
  local client_x=$((X + border)) client_y=$((Y + HEIGHT - border - size * (rows + 1)))
  click() {  # button column row: the centre of square (column, row), under the counter strip
    xdotool mousemove $((client_x + size * $2 + size / 2)) $((client_y + size * ($3 + 1) + size / 2)) click "$1"
    sleep 0.2
  }
  # The fixed bomb sequence makes this the same game every time: a first open
  # that floods, then a few flags on bombs beside the opened squares.
  click 1 6 8
  click 3 3 8
  click 3 3 9
  click 3 9 7
  click 3 1 7
  sleep 0.5
  xdotool mousemove 1270 1010
  sleep 0.5
  import -window root -crop "${WIDTH}x${HEIGHT}+$((X))+$((Y))" "$picture"
  echo "Wrote $picture"

  if [ -n "$dialog" ]; then
    # The settings dialog, opened from the keyboard as a player may: Alt+G, S.
    xdotool windowfocus "$window"
    xdotool key --window "$window" alt+g
    sleep 0.5
    xdotool key s
    sleep 1
    import -window root -crop "$((360 * zoom))x$((190 * zoom))+$((X))+$((Y))" "$dialog"
    echo "Wrote $dialog"
  fi
  wineserver -k
  sleep 1
}

shoot_game 96 1 "$root/docs/screenshot.png" "$root/docs/dialog.png"
# The same at 200 % scaling: every pixel a 2 x 2 block, menus and caption at
# the system's scale.
shoot_game 192 2 "$root/docs/screenshot-200.png"

web_screenshot
