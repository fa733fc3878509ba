#!/usr/bin/env bash
# The close animation: a real click on "X", then the time until the window
# leaves the screen (the X server's unmap) and until the process has ended;
# beside them, when the first step reached the screen, how long the steps took
# from first to last, and how many size changes the screen saw (61 in height
# and 300 in width make the designed animation). Median of a few runs, warm.
#
#   bench/close.sh         (after a build; prints Markdown table rows)
#   BENCH_CLOSE_RUNS=5     timed runs
# shellcheck source=bench/lib.sh
source "$(dirname "$0")/lib.sh"
bench_init

runs=${BENCH_CLOSE_RUNS:-5}

bench_watch_screen
bench_start_hidden_window 60
keeper=$bench_pid

for f in unmapped ended steps first animation; do : >"$KV_TMP/$f"; done
bench_log "close: $runs runs"
for ((i = 0; i < runs; i++)); do
  t0=$(kv_now)
  kv_start "$BENCH_BIN/$KESTAVINE_EXE"
  read -r _ w < <(bench_wait_mapped "$KESTAVINE_TITLE" "$t0" 30) || { bench_log "no window"; exit 1; }
  pid=$(xdotool getwindowpid "$w")
  bench_programs+=("$pid")
  sleep 1 # painted and settled
  # The pointer first (xdotool waits until it has moved), then the click alone
  # is timed: from just before the button goes down.
  # shellcheck disable=SC2046
  xdotool mousemove $(kv_point "${AT_CLOSE[@]}")
  clicked=$(kv_now)
  xdotool click 1
  kv_wait_for 30 0.005 bench_ended "$pid" || bench_log "still running 30 s after X"
  ended=$(kv_now)
  unmapped=$(bench_event_time UnmapNotify "$w" "$clicked")
  [[ -n $unmapped ]] || unmapped=$ended
  kv_calc "$unmapped - $clicked" %.3f >>"$KV_TMP/unmapped"
  echo >>"$KV_TMP/unmapped"
  kv_calc "$ended - $clicked" %.3f >>"$KV_TMP/ended"
  echo >>"$KV_TMP/ended"
  bench_event_count ConfigureNotify "$w" "$clicked" "$unmapped" >>"$KV_TMP/steps"
  first=$(bench_event_time ConfigureNotify "$w" "$clicked")
  last=$(awk -v w="$w" -v from="$clicked" -v to="$unmapped" '$2 == "ConfigureNotify" && $3 == w && $1 > from && $1 <= to { t = $1 } END { print t }' "$BENCH_SCREEN_LOG")
  kv_calc "${first:-$clicked} - $clicked" %.3f >>"$KV_TMP/first"
  echo >>"$KV_TMP/first"
  kv_calc "${last:-$clicked} - ${first:-$clicked}" %.3f >>"$KV_TMP/animation"
  echo >>"$KV_TMP/animation"
done
bench_stop "$keeper"

bench_row "Close animation, click on \"X\" to window off the screen, median of $runs" \
  "$(bench_median %.3f <"$KV_TMP/unmapped") s" \
  "to the process ended: $(bench_median %.3f <"$KV_TMP/ended") s; first step $(bench_median %.3f <"$KV_TMP/first") s after the click, first to last step $(bench_median %.3f <"$KV_TMP/animation") s; size changes seen on the screen: $(sort -gu "$KV_TMP/steps" | paste -sd/) (61 + 300 designed)"
