#!/usr/bin/env bash
# Start-up: from the command that starts the program (the Wine wrapper, as the
# scripts run it) to its window on the screen, the moment the X server maps
# it, as reported by the server itself. Side by side with bench_bare_window,
# a window and its loop and nothing else, alternating run by run. Warm: a
# hidden process holds the prefix's wine server and Wine's own services up
# between runs, and one untimed run of each comes first. Then one cold start
# each, with the prefix's wine server ended first (the files stay cached): a
# session's services keep its server up, so it is ended, not waited for.
#
#   bench/startup.sh       (after a build; prints Markdown table rows)
#   BENCH_START_RUNS=10    timed warm runs of each program
# shellcheck source=bench/lib.sh
source "$(dirname "$0")/lib.sh"
bench_init

runs=${BENCH_START_RUNS:-10}

# time_start TITLE EXE [ARGS...]: milliseconds from start to mapped window.
time_start() {
  local title=$1 exe=$2 t0 mapped at w pid
  shift 2
  t0=$(kv_now)
  kv_start "$BENCH_BIN/$exe" "$@"
  mapped=$(bench_wait_mapped "$title" "$t0" 30) || { bench_log "$exe: no window in 30 s"; return 1; }
  read -r at w <<<"$mapped"
  pid=$(xdotool getwindowpid "$w")
  bench_programs+=("$pid")
  bench_stop "$pid"
  kv_calc "($at - $t0) * 1000" %.0f
  echo
}

bench_watch_screen
bench_start_hidden_window 60
keeper=$bench_pid

bench_log "start-up: $runs warm runs of each, alternating"
time_start "$KESTAVINE_TITLE" "$KESTAVINE_EXE" >/dev/null
time_start "$BARE_TITLE" bench_bare_window.exe >/dev/null
for f in kestavine bare; do : >"$KV_TMP/$f"; done
for ((i = 0; i < runs; i++)); do
  time_start "$KESTAVINE_TITLE" "$KESTAVINE_EXE" >>"$KV_TMP/kestavine"
  time_start "$BARE_TITLE" bench_bare_window.exe >>"$KV_TMP/bare"
done
range() { sort -g "$1" | awk 'NR == 1 { lo = $1 } { hi = $1 } END { printf "%s-%s", lo, hi }'; }
bench_row "Start to window on screen, warm wine server, median of $runs: Kestavine Idle" \
  "$(bench_median %.0f <"$KV_TMP/kestavine") ms (range $(range "$KV_TMP/kestavine") ms)" \
  "bench_bare_window: $(bench_median %.0f <"$KV_TMP/bare") ms (range $(range "$KV_TMP/bare") ms)"

# Ends the prefix's wine server, its services and whatever still runs there.
end_session() { "$KV_WINESERVER" -k 2>/dev/null || true; "$KV_WINESERVER" -w; }

bench_log "start-up: cold, with the wine server ended"
bench_stop "$keeper"
end_session
cold_kestavine=$(time_start "$KESTAVINE_TITLE" "$KESTAVINE_EXE")
end_session
cold_bare=$(time_start "$BARE_TITLE" bench_bare_window.exe)
end_session
bench_row "Start to window on screen, cold (no wine server; files cached), one run: Kestavine Idle" \
  "$cold_kestavine ms" "bench_bare_window: $cold_bare ms"
