#!/usr/bin/env bash
# A private X server for the programs under test (the exe under Wine, WebKit's
# browser), sourced by wine-env.sh and test-web.sh.

# Starts a private X server, its screen $1 (1280x1024 unless given), and
# says where in DISPLAY.
tsweeper_start_xvfb() {
  local n size="${1:-1280x1024}"
  for n in $(seq 90 120); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
      Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
      TSWEEPER_XVFB_PID=$!
      export DISPLAY=":$n"
      local i
      for i in $(seq 1 50); do
        [ -e "/tmp/.X11-unix/X$n" ] && return 0
        sleep 0.1
      done
      echo "Xvfb did not start on :$n" >&2
      return 1
    fi
  done
  echo "No free X display number" >&2
  return 1
}

tsweeper_stop_xvfb() {
  if [ -n "${TSWEEPER_XVFB_PID:-}" ]; then
    kill "$TSWEEPER_XVFB_PID" 2>/dev/null || true
    wait "$TSWEEPER_XVFB_PID" 2>/dev/null || true
  fi
}
