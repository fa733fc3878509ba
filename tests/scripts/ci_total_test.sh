#!/usr/bin/env bash
# The total that ends CI's log, from CTest's JUnit reports: made-up reports of
# the shape CTest writes, the reports of one run told from older ones, and
# counts summed as the suites' summaries give them.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/../e2e/lib.sh"
work=$(mktemp -d "${TMPDIR:-/tmp}/kestavine-ci-total.XXXXXX")
trap 'rm -rf "$work"' EXIT

# report FILE TESTS FAILURES SKIPPED: a report as CTest writes it, its suite's
# counts one to a line, and a test case whose own element says "skipped".
report() {
  mkdir -p "$(dirname "$1")"
  cat >"$1" <<XML
<?xml version="1.0" encoding="UTF-8"?>
<testsuite name="Linux-c++"
	tests="$2"
	failures="$3"
	disabled="0"
	skipped="$4"
	hostname=""
	time="12"
	timestamp="2026-12-08T06:39:00"
	>
	<testcase name="e2e_idle_announcer" classname="e2e_idle_announcer" time="3" status="notrun">
		<skipped message="SKIP_RETURN_CODE=77"/>
	</testcase>
</testsuite>
XML
}

build=$work/build
# An earlier run's report, left in place; this run's come after $since.
report "$build/debian-13/mingw-x64/test-results.xml" 9 0 0
touch -d '1 hour ago' "$build/debian-13/mingw-x64/test-results.xml"
since=$work/since
touch -d '1 minute ago' "$since"
report "$build/mingw-x64/test-results.xml" 9 0 0
report "$build/mingw-x86/test-results-no-32bit.xml" 10 0 10
report "$build/mingw-x86/test-results.xml" 11 1 0
report "$build/debian-13/mingw-x86/test-results.xml" 11 0 2 # a root's, a level deeper

mapfile -t reports < <(kv_junit_reports "$build" "$since")
e2e_check "the run's four reports are found, the root's among them, and the older one is not" \
  test "${reports[*]}" = "$build/debian-13/mingw-x86/test-results.xml $build/mingw-x64/test-results.xml $build/mingw-x86/test-results-no-32bit.xml $build/mingw-x86/test-results.xml"
total=$(kv_junit_total "${reports[@]}")
echo "total: $total"
e2e_check "a skipped test counts as skipped, not passed, and a failed one as failed" \
  test "$total" = "28 passed, 1 failed, 12 skipped"

: >"$work/cut-short.xml"
e2e_check "a report without counts is a failure" \
  test "$(kv_junit_total "$build/mingw-x64/test-results.xml" "$work/cut-short.xml")" = "9 passed, 1 failed, 0 skipped"
e2e_check "no report: nothing ran" test "$(kv_junit_total)" = "0 passed, 0 failed, 0 skipped"
e2e_finish
