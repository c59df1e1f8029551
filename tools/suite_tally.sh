# The test command's tally, sourced by tools/test.sh: runs suites, adds up
# their cases, remembers which suites failed, and prints the closing lines.
# Needs $root (the repository).

passed=0
failed=0
programs=0
failed_suites=()

finish() {
  echo
  echo "($programs test programs and suites)"
  [ ${#failed_suites[@]} -eq 0 ] || echo "failed suites: ${failed_suites[*]}"
  echo "tests: $passed passed, $failed failed"
  [ "$failed" -eq 0 ] && [ ${#failed_suites[@]} -eq 0 ]
  exit
}

# Marks suite $1 as failed; $2 is the count of failed cases before it ran: a
# suite that failed without a failed case (a program that died and wrote no
# report, a build that broke) counts as one.
suite_failed() {
  failed_suites+=("$1")
  [ "$failed" -gt "$2" ] || failed=$((failed + 1))
}

# Builds one preset for suite $2; a broken build fails that suite only.
build() {
  "$root/tools/build.sh" "$1" && return 0
  echo "the $1 build failed" >&2
  run_plain "$2" false
  return 1
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

# Runs the ctest of build $2 as suite $1 and counts its cases.
run_ctest() {
  local name="$1" dir="$2" before="$failed"; shift 2
  rm -rf "$dir/test-results"
  ctest --test-dir "$dir" --output-on-failure "$@"
  local status=$?
  count_reports "$dir"
  if [ "$status" -ne 0 ]; then
    echo "ctest failed in $dir" >&2
    suite_failed "$name" "$before"
  fi
}

# Runs suite script $2 (with the arguments after it), whose last line is
# "$1: N passed, M failed", and adds its counts.
run_counted() {
  local name="$1" script="$2" before="$failed" log status counts p f
  shift 2
  log=$(mktemp)
  "$script" "$@" 2>&1 | tee "$log"
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
    suite_failed "$name" "$before"
  fi
}


# Runs command $2... as suite $1 of one case: it passed when the command did.
run_plain() {
  local name="$1"; shift
  programs=$((programs + 1))
  if "$@"; then
    passed=$((passed + 1))
  else
    suite_failed "$name" "$failed"
  fi
}
