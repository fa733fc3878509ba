#!/usr/bin/env bash
# Runs one test of the suite N times in a row, to show that it passes every
# time and not by chance; with --busy, beside one busy process per core all
# the while (ended by their pids at the end). Prints each run's result, then
# the pass count and the whole output of the first run that failed. Exits 0
# only when every run passed. Builds the preset first (default mingw-x64;
# KESTAVINE_PRESET names another), having installed what is missing.
#
#   scripts/repeat.sh TEST N [--busy]      e.g. scripts/repeat.sh e2e_window_chrome_kwin_busy 20
set -euo pipefail
usage="usage: scripts/repeat.sh TEST N [--busy]"
test=${1:?$usage} runs=${2:?$usage}
[[ $runs =~ ^[1-9][0-9]*$ && ${3:---busy} == --busy ]] || { echo "$usage" >&2 && exit 2; }
cd "$(dirname "$0")/.."
# shellcheck source=scripts/lib.sh
source scripts/lib.sh
preset=${KESTAVINE_PRESET:-mingw-x64}
scripts/install-deps.sh
cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" >/dev/null
ctest --preset "$preset" -N -R "^$test\$" | grep -q 'Total Tests: 1$' || { echo "no test named $test in $preset" >&2 && exit 2; }

logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
if [[ -n ${3:-} ]]; then
  kv_start_busy
  trap 'kill "${kv_busy[@]}" 2>/dev/null; rm -rf "$logs"' EXIT
  echo "beside ${#kv_busy[@]} busy processes (${kv_busy[*]})"
fi

passed=0 first_failure=
for ((run = 1; run <= runs; run++)); do
  started=$SECONDS
  if ctest --preset "$preset" -R "^$test\$" --output-on-failure >"$logs/$run" 2>&1 &&
    grep -q '^100% tests passed' "$logs/$run"; then
    passed=$((passed + 1)) result=passed
  else
    result=FAILED
    [[ -n $first_failure ]] || first_failure=$run
  fi
  echo "run $run of $runs: $result ($((SECONDS - started)) s)"
done

echo "$test${3:+ (busy)}: $passed of $runs runs passed"
if [[ -n $first_failure ]]; then
  echo "== the first failure, run $first_failure:"
  cat "$logs/$first_failure"
  exit 1
fi
