#!/usr/bin/env bash
# Builds everything that is stale and runs every test: the native tests, the
# same tests under AddressSanitizer and UndefinedBehaviorSanitizer, the tests
# of the generators in tools/, the fuzz
# run (a minute; TSWEEPER_FUZZ_SECONDS changes it), the Windows build's tests
# under Wine on a private X server, and the browser tests when the web
# edition is there. Stops at the first suite that fails. Its last line counts
# the test cases: "tests: N passed, M failed".
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/tools/build.sh" all || exit 1

passed=0
failed=0
programs=0

finish() {
  echo
  echo "($programs test programs and suites)"
  echo "tests: $passed passed, $failed failed"
  [ "$failed" -eq 0 ] && [ "${1:-0}" -eq 0 ]
  exit
}

# Adds the counts of the GoogleTest reports in $1/test-results.
count_reports() {
  local counts p f n
  shopt -s nullglob
  local reports=("$1"/test-results/*.json)
  shopt -u nullglob
  [ ${#reports[@]} -gt 0 ] || return 0
  counts=$(python3 "$root/tools/count_gtest.py" "${reports[@]}") || return 1
  read -r p f n <<<"$counts"
  passed=$((passed + p))
  failed=$((failed + f))
  programs=$((programs + n))
}

# Runs one build's ctest, counts its cases, and stops everything when it failed.
run_ctest() {
  local dir="$1"; shift
  rm -rf "$dir/test-results"
  ctest --test-dir "$dir" --output-on-failure "$@"
  local status=$?
  count_reports "$dir"
  if [ "$status" -ne 0 ]; then
    echo "ctest failed in $dir" >&2
    # A program that died wrote no report: it counts as one failed case.
    [ "$failed" -gt 0 ] || failed=1
    finish 1
  fi
}

# Runs a suite script whose last line is "<name>: N passed, M failed", adds
# its counts, and stops everything when it failed.
run_counted() {
  local name="$1" script="$2" log status counts p f
  log=$(mktemp)
  "$script" 2>&1 | tee "$log"
  status=${PIPESTATUS[0]}
  programs=$((programs + 1))
  counts=$(sed -n "s/^$name: \([0-9]*\) passed, \([0-9]*\) failed\$/\1 \2/p" "$log" | tail -n1)
  rm -f "$log"
  if [ -n "$counts" ]; then
    read -r p f <<<"$counts"
    passed=$((passed + p))
    failed=$((failed + f))
  fi
  if [ "$status" -ne 0 ] || [ -z "$counts" ]; then
    [ "$failed" -gt 0 ] || failed=1
    finish 1
  fi
}

echo "== Native tests"
run_ctest "$root/build/native" -j 2
echo "== Native tests with sanitizers"
run_ctest "$root/build/asan" -j 2

echo "== The generators' tests"
run_counted tools "$root/tools/test-tools.sh"

echo "== Fuzzing the rules and the mouse cases"
programs=$((programs + 1))
if "$root/tools/run-fuzz.sh" "${TSWEEPER_FUZZ_SECONDS:-60}"; then
  passed=$((passed + 1))
else
  failed=$((failed + 1))
  finish 1
fi

if [ -x "$root/tools/test-web.sh" ]; then
  echo "== Browser tests"
  run_counted web "$root/tools/test-web.sh"
fi

echo "== Windows tests under Wine"
export TSWEEPER_BUILD="$root/build/windows"
source "$root/tools/wine-env.sh"
tsweeper_start_xvfb || finish 1
trap 'wineserver -k 2>/dev/null; tsweeper_stop_xvfb' EXIT
tsweeper_prepare_prefix
# One persistent Wine server for the whole run instead of one per program,
# with Wine's services started once, before the tests run side by side.
wineserver -p
wine cmd /c exit >/dev/null 2>&1 </dev/null
run_ctest "$TSWEEPER_BUILD" -j 2

echo "== The release"
run_counted package "$root/tools/test-package.sh"

finish 0
