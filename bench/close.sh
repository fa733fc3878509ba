#!/usr/bin/env bash
# The close animation: a real click on "X", then the time until the window
# leaves the screen (the X server's unmap) and until the process has ended;
# beside them, when the first step reached the screen, how long the steps took
# from first to last, and how many size changes the screen saw (61 in height
# and 300 in width make the designed animation). Median of a few runs, warm.
#
#   bench/close.sh         (after a build; prints Markdown table rows)
#   BENCH_CLOSE_RUNS=5     timed runs
source "$(dirname "$0")/lib.sh"
bench_init

runs=${BENCH_CLOSE_RUNS:-5}

bench_watch_screen
bench_start "$BENCH_BIN/bench_bare_window.exe" --hidden
keeper=$(bench_wait_process "bench_bare_window.exe --hidden" 60)
bench_programs+=("$keeper")

for f in unmapped ended steps first animation; do : >"$BENCH_TMP/$f"; done
bench_log "close: $runs runs"
for ((i = 0; i < runs; i++)); do
  t0=$(bench_now)
  bench_start "$BENCH_BIN/$KESTAVINE_EXE"
  read -r _ w < <(bench_wait_mapped "$KESTAVINE_TITLE" "$t0" 30) || { bench_log "no window"; exit 1; }
  pid=$(xdotool getwindowpid "$w")
  bench_programs+=("$pid")
  sleep 1 # painted and settled
  # The pointer first (xdotool waits until it has moved), then the click alone
  # is timed: from just before the button goes down.
  xdotool mousemove "$CLOSE_X" "$CLOSE_Y"
  clicked=$(bench_now)
  xdotool click 1
  while bench_alive "$pid"; do
    sleep 0.005
    awk "BEGIN { exit !($(bench_now) - $clicked > 30) }" && { bench_log "still running 30 s after X"; break; }
  done
  ended=$(bench_now)
  bench_reap
  unmapped=$(bench_event_time UnmapNotify "$w" "$clicked")
  [[ -n $unmapped ]] || unmapped=$ended
  bench_calc "$unmapped - $clicked" %.3f >>"$BENCH_TMP/unmapped"
  echo >>"$BENCH_TMP/unmapped"
  bench_calc "$ended - $clicked" %.3f >>"$BENCH_TMP/ended"
  echo >>"$BENCH_TMP/ended"
  bench_event_count ConfigureNotify "$w" "$clicked" "$unmapped" >>"$BENCH_TMP/steps"
  first=$(bench_event_time ConfigureNotify "$w" "$clicked")
  last=$(awk -v w="$w" -v from="$clicked" -v to="$unmapped" '$2 == "ConfigureNotify" && $3 == w && $1 > from && $1 <= to { t = $1 } END { print t }' "$BENCH_SCREEN_LOG")
  bench_calc "${first:-$clicked} - $clicked" %.3f >>"$BENCH_TMP/first"
  echo >>"$BENCH_TMP/first"
  bench_calc "${last:-$clicked} - ${first:-$clicked}" %.3f >>"$BENCH_TMP/animation"
  echo >>"$BENCH_TMP/animation"
done
bench_stop "$keeper"

bench_row "Close animation, click on \"X\" to window off the screen, median of $runs" \
  "$(bench_median %.3f <"$BENCH_TMP/unmapped") s" \
  "to the process ended: $(bench_median %.3f <"$BENCH_TMP/ended") s; first step $(bench_median %.3f <"$BENCH_TMP/first") s after the click, first to last step $(bench_median %.3f <"$BENCH_TMP/animation") s; size changes seen on the screen: $(sort -gu "$BENCH_TMP/steps" | paste -sd/) (61 + 300 designed)"
