#!/usr/bin/env bash
# CPU time while idling is on, over whole tick cycles, read from Linux for
# the program's Wine process, for the prefix's wine server (every message call
# may be a round trip to it), for the chat host and for the rest of the
# prefix's Wine processes. Side by side, measured the same way: bench_spin_wait
# with the spinning wait and with WaitSeconds. Each program is started, idling
# is switched on with a real click at START, and the count runs from just
# before the click for BENCH_CYCLES (default 2) cycles of 20 s, plus 0.8 s for
# the last tick's half-second wait and reason line.
#
# The program, the wine server and the chat host are counted exactly, from the
# scheduler's own figures (/proc/<pid>/task/*/schedstat); user plus system
# time from /proc/<pid>/stat, which moves in 10 ms steps, is shown beside the
# program's. The rest of the prefix, whose services start and end threads (an
# ended thread leaves the schedstat sum), is counted from /proc/<pid>/stat.
#
#   bench/cpu_idle.sh      (after a build; prints Markdown table rows)
# shellcheck source=bench/lib.sh
source "$(dirname "$0")/lib.sh"
bench_init

cycles=${BENCH_CYCLES:-2}
window_s=$(kv_calc "$cycles * 20 + 0.8" "%.1f")
expected_lines=$((1 + 2 * cycles))

# Prints "pid ticks nanoseconds command" for every Wine process of the prefix.
sample() {
  local pid rest ticks
  while read -r pid rest; do
    ticks=$(bench_cpu_ticks "$pid") && echo "$pid $ticks $(bench_cpu_ns "$pid") $rest"
  done < <(bench_wine_processes)
}

# CPU between two samples, per process present in both: "pid ticks ns command".
deltas() {
  awk 'NR == FNR { t[$1] = $2; n[$1] = $3; next }
    ($1 in t) { c = $0; sub(/^[^ ]+ [^ ]+ [^ ]+ /, "", c); print $1, $2 - t[$1], $3 - n[$1], c }' "$1" "$2"
}

# Percent of one core that the processes matching an awk condition on the
# delta lines used over the wall time: "ticks" counts the clock ticks of
# /proc/<pid>/stat (10 ms steps), "ns" the scheduler's exact count (a process
# whose threads ended meanwhile counts nothing for them, never less than 0).
percent() {
  awk -v wall="$3" -v hz="$CLK_TCK" -v unit="$2" "$1"' {
      if (unit == "ticks") d += $2 / hz; else if ($3 > 0) d += $3 / 1e9
    } END { printf "%.3f", 100 * d / wall }' "$4"
}

# The command of the busiest process matching an awk condition, by its name alone.
busiest() {
  awk "$1"' && $2 > most { most = $2; c = $4; sub(/.*\\/, "", c); sub(/ .*/, "", c) } END { print c }' "$2"
}

# measure NAME LABEL TITLE EXE [ARGS...]: one run, one table row; the
# per-process figures are kept in build/bench/cpu-NAME.txt.
measure() {
  local name=$1 label=$2 title=$3 exe=$4
  shift 4
  local chat_pid pid server t0 t1 wall lines figures
  CHAT_LOG=$KV_TMP/chat-$name.log
  kv_start_chathost
  bench_wait_process chathost.exe 30
  chat_pid=$bench_pid
  kv_start "$BENCH_BIN/$exe" "$@"
  kv_wait_started 30 "$label: the window never appeared" kv_window_visible "$title" || return 1
  bench_wait_process "${exe%.exe}" 10
  pid=$bench_pid
  server=$(bench_wineserver_pid)
  sleep 1 # first paint and start-up settle

  sample >"$KV_TMP/before"
  t0=$(kv_now)
  kv_click "${AT_START[@]}" # as a user clicks it
  bench_log "$label: idling on, counting for $window_s s"
  sleep "$(kv_calc "$t0 + $window_s - $(kv_now)")"
  sample >"$KV_TMP/after"
  t1=$(kv_now)
  wall=$(kv_calc "$t1 - $t0")
  bench_alive "$pid" || { bench_log "$label: the program ended during the count"; return 1; }

  lines=$(kv_sent_count)
  bench_stop "$pid"
  bench_stop "$chat_pid"

  deltas "$KV_TMP/before" "$KV_TMP/after" >"$KV_TMP/deltas"
  cp "$KV_TMP/deltas" "$BENCH_OUT/cpu-$name.txt"
  local d=$KV_TMP/deltas rest="\$1 != $pid && \$1 != $server && \$1 != $chat_pid"
  local p p_ticks s c o ticks ns top
  p=$(percent "\$1 == $pid" ns "$wall" "$d")
  p_ticks=$(percent "\$1 == $pid" ticks "$wall" "$d")
  s=$(percent "\$1 == $server" ns "$wall" "$d")
  c=$(percent "\$1 == $chat_pid" ns "$wall" "$d")
  o=$(percent "$rest" ticks "$wall" "$d")
  top=$(busiest "$rest" "$d")
  read -r ticks ns < <(awk -v pid="$pid" '$1 == pid { print $2, $3 }' "$d")
  figures="$p% of one core, $(kv_calc "$p / $(nproc)" %.3f)% of the machine:"
  figures+=" $(kv_calc "$ns / 1e6" %.1f) ms CPU in $(kv_calc "$wall" %.1f) s,"
  figures+=" $(kv_calc "$ns / 1e6 / $cycles" %.1f) ms a cycle"
  figures+=" (/proc stat: $((ticks * 1000 / CLK_TCK)) ms, $p_ticks%)"
  bench_row "$label" "$figures" "wine server $s%, chat host $c%, the prefix's other Wine processes $o%${top:+ (mostly $top)}; the room got $lines lines ($expected_lines expected)"
}

measure kestavine "Idle CPU over $cycles tick cycle$( ((cycles == 1)) || echo s): Kestavine Idle (target below 0.5% of one core)" \
  "$KESTAVINE_TITLE" "$KESTAVINE_EXE"
measure waitseconds "Idle CPU, same cycle: bench_spin_wait with WaitSeconds" "$SPIN_TITLE" bench_spin_wait.exe --wait winutil
measure spin "Idle CPU, same cycle: bench_spin_wait with a spinning wait" "$SPIN_TITLE" bench_spin_wait.exe --wait spin
