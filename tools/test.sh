#!/usr/bin/env bash
# Builds what is stale and runs every test: the native tests, the same tests
# under AddressSanitizer and UndefinedBehaviorSanitizer, the tests of the
# generators in tools/, the fuzz run (a minute; TSWEEPER_FUZZ_SECONDS changes
# it), the browser tests when the web edition is there (in Chromium, then
# those that every engine runs in Firefox and in WebKit), the Windows build's
# tests under Wine on a private X server, and the release. Every suite runs
# even when one before it failed (a suite whose build fails counts as one
# failed case). The line before the last names the suites that failed; the
# last counts the test cases: "tests: N passed, M failed".
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# What every suite needs, or one line saying what is missing.
if ! (source "$root/tools/setup.sh" && tsweeper_install_missing); then
  echo "tests: 0 passed, 1 failed"
  exit 1
fi

source "$root/tools/suite_tally.sh"

echo "== Native tests"
build native native && run_ctest native "$root/build/native" -j 2
echo "== Native tests with sanitizers"
build asan asan && run_ctest asan "$root/build/asan" -j 2

echo "== The generators' tests"
run_counted tools "$root/tools/test-tools.sh"

echo "== Fuzzing the rules and the mouse cases"
run_plain fuzz "$root/tools/run-fuzz.sh" "${TSWEEPER_FUZZ_SECONDS:-60}"

if [ -x "$root/tools/test-web.sh" ]; then
  echo "== Browser tests"
  run_counted web "$root/tools/test-web.sh"
  echo "== Browser tests in Firefox"
  run_counted firefox "$root/tools/test-web.sh" firefox
  echo "== Browser tests in WebKit"
  run_counted webkit "$root/tools/test-web.sh" webkit
fi

echo "== Windows tests under Wine"
if build windows windows; then
  export TSWEEPER_BUILD="$root/build/windows"
  source "$root/tools/wine-env.sh"
  if tsweeper_start_xvfb; then
    trap 'wineserver -k 2>/dev/null; tsweeper_stop_xvfb' EXIT
    tsweeper_prepare_prefix
    # One persistent Wine server for the whole run instead of one per program,
    # with Wine's services started once, before the tests run side by side.
    wineserver -p
    wine cmd /c exit >/dev/null 2>&1 </dev/null
    run_ctest windows "$TSWEEPER_BUILD" -j 2
  else
    echo "no X server for the Windows tests" >&2
    run_plain windows false
  fi

  echo "== The release"
  run_counted package "$root/tools/test-package.sh"
fi

finish
