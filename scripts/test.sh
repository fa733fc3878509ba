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
# can, they run as on a machine that cannot (KESTAVINE_NO_32BIT=1), so that
# every run shows that path still works, and then for real.
#
# Each CTest run keeps its JUnit report in its build tree:
# build/PRESET/test-results.xml, and test-results-no-32bit.xml for the run as
# on a machine without 32-bit programs; CI adds up every such report.
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

# Runs a preset's tests (more ctest options may follow the report's name),
# keeps CTest's JUnit report as build/PRESET/REPORT, and sets tests, failed and
# skipped from it. Without a report CTest itself failed: that is one failure.
run_tests() {
  local report=$PWD/build/$1/$2
  rm -f "$report"
  ctest --preset "$1" "${@:3}" --output-junit "$report" || true
  tests=$(kv_junit_count "$report" tests)
  failed=$(kv_junit_count "$report" failures)
  skipped=$(kv_junit_count "$report" skipped)
  reported=1
  [[ -n $tests ]] || reported=0 tests=0 failed=1 skipped=0
}

# The counts of the last run, as the summary gives them.
counts() {
  if ((!reported)); then
    echo "CTest wrote no report, so it did not run the tests through"
    return
  fi
  local line="$((tests - failed - skipped)) of $tests tests passed"
  ((failed == 0)) || line+=", $failed failed"
  ((skipped == 0)) || line+=", $skipped skipped"
  echo "$line"
}

for preset in "${presets[@]}"; do
  echo "== $preset"
  started=$SECONDS
  # The reports of an earlier run go, so that build/ holds this run's only.
  rm -f "build/$preset"/test-results*.xml
  if ! { cmake --preset "$preset" && cmake --build --preset "$preset"; }; then
    summary+=("$preset: the build failed")
    ok=0
    continue
  fi
  bits=$(kv_pe_bits "build/$preset/bin/$KESTAVINE_EXE") || bits=
  no_32bit_line=

  # First as on a machine without 32-bit programs, so that the last summary
  # CTest prints for this build is that of the run that runs its programs.
  if [[ $bits == 32 ]] && kv_can_run_32bit; then
    echo "== $preset, as on a machine that cannot start 32-bit programs"
    KESTAVINE_NO_32BIT=1 run_tests "$preset" test-results-no-32bit.xml --label-exclude host
    no_32bit_line="$preset as on a machine without 32-bit programs: $(counts)"
    if ((tests > 0 && skipped == tests)); then
      no_32bit_line+=", as each must be"
    else
      ((!reported)) || no_32bit_line+=", but each of the $tests should have been skipped"
      ok=0
    fi
  fi

  run_tests "$preset" test-results.xml
  line="$preset: $(counts)"
  ((failed == 0)) || ok=0
  if ((skipped > 0)); then
    # Only a build whose programs this machine cannot run may skip its tests.
    if [[ $bits == 32 ]] && ! kv_can_run_32bit; then
      line+=": $KESTAVINE_32BIT_REASON"
    else
      line+=" though this machine runs them"
      ok=0
    fi
  fi
  summary+=("$line ($((SECONDS - started)) s)")
  [[ -z $no_32bit_line ]] || summary+=("$no_32bit_line")
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
