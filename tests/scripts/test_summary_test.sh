#!/usr/bin/env bash
# scripts/test.sh's summary, with CTest and CMake played by stand-ins in a
# copy of the scripts: a CTest that writes its report, and one that writes
# none, which must fail the run with a summary that says so, after the wait
# for what the tests started.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/../e2e/lib.sh"
work=$(mktemp -d "${TMPDIR:-/tmp}/kestavine-test-summary.XXXXXX")
trap 'rm -rf "$work"' EXIT

root=$work/project
mkdir -p "$root/scripts" "$root/cmake" "$work/bin"
cp "$KV_ROOT/scripts/test.sh" "$KV_ROOT/scripts/lib.sh" "$root/scripts/"
cp "$KV_ROOT/cmake/wine-loader.sh" "$root/cmake/"
printf '#!/bin/sh\nexit 0\n' | tee "$work/bin/cmake" >"$root/scripts/install-deps.sh" # all is installed, and builds
# CTest: with FAKE_REPORT set, a report of 3 tests, one of them failed.
cat >"$work/bin/ctest" <<'SH'
#!/bin/bash
report=${!#} # test.sh names it last
[[ -z $FAKE_REPORT ]] || { mkdir -p "${report%/*}" && echo '<testsuite tests="3" failures="1" skipped="0">' >"$report"; }
exit 8
SH
chmod +x "$root/scripts/"*.sh "$work/bin/"*

suite() { PATH=$work/bin:$PATH bash "$root/scripts/test.sh" fake-preset >"$work/out" 2>&1; }

FAKE_REPORT=1 suite && status=0 || status=$?
e2e_check "a report with a failure fails the run ($status), its counts in the summary" \
  kv_true "$status != 0 && $(grep -c '^fake-preset: 2 of 3 tests passed, 1 failed' "$work/out") == 1"

suite && status=0 || status=$?
sed 's/^/  | /' "$work/out"
e2e_check "no report fails the run ($status), and the summary says so" \
  kv_true "$status == 1 && $(grep -c '^fake-preset: CTest wrote no report' "$work/out") == 1"
e2e_check "... after the wait for what the tests started" grep -q '^nothing left running' "$work/out"
e2e_finish
