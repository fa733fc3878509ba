#!/usr/bin/env bash
# Idling end to end: the real program over the stand-in room, in its own
# process, driven with the real mouse and keyboard; what arrives is read from
# the host's log (monotonic time stamps), and the window must be seen above the
# room all the while. What each click and tick sends, the in-process tests
# show. With KESTAVINE_WM and KESTAVINE_BUSY, as window_chrome_test.sh.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
e2e_init "$1"

banner="Kestavine Idle 1.0"
reason="  gone fishing, back at 3  "

# A tick's timer message may come late on a busy machine, never by this much;
# a period counted from the end of the tick's wait would be 20.5 s.
period_ok() { kv_true "$1 >= 19.6 && $1 <= 20.4"; }

# A host slow to take the focus (see window_chrome_test.sh), and kept busy as
# by a lively room, so that it hears of the pointer up to 20 ms late: when the
# pointer jumps from it onto the strip, it may tell Wine of the pointer at its
# old place after the click has reached Kestavine Idle.
kv_start_chathost --slow-focus 200 --busy 20
e2e_start_kestavine
# Over the room, whose send button each tick presses.
kv_pick_up $((400 - FORM_X)) $((226 - FORM_Y))
kv_input click 1
sleep 0.3
read -r FORM_X FORM_Y <<<"$(e2e_form_at)"
e2e_check "the window was put down over the room ($FORM_X $FORM_Y)" test "$FORM_X $FORM_Y" = "400 226"
[[ -z $E2E_KWIN5 ]] || kv_input mousemove 100 700 # off the window it moved, first
# The box's text replaced by typing, as a user replaces it.
kv_click "${AT_REASON[@]}"
kv_input key End shift+Home BackSpace
kv_input type --delay 20 -- "$reason"

clicked=$(kv_now)
kv_click "${AT_START[@]}"
kv_wait_sent 1 5 || true
arrived=$(kv_now)
# The user clicks in the room's transcript, beside the window, and goes away.
# A look every half second while idling: "<time> seen", "<time> hidden", or
# "<time> late" when a raise of the room had just come over the window and a
# look 0.3 s later saw it (the program stacks it anew within 0.16 s). A look
# itself takes up to half a second beside busy processes: one every 1.5 s.
room_clicked=$(kv_now)
kv_input mousemove 740 150 click 1
looks=$KV_TMP/on-top.log
(
  while sleep 0.5; do
    { e2e_seen_on_top && seen=seen; } || { sleep 0.3 && e2e_seen_on_top && seen=late; } || seen=hidden
    echo "$(kv_now) $seen" >>"$looks"
  done
) &
looking=$!
kv_pids+=("$looking")
e2e_check "START posts the banner within a second ($(kv_calc "$arrived - $clicked") s)" kv_true "$arrived - $clicked < 1"

kv_wait_sent 3 25 || true
t1=$(e2e_sent_time 1) t2=$(e2e_sent_time 2) t3=$(e2e_sent_time 3)
e2e_check "the first tick's banner comes 20 s after START ($(kv_calc "${t2:-0} - $t1") s)" period_ok "${t2:-0} - $t1"
e2e_check "START's line and the tick's first are the banner" test "$(e2e_sent_text 1)|$(e2e_sent_text 2)" = "$banner|$banner"
# A late timer message is the system's; the half-second wait is the program's own.
e2e_check "the reason follows 0.5 s later ($(kv_calc "${t3:-0} - ${t2:-0}") s)" kv_true "${t3:-0} - ${t2:-0} >= 0.5 && ${t3:-0} - ${t2:-0} <= 0.75"
e2e_check "the reason arrives exactly as typed, blanks kept" test "$(e2e_sent_text 3)" = "Idleing Reason: $reason"

# The second tick, and "X" during its half-second wait: the program must
# still end, and that tick's reason line never comes. The pointer waits over
# "X", so that the click follows the banner at once.
# shellcheck disable=SC2046
kv_input mousemove $(kv_point "${AT_CLOSE[@]}")
kv_wait_sent 4 25 || true
closing=$(kv_now)
kv_input click 1
t4=$(e2e_sent_time 4)
e2e_check "ticks keep a 20 s period ($(kv_calc "${t4:-0} - ${t2:-0}") s)" period_ok "${t4:-0} - ${t2:-0}"
kill "$looking"
looked() { awk -v before="$closing" -v seen="$1" '$1 < before && $2 == seen' "$looks" | wc -l; }
seen=$(looked seen) late=$(looked late) hidden=$(looked hidden)
# When, counted from the click on the room.
when=$(awk -v from="$room_clicked" -v before="$closing" '$1 < before && $2 != "seen" && n++ < 5 { printf " %s %.2f s", $2, $1 - from }' "$looks")
e2e_check "idling over the room ($FORM_X $FORM_Y), the window was seen above it at every look until \"X\", or 0.3 s later ($seen seen, $late only 0.3 s later, $hidden hidden${when:+;$when after the click on the room})" \
  kv_true "$FORM_X == 400 && $FORM_Y == 226 && $hidden == 0 && $seen >= ($closing - $room_clicked) / 1.5"
e2e_check "\"X\" during a tick's wait ends the program" e2e_wait_exit "$KESTAVINE_PID"
e2e_check "and that tick's reason line never came" test "$(kv_sent_count)" = 4

e2e_finish
