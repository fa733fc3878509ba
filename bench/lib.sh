# shellcheck shell=bash disable=SC2034
# Sourced by the benchmark scripts: the shared library (scripts/lib.sh), a
# Wine prefix of the benchmarks' own (so that its wine server serves nobody
# else and its CPU time is ours alone), and what only the benchmarks measure:
# CPU counters, the X server's own notifications, the Windows processes behind
# the programs. Figures go to stdout as Markdown table rows; progress goes to
# stderr.
# shellcheck source=scripts/lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/lib.sh"

BENCH_BIN=${BENCH_BIN:-$KV_ROOT/build/mingw-x64/bin}
BENCH_OUT=${BENCH_OUT:-$KV_ROOT/build/bench}
BARE_TITLE="bench_bare_window"
SPIN_TITLE="bench_spin_wait"
CLK_TCK=$(getconf CLK_TCK)

bench_programs=() # the Windows processes behind the programs started here
bench_pid=

bench_init() {
  mkdir -p "$BENCH_OUT"
  export WINEPREFIX=${BENCH_WINEPREFIX:-$BENCH_OUT/wineprefix}
  # A virtual X server of our own when there is no display: clicks then land
  # on nobody else's windows.
  # shellcheck source=scripts/virtual-display.sh
  source "$KV_ROOT/scripts/virtual-display.sh"
  kv_init "$BENCH_BIN"
  trap bench_cleanup EXIT
  # A new prefix takes Wine a while to make; that is not to be timed.
  if [[ ! -f $WINEPREFIX/.kestavine-prefix-2 ]]; then
    bench_log "making the benchmarks' Wine prefix $WINEPREFIX"
    bench_start_hidden_window 180
    bench_stop "$bench_pid"
  fi
}

# The Windows processes are not this shell's children: they go first.
bench_cleanup() {
  local pid
  for pid in "${bench_programs[@]}"; do kill "$pid" 2>/dev/null || true; done
  kv_cleanup
}

bench_log() { echo "bench: $*" >&2; }

# The median of the numbers on stdin, one a line, printed with the given
# format (default %g).
bench_median() {
  sort -g | awk -v f="${1:-%g}" '{ a[NR] = $1 } END {
      if (NR == 0) { print "none"; exit }
      printf f "\n", NR % 2 ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2 }'
}

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
  while read -r f; do
    d=${f%/environ}
    exe=$(readlink "$d/exe" 2>/dev/null) || continue
    [[ $exe == /usr/lib/wine/* || $exe == */wine*/wine* ]] || continue
    echo "${d#/proc/} $(tr '\0' ' ' <"$d/cmdline" 2>/dev/null)"
  done < <(grep -lzxF "WINEPREFIX=$WINEPREFIX" /proc/[0-9]*/environ 2>/dev/null)
}

# The pid of our prefix's wine server.
bench_wineserver_pid() { bench_wine_processes | awk '$2 ~ /wineserver/ { print $1; exit }'; }

# The pid of a Windows process of our prefix whose program file name starts
# with $1: its command line holds a path separator and then $1 (the loader
# that runs it keeps the Unix path it was given; Wine's own processes show
# their Windows path).
bench_find_process() {
  bench_wine_processes | awk -v name="$1" 'index($0, "/" name) || index($0, "\\" name) { print $1; exit }'
}
bench_process_found() { [[ -n $(bench_find_process "$1") ]]; }

# Waits (up to $2 s) for that process; its pid is in $bench_pid, and in
# bench_programs, so that it is ended on exit.
bench_wait_process() {
  kv_wait_for "${2:-20}" 0.1 bench_process_found "$1" || return 1
  bench_pid=$(bench_find_process "$1")
  bench_programs+=("$bench_pid")
}

# A process that only holds the prefix's wine server and Wine's own services
# up (a bare window never shown), waited for up to $1 s; its pid is in $bench_pid.
bench_start_hidden_window() {
  kv_start "$BENCH_BIN/bench_bare_window.exe" --hidden
  bench_wait_process "bench_bare_window.exe --hidden" "$1" || { bench_log "Wine did not start"; exit 1; }
}

# Ends a Windows process started here and waits (up to 5 s) until it has
# gone; its pid, free for reuse, is no longer ours to end.
bench_stop() {
  local pid left=()
  kill "$1" 2>/dev/null || true
  kv_wait_for 5 0.01 bench_ended "$1" || true
  for pid in "${bench_programs[@]}"; do [[ $pid == "$1" ]] || left+=("$pid"); done
  bench_programs=("${left[@]}")
}
bench_ended() { ! bench_alive "$1"; }

# What happens to top-level windows on the screen, as it happens, from the X
# server's own notifications: one line an event, "time kind window", in
# $BENCH_SCREEN_LOG. The time stamp is taken as each event arrives.
bench_watch_screen() {
  BENCH_SCREEN_LOG=$KV_TMP/screen.log
  : >"$BENCH_SCREEN_LOG"
  xev -root -event substructure > >(bench_stamp_events >>"$BENCH_SCREEN_LOG") 2>/dev/null &
  kv_pids+=("$!")
  sleep 0.5 # xev selects its events
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
  end=$(kv_calc "$(kv_now) + $limit")
  while kv_true "$(kv_now) < $end"; do
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
