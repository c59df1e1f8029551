#!/usr/bin/env bash
# Builds the page (build/web) and the native replay its tests compare with,
# installs what the browser tests need when it is missing (chromium, Node and
# npm from Debian; playwright-core from web/package-lock.json, never a
# browser download), and runs the tests in headless chromium. Its last line:
# "web: N passed, M failed".
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
fail() { echo "$1" >&2; echo "web: 0 passed, 1 failed"; exit 1; }

"$root/tools/build.sh" web || fail "the page did not build"
cd "$root"
if [ ! -f build/native/build.ninja ]; then
  cmake --preset native >/dev/null || fail "the native build did not configure"
fi
cmake --build build/native --target web_replay -j 2 >/dev/null || fail "the replay did not build"

source "$root/tools/setup.sh"
set +e
tsweeper_install_web_modules || fail "npm ci failed"
export PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1
cd "$root/web"

log=$(mktemp)
trap 'rm -f "$log"' EXIT
node --test --test-concurrency=2 --test-reporter=tap tests/*.test.mjs | tee "$log"
status=${PIPESTATUS[0]}
passed=$(sed -n 's/^# pass \([0-9]*\)$/\1/p' "$log" | tail -n1)
failed=$(sed -n 's/^# fail \([0-9]*\)$/\1/p' "$log" | tail -n1)
if [ -z "$passed" ] || [ -z "$failed" ]; then
  echo "web: 0 passed, 1 failed"
  exit 1
fi
[ "$status" -ne 0 ] && [ "$failed" -eq 0 ] && failed=1
echo "web: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
