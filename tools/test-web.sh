#!/usr/bin/env bash
# Builds the page (build/web) and the native replay its tests compare with,
# installs what the browser tests need when it is missing (chromium, Firefox
# ESR, WebKitGTK's driver, Node and npm from Debian; playwright-core and
# puppeteer-core from web/package-lock.json, never a browser download), and
# runs the tests in one engine: with no argument every test in headless
# chromium, its last line "web: N passed, M failed"; with `firefox` or
# `webkit` the tests that every engine runs (web/tests/other-engines.mjs),
# WebKit's on a private X server, the last line "firefox: ..." or "webkit: ...".
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
engine="${1:-}"
suite="${engine:-web}"
case "$engine" in
  ''|firefox|webkit) ;;
  *) echo "usage: $0 [firefox|webkit]" >&2; exit 2 ;;
esac
fail() { echo "$1" >&2; echo "$suite: 0 passed, 1 failed"; exit 1; }

"$root/tools/build.sh" web || fail "the page did not build"
cd "$root"
if [ ! -f build/native/build.ninja ]; then
  cmake --preset native >/dev/null || fail "the native build did not configure"
fi
cmake --build build/native --target web_replay -j 2 >/dev/null || fail "the replay did not build"

source "$root/tools/setup.sh"
set +e
tsweeper_install_web_modules || fail "npm ci failed"
export PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 PUPPETEER_SKIP_DOWNLOAD=1
cd "$root/web"

log=$(mktemp)
cleanup() { rm -f "$log"; }
trap cleanup EXIT
if [ -z "$engine" ]; then
  node --test --test-concurrency=2 --test-reporter=tap tests/*.test.mjs | tee "$log"
  status=${PIPESTATUS[0]}
else
  if [ "$engine" = webkit ]; then
    # Room for the window at a ratio of 2.
    source "$root/tools/xvfb.sh"
    tsweeper_start_xvfb 2000x1500 || fail "no X server for WebKit"
    trap 'tsweeper_stop_xvfb; cleanup' EXIT
  fi
  TSWEEPER_ENGINE="$engine" node --test --test-reporter=tap tests/other-engines.mjs | tee "$log"
  status=${PIPESTATUS[0]}
fi
passed=$(sed -n 's/^# pass \([0-9]*\)$/\1/p' "$log" | tail -n1)
failed=$(sed -n 's/^# fail \([0-9]*\)$/\1/p' "$log" | tail -n1)
if [ -z "$passed" ] || [ -z "$failed" ]; then
  echo "$suite: 0 passed, 1 failed"
  exit 1
fi
[ "$status" -ne 0 ] && [ "$failed" -eq 0 ] && failed=1
echo "$suite: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
