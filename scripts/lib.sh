# shellcheck shell=bash disable=SC2034
# Sourced by the run script, the end-to-end tests and the benchmarks: what they
# all do with the real programs under Wine, once. Starting a program and its
# window, the stand-in chat host and the lines its room sent, the window's
# place and its controls, the clock and float arithmetic; and the counts of
# CTest's JUnit reports, which the test run and CI add up.
#   kv_init BIN_DIR   the folder holding the built programs
set -euo pipefail

KV_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
KV_WINE_RUN=$KV_ROOT/cmake/wine-run.sh
# shellcheck source=cmake/wine-loader.sh
source "$KV_ROOT/cmake/wine-loader.sh"
KESTAVINE_EXE="Kestavine Idle 1.0.exe"
KESTAVINE_TITLE="Kestavine Idle"

# Where the window opens on the screen (the tests and the benchmarks click
# blind, so the program must keep it), and a point (x y) of its client area on
# each control: the title strip, "-", "X" (on its transparent ground), the
# reason box, START and STOP.
FORM_X=0
FORM_Y=126
AT_TITLE_STRIP=(100 10)
AT_MINIMISE=(272 8)
AT_CLOSE=(296 28)
AT_REASON=(150 72)
AT_START=(30 80)
AT_STOP=(260 80)

kv_pids=() # what was started here in the background, ended on exit

kv_init() {
  KV_BIN=$(cd "$1" && pwd)
  # The Wine wrapper keeps its prefix and its display in this build tree.
  export KESTAVINE_BUILD_DIR
  KESTAVINE_BUILD_DIR=$(cd "$KV_BIN/.." && pwd)
  KV_TMP=$(mktemp -d "${TMPDIR:-/tmp}/kestavine.XXXXXX")
  trap kv_cleanup EXIT
}

# Ends the programs started here that still run, so that none outlives the
# script (a server the caller left running, such as a virtual display kept for
# the build tree, is not among them); a virtual display of the caller's own
# goes too. KV_KEEP=1 keeps the scratch folder (logs, screenshots) to look at.
kv_cleanup() {
  local pid running
  running=" $(jobs -pr | tr '\n' ' ')"
  for pid in "${kv_pids[@]}"; do
    [[ $running != *" $pid "* ]] || kill "$pid" 2>/dev/null || true
  done
  for pid in "${kv_pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  [[ -n ${KV_KEEP:-} || -z ${KV_TMP:-} ]] || rm -rf "$KV_TMP"
  ! declare -F kestavine_stop_xvfb >/dev/null || kestavine_stop_xvfb
}

# One busy process per core beside the script, as other programs that keep
# every processor busy; their pids are in kv_busy, and they end with it.
kv_start_busy() {
  local i
  kv_busy=()
  for ((i = 0; i < $(nproc); i++)); do
    yes >/dev/null &
    kv_busy+=("$!")
  done
  kv_pids+=("${kv_busy[@]}")
}

# What the build trees under a folder keep running, one "pid command" a line:
# the Wine processes of their prefixes (a server, its services, programs) and
# their virtual displays. Both end by themselves, KV_LINGER seconds after the
# last program that used them.
kv_leftovers() {
  local environ pid file lock
  for environ in $(grep -lzF "WINEPREFIX=$1/" /proc/[0-9]*/environ 2>/dev/null); do
    pid=${environ#/proc/}
    pid=${pid%/environ}
    echo "$pid $(tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null)"
  done
  for file in "$1"/*/.xvfb.display; do
    [[ -f $file ]] || continue
    lock=/tmp/.X$(tr -dc 0-9 <"$file")-lock
    pid=$(tr -dc 0-9 2>/dev/null <"$lock") || continue # no lock: no server
    [[ $(tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null) == Xvfb* ]] && echo "$pid Xvfb $(cat "$file")"
  done
  return 0
}
kv_nothing_left() { [[ -z $(kv_leftovers "$1") ]]; }

# The clock, in seconds with microseconds.
kv_now() { echo "$EPOCHREALTIME"; }

# Float arithmetic with awk (always there, where bc may not be), printed with
# the given format (default %.3f); kv_true tests a comparison.
kv_calc() { awk "BEGIN { printf \"${2:-%.3f}\", $1 }"; }
kv_true() { awk "BEGIN { exit !($1) }"; }

# Runs a command every $2 seconds until it succeeds, for up to $1 seconds of
# the clock (a slow command does not stretch the limit).
kv_wait_for() {
  local limit=$1 every=$2 end
  shift 2
  end=$(kv_calc "$(kv_now) + $limit")
  until "$@"; do
    kv_true "$(kv_now) > $end" && return 1
    sleep "$every"
  done
}

# A path as Windows programs under Wine see it.
kv_winpath() { echo "Z:${1//\//\\}"; }

# Starts a Windows program through the Wine wrapper, in the background; the
# wrapper's pid is in $kv_last_pid, and what the wrapper and the program print
# goes to the file $kv_last_log.
kv_start() {
  kv_last_log=$(mktemp "$KV_TMP/program.XXXXXX")
  "$KV_WINE_RUN" "$@" >"$kv_last_log" 2>&1 &
  kv_last_pid=$!
  kv_pids+=("$kv_last_pid")
}

# kv_wait_started LIMIT FAILURE COMMAND...: waits up to LIMIT seconds until the
# command succeeds while the program started last still runs. Otherwise says
# FAILURE and, when the program's run ended first, how it ended and what it
# printed: a refusal of the Wine wrapper says why there.
kv_wait_started() {
  local limit=$1 failure=$2 pid=$kv_last_pid log=$kv_last_log status=0
  shift 2
  kv_wait_for "$limit" 0.1 kv_done_or_ended "$pid" "$@" || true
  "$@" && return 0
  if kill -0 "$pid" 2>/dev/null; then
    echo "$failure within $limit s" >&2
  else
    wait "$pid" || status=$?
    echo "$failure: its run ended first, with status $status, printing:" >&2
    tail -n 20 "$log" | sed 's/^/  /' >&2
  fi
  return 1
}
kv_done_or_ended() {
  local pid=$1
  shift
  "$@" || ! kill -0 "$pid" 2>/dev/null
}

kv_window_visible() { xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }

# Starts Kestavine Idle and waits for its first paint; its wrapper's pid is in
# $KESTAVINE_PID.
kv_start_kestavine() {
  kv_start "$KV_BIN/$KESTAVINE_EXE"
  KESTAVINE_PID=$kv_last_pid
  kv_wait_started 90 "Kestavine Idle's window never appeared" kv_window_visible "$KESTAVINE_TITLE" || return 1
  sleep 0.3
}

# The stand-in chat host, in its own process, logging to $CHAT_LOG (default in
# the scratch folder), with more of its options if given; returns once it says
# it is ready.
kv_start_chathost() {
  CHAT_LOG=${CHAT_LOG:-$KV_TMP/chat.log}
  : >"$CHAT_LOG"
  kv_start "$KV_BIN/chathost.exe" --log "$(kv_winpath "$CHAT_LOG")" "$@"
  kv_wait_started 90 "the chat host never said it was ready" grep -qx ready "$CHAT_LOG"
}

# The lines the room has sent so far, one a line: "<host seconds><TAB><text>".
kv_sent() { sed -n 's/^sent \([0-9.]*\) "\(.*\)"$/\1\t\2/p' "$CHAT_LOG"; }
kv_sent_count() { kv_sent | wc -l; }
kv_has_sent() { (($(kv_sent_count) >= $1)); }

# Waits up to $2 seconds until the room has sent at least $1 lines.
kv_wait_sent() { kv_wait_for "$2" 0.05 kv_has_sent "$1"; }

# Mouse and keyboard input, in xdotool's words: through the X server's test
# extension, unless a test drives the desktop another way.
kv_input() { xdotool "$@"; }

# The screen point "x y" of a client point of the window, and a left click
# (or another button's, $3) there. FORM_X and FORM_Y set for the call place
# the window elsewhere.
kv_point() { echo "$((FORM_X + $1)) $((FORM_Y + $2))"; }
kv_click() {
  # shellcheck disable=SC2046
  kv_input mousemove $(kv_point "$1" "$2") click "${3:-1}"
}

# The way done after each of N uneven steps, in 2N-ths: steps of a half and
# of one and a half of the mean by turns, the last one ending it (2N).
kv_uneven_parts() {
  local i
  for ((i = 1; i < $1; i++)); do echo $((2 * i - i % 2)); done
  echo $((2 * $1))
}

# A click on the title strip, and at once the mouse moved by (DX, DY) as a
# hand moves it, in steps 20 ms apart that grow (to 1, 3, 5 and 8 eighths of
# the way); then time for the window to follow. With KV_STEADY_HAND, as a
# steady hand that starts a moment after the click, reported by a mouse 125
# times a second: steps of at most that many pixels and of a third of that by
# turns, 8 ms apart. Never all alike, as a hand's are not: GNOME's compositor
# tells Xwayland nothing of a step that keeps the pointer where it was on a
# window that moved with it (docs/linux-desktops.md).
kv_pick_up() {
  local moves=() part x y done_x=0 done_y=0 parts=(1 3 5 8) every=0.02 steps
  if [[ -n ${KV_STEADY_HAND:-} ]]; then
    steps=$((3 * (${1#-} > ${2#-} ? ${1#-} : ${2#-}) / (2 * KV_STEADY_HAND) + 1))
    mapfile -t parts < <(kv_uneven_parts "$steps")
    every=0.008 moves=(sleep 0.2)
  fi
  for part in "${parts[@]}"; do
    x=$(($1 * part / parts[-1])) y=$(($2 * part / parts[-1]))
    moves+=(mousemove_relative -- $((x - done_x)) $((y - done_y)) sleep "$every")
    done_x=$x done_y=$y
  done
  # shellcheck disable=SC2046
  kv_input mousemove $(kv_point "${AT_TITLE_STRIP[@]}") click 1 "${moves[@]}"
  sleep 0.4
}

# kv_junit_count REPORT ATTRIBUTE: a count (tests, failures, skipped) from the
# suite element of CTest's JUnit report; nothing, and success, when there is
# none. CTest counts a skipped test in "skipped" only, not in "failures".
kv_junit_count() { { grep -m1 -o "\b$2=\"[0-9]*\"" "$1" 2>/dev/null || true; } | tr -dc 0-9; }

# kv_junit_reports FOLDER FILE: CTest's JUnit reports under a build folder
# newer than FILE, one a line: a build tree's (FOLDER/PRESET/), and those that
# a fresh root brought back (FOLDER/debian-N/PRESET/).
kv_junit_reports() { find "$1" -maxdepth 3 -name 'test-results*.xml' -newer "$2" 2>/dev/null | LC_ALL=C sort; }

# kv_junit_total REPORT...: "P passed, F failed, S skipped", summed over
# CTest's JUnit reports. A report without counts (CTest stopped while writing
# it) is one failure, so that the total never looks better than the run.
kv_junit_total() {
  local report tests failed skipped passed_sum=0 failed_sum=0 skipped_sum=0
  for report in "$@"; do
    tests=$(kv_junit_count "$report" tests)
    failed=$(kv_junit_count "$report" failures)
    skipped=$(kv_junit_count "$report" skipped)
    if [[ -z $tests ]]; then
      failed_sum=$((failed_sum + 1))
      continue
    fi
    passed_sum=$((passed_sum + tests - ${failed:-0} - ${skipped:-0}))
    failed_sum=$((failed_sum + ${failed:-0}))
    skipped_sum=$((skipped_sum + ${skipped:-0}))
  done
  echo "$passed_sum passed, $failed_sum failed, $skipped_sum skipped"
}
