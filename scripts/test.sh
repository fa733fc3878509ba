#!/usr/bin/env bash
# Builds Kestavine Idle and its tests for 64-bit and 32-bit Windows, runs the
# whole suite of each under Wine (on a virtual display of each build tree
# when there is none), and ends with a summary: what ran, what passed, and
# what could not run here and why. Installs what is missing first. Exits 0
# only when every build succeeded, every test that can run here passed, and
# nothing the tests started was left running 45 s after the last of them.
#
#   scripts/test.sh [PRESET...]     (default: mingw-x64 mingw-x86)
#
# Where this machine cannot start 32-bit programs, the 32-bit build is still
# built, and its tests that run its programs are reported as skipped. Where it
# can, they run, and then run once more as on a machine that cannot
# (KESTAVINE_NO_32BIT=1), so that every run shows that path still works.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
# shellcheck source=scripts/lib.sh
source scripts/lib.sh
kv_can_run_32bit || true # found out once, here, for every test below

presets=("$@")
[[ ${#presets[@]} -gt 0 ]] || presets=(mingw-x64 mingw-x86)
summary=()
ok=1

# A count (tests, failures, skipped) from the suite's element of a JUnit report.
junit_count() { grep -m1 -o "\b$2=\"[0-9]*\"" "$1" 2>/dev/null | tr -dc 0-9; }

# Runs a preset's tests (more ctest options may follow) and sets tests,
# failed and skipped from CTest's JUnit report.
run_tests() {
  local report=$PWD/build/$1/test-results.xml
  rm -f "$report"
  ctest --preset "$@" --output-junit "$report" || true
  tests=$(junit_count "$report" tests)
  failed=$(junit_count "$report" failures)
  skipped=$(junit_count "$report" skipped)
  [[ -n $tests ]] || tests=0 failed=1 skipped=0 # no report: ctest itself failed
}

for preset in "${presets[@]}"; do
  echo "== $preset"
  started=$SECONDS
  if ! { cmake --preset "$preset" && cmake --build --preset "$preset"; }; then
    summary+=("$preset: the build failed")
    ok=0
    continue
  fi
  bits=$(kv_pe_bits "build/$preset/bin/$KESTAVINE_EXE") || bits=
  run_tests "$preset"
  line="$preset: $((tests - failed - skipped)) of $tests tests passed"
  ((failed == 0)) || { line+=", $failed failed"; ok=0; }
  if ((skipped > 0)); then
    # Only a build whose programs this machine cannot run may skip its tests.
    if [[ $bits == 32 ]] && ! kv_can_run_32bit; then
      line+=", $skipped skipped: $KESTAVINE_32BIT_REASON"
    else
      line+=", $skipped skipped though this machine runs them"
      ok=0
    fi
  fi
  summary+=("$line ($((SECONDS - started)) s)")

  if [[ $bits == 32 ]] && kv_can_run_32bit; then
    echo "== $preset, as on a machine that cannot start 32-bit programs"
    KESTAVINE_NO_32BIT=1 run_tests "$preset" --label-exclude host
    line="$preset as on a machine without 32-bit programs: $skipped of $tests tests that run its programs skipped"
    ((tests > 0 && skipped == tests)) || { line+=", but each should have been"; ok=0; }
    summary+=("$line")
  fi
done

# The tests' Wine sessions and virtual displays end by themselves, KV_LINGER
# seconds after their last program.
echo "== Waiting for what the tests started to end"
started=$SECONDS
if kv_wait_for 45 1 kv_nothing_left "$PWD/build"; then
  summary+=("nothing left running: the Wine sessions and virtual displays of build/ ended $((SECONDS - started)) s after the last test")
else
  summary+=("left running 45 s after the last test:" "$(kv_leftovers "$PWD/build")")
  ok=0
fi

echo
echo "== Summary"
printf '%s\n' "${summary[@]}"
((ok))
