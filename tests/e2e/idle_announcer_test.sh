#!/usr/bin/env bash
# Idling end to end: the real program beside the stand-in chat host in its own
# process, driven with the real mouse and keyboard; what arrives is read from
# the host's log, whose time stamps come from the system's monotonic clock.
# Only what needs real processes and real time is here: the in-process tests
# show what each click and tick sends.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
e2e_init "$1"

banner="Kestavine Idle 1.0"
reason="  gone fishing, back at 3  "

# A tick's timer message may come late on a busy machine, never by this much;
# a period counted from the end of the tick's wait would be 20.5 s.
period_ok() { kv_true "$1 >= 19.6 && $1 <= 20.4"; }

kv_start_chathost
e2e_start_kestavine
e2e_type_reason "$reason"

clicked=$(kv_now)
kv_click "${AT_START[@]}"
kv_wait_sent 1 5 || true
arrived=$(kv_now)
e2e_check "START posts the banner within a second ($(kv_calc "$arrived - $clicked") s)" kv_true "$arrived - $clicked < 1"
e2e_check "the first line is the banner" test "$(e2e_sent_text 1)" = "$banner"

kv_wait_sent 3 25 || true
t1=$(e2e_sent_time 1) t2=$(e2e_sent_time 2) t3=$(e2e_sent_time 3)
e2e_check "the first tick's banner comes 20 s after START ($(kv_calc "${t2:-0} - $t1") s)" period_ok "${t2:-0} - $t1"
e2e_check "the tick's first line is the banner" test "$(e2e_sent_text 2)" = "$banner"
# A late timer message is the system's; the half-second wait is the program's own.
e2e_check "the reason follows 0.5 s later ($(kv_calc "${t3:-0} - ${t2:-0}") s)" kv_true "${t3:-0} - ${t2:-0} >= 0.5 && ${t3:-0} - ${t2:-0} <= 0.75"
e2e_check "the reason arrives exactly as typed, blanks kept" test "$(e2e_sent_text 3)" = "Idleing Reason: $reason"

# The second tick, and "X" during its half-second wait: the program must
# still end, and that tick's reason line never comes. The pointer waits over
# "X", so that the click follows the banner at once.
# shellcheck disable=SC2046
xdotool mousemove $(kv_point "${AT_CLOSE[@]}")
kv_wait_sent 4 25 || true
xdotool click 1
t4=$(e2e_sent_time 4)
e2e_check "ticks keep a 20 s period ($(kv_calc "${t4:-0} - ${t2:-0}") s)" period_ok "${t4:-0} - ${t2:-0}"
e2e_check "\"X\" during a tick's wait ends the program" e2e_wait_exit "$KESTAVINE_PID" 10
e2e_check "and that tick's reason line never came" test "$(kv_sent_count)" = 4

e2e_finish
