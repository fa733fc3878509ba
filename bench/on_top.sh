#!/usr/bin/env bash
# Staying on top: how long after the chat room takes the focus Kestavine Idle
# is seen above it again, from the X server's own stacking (bench/stacking.py
# follows it). The window is put over the room with its title strip; then
# BENCH_ON_TOP_ROUNDS (default 10) rounds of a click in the room, START and
# STOP (START's line presses the room's send button), 1.5 s apart: once with
# nothing else running, once beside one busy process per core, and once with
# a room that takes 400 ms to handle a click that gives it the focus (as a
# room starved of the processor would), so that its raise reaches the screen
# well after Kestavine Idle has heard of the focus change. For each, how
# many of those focus changes put the room over the window at all, and for
# how long: the time from the room's raise reaching the screen to the window
# seen above it again.
#
#   bench/on_top.sh        (after a build; prints Markdown table rows)
# shellcheck source=bench/lib.sh
source "$(dirname "$0")/lib.sh"
bench_init

rounds=${BENCH_ON_TOP_ROUNDS:-10}
home_x=$FORM_X home_y=$FORM_Y

# measure LABEL idle|busy|slow: one run, one table row.
measure() {
  local label=$1 chat kestavine ours room watcher action stacking
  CHAT_LOG=$KV_TMP/chat-$2.log
  FORM_X=$home_x FORM_Y=$home_y
  if [[ $2 == slow ]]; then kv_start_chathost --slow-focus 400; else kv_start_chathost; fi
  bench_wait_process chathost.exe 30
  chat=$bench_pid
  kv_start_kestavine || return 1
  bench_wait_process "${KESTAVINE_EXE%.exe}" 10
  kestavine=$bench_pid
  kv_pick_up $((400 - FORM_X)) $((226 - FORM_Y))
  xdotool click 1
  sleep 0.5
  FORM_X=400 FORM_Y=226
  ours=$(xdotool search --name "^$KESTAVINE_TITLE\$" | head -n 1)
  room=$(xdotool search --name "^Chat host \(stand-in\)\$" | head -n 1)

  [[ $2 != busy ]] || kv_start_busy
  stacking=$KV_TMP/stacking-$2.log
  /usr/bin/python3 "$KV_ROOT/bench/stacking.py" "$ours" "$room" >"$stacking" &
  watcher=$!
  kv_pids+=("$watcher")
  sleep 0.5
  bench_log "$label: $rounds rounds of a click on the room, START and STOP"
  for ((i = 0; i < rounds; i++)); do
    for action in room start stop; do
      echo "$(kv_now) $action" >>"$stacking.actions"
      case $action in
        room) xdotool mousemove 740 150 click 1 ;;
        start) kv_click "${AT_START[@]}" ;;
        stop) kv_click "${AT_STOP[@]}" ;;
      esac
      sleep 1.5
    done
  done
  kill "$watcher" "${kv_busy[@]}" 2>/dev/null || true
  kv_busy=()
  bench_stop "$kestavine"
  bench_stop "$chat"

  # Each spell of the room over the window, in ms, with the action before it.
  sort -n "$stacking" "$stacking.actions" | awk '
    $2 == "below" && !since { since = $1 }
    $2 == "above" && since { printf "%s %.1f\n", last, ($1 - since) * 1000; since = 0 }
    $2 != "below" && $2 != "above" { last = $2 }
    END { if (since) print last, "-1" }' >"$KV_TMP/hidden-$2"
  cp "$KV_TMP/hidden-$2" "$BENCH_OUT/on-top-$2.txt"
  local changes=$((rounds * 2)) spells longest median never
  spells=$(wc -l <"$KV_TMP/hidden-$2")
  never=$(awk '$2 < 0' "$KV_TMP/hidden-$2" | wc -l)
  median=$(awk '$2 >= 0 { print $2 }' "$KV_TMP/hidden-$2" | bench_median %.1f)
  longest=$(awk '$2 > m { m = $2 } END { printf "%.1f", m }' "$KV_TMP/hidden-$2")
  bench_row "$label" \
    "seen above the room again $median ms (median) after the room was raised over it, $longest ms at the longest$( ((never == 0)) || echo "; not again at all, $never times")" \
    "the room was raised over the window $spells times in $changes focus changes ($rounds clicks on the room, $rounds STARTs)"
}

measure "On top again after the room takes the focus, nothing else running" idle
measure "On top again, same, beside $(nproc) busy processes (one per core)" busy
measure "On top again, same, nothing else running, the room 400 ms slow to take the focus" slow
