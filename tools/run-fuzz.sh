#!/usr/bin/env bash
# Fuzzes the game below the window (rules, mouse cases, drawing) with
# libFuzzer for a while. Usage: run-fuzz.sh [seconds]   (default 60)
#
# Builds build/fuzz when stale, copies the committed seed inputs into a
# working corpus under build/fuzz (the repository is never written), runs the
# fuzzer on it, and exits non-zero when it found a failing input, which is
# left in build/fuzz/artifacts/ and can be replayed with
#   build/fuzz/fuzz_game build/fuzz/artifacts/<file>
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-60}"
if ! [[ "$seconds" =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: $0 [seconds]" >&2
  exit 2
fi

source "$root/tools/setup.sh"
tsweeper_install_missing

cd "$root"
build="$root/build/fuzz"
if [ ! -f "$build/build.ninja" ]; then
  cmake --preset fuzz >/dev/null
fi
cmake --build --preset fuzz -j 2 >/dev/null

corpus="$build/corpus"
artifacts="$build/artifacts"
log="$build/last-run.log"
mkdir -p "$corpus" "$artifacts"
cp "$root"/tests/fuzz/corpus/* "$corpus"/

# Failing inputs of earlier runs stay; only those of this run count.
stamp=$(mktemp "$build/.run-started.XXXXXX")
trap 'rm -f "$stamp"' EXIT

echo "fuzz: running for ${seconds} s (log in $log)"
status=0
"$build/fuzz_game" "$corpus" \
  -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
  -artifact_prefix="$artifacts/" >"$log" 2>&1 </dev/null || status=$?

mapfile -t found < <(find "$artifacts" -type f -newer "$stamp" | sort)
runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n1)
rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n1)

if [ "$status" -ne 0 ] || [ "${#found[@]}" -gt 0 ]; then
  # What broke, with the steps that led there, as the target printed it.
  if grep -q 'invariant broken' "$log"; then
    sed -n '/==== tsweeper random play: invariant broken/,$p' "$log" | head -n 120
  else
    tail -n 60 "$log"
  fi
  echo
  for file in "${found[@]}"; do
    echo "fuzz: failing input: $file"
    echo "      replay with: $build/fuzz_game $file"
  done
  echo "fuzz: FAILED (exit status $status) after ${runs:-?} runs"
  exit 1
fi

echo "fuzz: ${runs:-0} runs (${rate:-?} per second), no failure"
