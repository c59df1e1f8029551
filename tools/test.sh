#!/usr/bin/env bash
# Builds everything that is stale and runs every test: the native tests, the
# same tests under AddressSanitizer and UndefinedBehaviorSanitizer, the fuzz
# run (a minute; TSWEEPER_FUZZ_SECONDS changes it), and the Windows build's
# tests under Wine on a private X server.
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/tools/build.sh" all || exit 1

passed=0
failed=0
# Runs one ctest and adds its counts to the totals.
run_ctest() {
  local dir="$1"; shift
  local log
  log=$(mktemp)
  ctest --test-dir "$dir" --output-on-failure "$@" 2>&1 | tee "$log"
  local total bad
  total=$(sed -n 's/.*tests passed, \([0-9]*\) tests\? failed out of \([0-9]*\).*/\2/p' "$log" | tail -n1)
  bad=$(sed -n 's/.*tests passed, \([0-9]*\) tests\? failed out of \([0-9]*\).*/\1/p' "$log" | tail -n1)
  if [ -z "$total" ]; then
    failed=$((failed + 1))
  else
    passed=$((passed + total - bad))
    failed=$((failed + bad))
  fi
  rm -f "$log"
}

echo "== Native tests"
run_ctest "$root/build/native" -j 2
echo "== Native tests with sanitizers"
run_ctest "$root/build/asan" -j 2

echo "== Fuzzing the rules and the mouse cases"
if "$root/tools/run-fuzz.sh" "${TSWEEPER_FUZZ_SECONDS:-60}"; then
  passed=$((passed + 1))
else
  failed=$((failed + 1))
fi

echo "== Windows tests under Wine"
export TSWEEPER_BUILD="$root/build/windows"
source "$root/tools/wine-env.sh"
tsweeper_start_xvfb || exit 1
trap 'wineserver -k 2>/dev/null; tsweeper_stop_xvfb' EXIT
tsweeper_prepare_prefix
# One persistent Wine server for the whole run instead of one per program,
# with Wine's services started once, before the tests run side by side.
wineserver -p
wine cmd /c exit >/dev/null 2>&1 </dev/null
run_ctest "$TSWEEPER_BUILD" -j 2

echo
echo "tests: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
