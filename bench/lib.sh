# shellcheck shell=bash disable=SC2034
# Sourced by the benchmark scripts: where the built programs are, a Wine prefix
# of the benchmarks' own (so that its wine server serves nobody else and its
# CPU time is ours alone), a display, and the measuring bits they share.
# Figures go to stdout as Markdown table rows; progress goes to stderr.
set -euo pipefail

BENCH_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BENCH_BIN=${BENCH_BIN:-$BENCH_ROOT/build/mingw-x64/bin}
BENCH_OUT=${BENCH_OUT:-$BENCH_ROOT/build/bench}
BENCH_WINE_RUN=$BENCH_ROOT/cmake/wine-run.sh
KESTAVINE_EXE="Kestavine Idle 1.0.exe"
KESTAVINE_TITLE="Kestavine Idle"
BARE_TITLE="bench_bare_window"
SPIN_TITLE="bench_spin_wait"
# Screen points of the window, which opens at (0, 126): START at client
# (0..64, 72..91) and "X" at client (280..299, 7..31).
START_X=30 START_Y=206
CLOSE_X=296 CLOSE_Y=154
CLK_TCK=$(getconf CLK_TCK)

bench_launchers=() # the wine-run.sh processes started here, each waited for
bench_programs=()  # the Windows processes they became, each ended on exit
BENCH_XEV_PID=

bench_init() {
  mkdir -p "$BENCH_OUT"
  BENCH_BUILD=$(cd "$BENCH_BIN/.." && pwd)
  export KESTAVINE_BUILD_DIR=$BENCH_BUILD
  export WINEPREFIX=${BENCH_WINEPREFIX:-$BENCH_OUT/wineprefix}
  # A virtual X server of our own when there is no display: clicks then land
  # on nobody else's windows.
  if [[ -z ${DISPLAY:-} ]]; then
    source "$BENCH_ROOT/scripts/virtual-display.sh"
  fi
  BENCH_TMP=$(mktemp -d "${TMPDIR:-/tmp}/kestavine-bench.XXXXXX")
  trap bench_cleanup EXIT
  # A new prefix takes Wine a while to make; that is not to be timed.
  if [[ ! -f $WINEPREFIX/.kestavine-prefix-2 ]]; then
    bench_log "making the benchmarks' Wine prefix $WINEPREFIX"
    bench_start "$BENCH_BIN/bench_bare_window.exe" --hidden
    local pid
    pid=$(bench_wait_process "bench_bare_window.exe --hidden" 180) || { bench_log "Wine did not start"; exit 1; }
    bench_programs+=("$pid")
    bench_stop "$pid"
  fi
}

bench_cleanup() {
  local pid
  [[ -z $BENCH_XEV_PID ]] || kill "$BENCH_XEV_PID" 2>/dev/null || true
  for pid in "${bench_programs[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${bench_launchers[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$BENCH_TMP"
  ! declare -F kestavine_stop_xvfb >/dev/null || kestavine_stop_xvfb
}

bench_log() { echo "bench: $*" >&2; }

bench_now() { echo "$EPOCHREALTIME"; }

# Float arithmetic with awk, printed with the given format (default %.3f).
bench_calc() { awk "BEGIN { printf \"${2:-%.3f}\", $1 }"; }

# The median of the numbers on stdin, one a line, printed with the given
# format (default %g).
bench_median() {
  sort -g | awk -v f="${1:-%g}" '{ a[NR] = $1 } END {
      if (NR == 0) { print "none"; exit }
      printf f "\n", NR % 2 ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2 }'
}

# A path as Windows programs under Wine see it.
bench_winpath() { echo "Z:${1//\//\\}"; }

# True while the process runs (a zombie has ended).
bench_alive() {
  local stat
  stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
  stat=${stat##*) }
  [[ ${stat:0:1} != Z && ${stat:0:1} != X ]]
}

# User plus system CPU time of a whole process (all its threads), in clock ticks.
bench_cpu_ticks() {
  local stat
  stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
  stat=${stat##*) } # the fields after "pid (name) ", from the state on
  # shellcheck disable=SC2086
  set -- $stat
  echo $((${12} + ${13}))
}

# Time on a CPU of a whole process as the scheduler counts it, in nanoseconds:
# exact, where the clock-tick counts of /proc/<pid>/stat are sampled at each
# tick and can miss a process that only ever runs for a moment between ticks.
# Threads that have ended are no longer counted.
bench_cpu_ns() {
  cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ n += $1 } END { printf "%.0f\n", n }'
}

# The Wine processes of our prefix, wine server included: "pid command line".
bench_wine_processes() {
  local f d exe
  for f in $(grep -lzxF "WINEPREFIX=$WINEPREFIX" /proc/[0-9]*/environ 2>/dev/null); do
    d=${f%/environ}
    exe=$(readlink "$d/exe" 2>/dev/null) || continue
    [[ $exe == /usr/lib/wine/* || $exe == */wine*/wine* ]] || continue
    echo "${d#/proc/} $(tr '\0' ' ' <"$d/cmdline" 2>/dev/null)"
  done
}

# The pid of our prefix's wine server.
bench_wineserver_pid() { bench_wine_processes | awk '$2 ~ /wineserver/ { print $1; exit }'; }

# Starts a Windows program through the Wine wrapper, in the background; with
# BENCH_LOADER set, the wrapper runs that Wine loader instead of `wine`.
bench_start() {
  if [[ -n ${BENCH_LOADER:-} ]]; then
    WINE=$BENCH_LOADER "$BENCH_WINE_RUN" "$@" >/dev/null 2>>"$BENCH_TMP/wine.err" &
  else
    "$BENCH_WINE_RUN" "$@" >/dev/null 2>>"$BENCH_TMP/wine.err" &
  fi
  bench_launchers+=("$!")
}

# Waits (up to $2 s) for a Windows process of our prefix whose program file
# name starts with $1 (its command line holds a backslash and then $1, as a
# Windows path does; the Wine loader and start.exe that lead up to it hold the
# Unix path), and prints its pid. The caller keeps it in bench_programs, so
# that it is ended on exit.
bench_wait_process() {
  local what=$1 limit=${2:-20} i pid
  for ((i = 0; i < limit * 10; i++)); do
    pid=$(bench_wine_processes | grep -F -- "\\$what" | awk '{ print $1; exit }')
    [[ -n $pid ]] && { echo "$pid"; return 0; }
    sleep 0.1
  done
  return 1
}

# Ends a process started here and waits until it has gone.
bench_stop() {
  local pid=$1 i
  kill "$pid" 2>/dev/null || true
  for ((i = 0; i < 500; i++)); do
    bench_alive "$pid" || break
    sleep 0.01
  done
  bench_reap
}

# Waits for the launchers whose programs have ended.
bench_reap() {
  local pid left=()
  for pid in "${bench_launchers[@]}"; do
    if kill -0 "$pid" 2>/dev/null && [[ $(cut -d' ' -f3 "/proc/$pid/stat" 2>/dev/null) != Z ]]; then
      left+=("$pid")
    else
      wait "$pid" 2>/dev/null || true
    fi
  done
  bench_launchers=("${left[@]}")
}

# Waits (up to $2 s) until a visible window with exactly this title exists.
bench_wait_visible() {
  local title=$1 limit=${2:-20} i
  for ((i = 0; i < limit * 10; i++)); do
    xdotool search --onlyvisible --name "^$title\$" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}

# What happens to top-level windows on the screen, as it happens, from the X
# server's own notifications: one line an event, "time kind window", in
# $BENCH_SCREEN_LOG. The time stamp is taken as each event arrives.
bench_watch_screen() {
  BENCH_SCREEN_LOG=$BENCH_TMP/screen.log
  : >"$BENCH_SCREEN_LOG"
  xev -root -event substructure > >(bench_stamp_events >>"$BENCH_SCREEN_LOG") 2>/dev/null &
  BENCH_XEV_PID=$!
  sleep 0.5 # xev selects its events
}

bench_stop_watching() {
  [[ -z $BENCH_XEV_PID ]] || kill "$BENCH_XEV_PID" 2>/dev/null || true
  BENCH_XEV_PID=
}

# xev prints an event over two or more lines: the kind first, the window on the next.
bench_stamp_events() {
  local line kind='' at=0 w
  while IFS= read -r line; do
    case $line in
      MapNotify\ * | UnmapNotify\ * | DestroyNotify\ * | ConfigureNotify\ *)
        kind=${line%% *}
        at=$EPOCHREALTIME
        ;;
      *window\ 0x*)
        if [[ -n $kind ]]; then
          w=${line#*window }
          echo "$at $kind ${w%%,*}"
          kind=
        fi
        ;;
    esac
  done
}

# Waits (up to $3 s) until a window with exactly the title $1 is mapped later
# than time $2; prints "time window" of that MapNotify.
bench_wait_mapped() {
  local title=$1 after=$2 limit=${3:-20} end at kind w seen=" "
  end=$(bench_calc "$(bench_now) + $limit")
  while awk "BEGIN { exit !($(bench_now) < $end) }"; do
    while read -r at kind w; do
      [[ $seen == *" $w "* ]] && continue
      seen+="$w "
      if [[ $(xdotool getwindowname "$w" 2>/dev/null) == "$title" ]]; then
        echo "$at $w"
        return 0
      fi
    done < <(awk -v after="$after" '$2 == "MapNotify" && $1 > after' "$BENCH_SCREEN_LOG")
    sleep 0.05 # the time comes from the event, not from here: look seldom, load the CPU little
  done
  return 1
}

# The time of the first event of this kind for window $2 after time $3.
bench_event_time() {
  awk -v kind="$1" -v w="$2" -v after="$3" '$2 == kind && $3 == w && $1 > after { print $1; exit }' "$BENCH_SCREEN_LOG"
}

# How many events of this kind window $2 had between times $3 and $4.
bench_event_count() {
  awk -v kind="$1" -v w="$2" -v from="$3" -v to="$4" '$2 == kind && $3 == w && $1 > from && $1 <= to { n++ } END { print n + 0 }' "$BENCH_SCREEN_LOG"
}

# A table row.
bench_row() { echo "| $1 | $2 | ${3:-} |"; }
