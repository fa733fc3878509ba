#!/usr/bin/env bash
# Idling end to end: the real program beside the stand-in chat host in its own
# process, driven with the real mouse and keyboard; what arrives is read from
# the host's log, whose time stamps come from the system's monotonic clock.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
e2e_init "$1"

banner="Kestavine Idle 1.0"
reason="  gone fishing, back at 3  "

kv_start_chathost
e2e_start_kestavine
e2e_type_reason "$reason"
not_enabled=$(e2e_status_width)

clicked=$(kv_now)
kv_click "${AT_START[@]}"
kv_wait_sent 1 5
arrived=$(kv_now)
e2e_check "START posts the banner within a second ($(kv_calc "$arrived - $clicked") s)" kv_true "$arrived - $clicked < 1"
e2e_check "the first line is the banner" test "$(e2e_sent_text 1)" = "$banner"
e2e_check "the status reads \"Enabled\"" kv_true "$(e2e_status_width) < $not_enabled"

kv_click "${AT_START[@]}" # again, while on
kv_wait_sent 2 5
e2e_check "START twice posts the banner twice" test "$(e2e_sent_text 2)" = "$banner"

# The first tick: one period after the first START (the second does not restart it).
kv_wait_sent 4 25
t1=$(e2e_sent_time 1)
t3=$(e2e_sent_time 3)
t4=$(e2e_sent_time 4)
e2e_check "the tick's banner comes 20 s after START ($(kv_calc "$t3 - $t1") s)" kv_true "$t3 - $t1 >= 19.75 && $t3 - $t1 <= 20.25"
e2e_check "the tick's first line is the banner" test "$(e2e_sent_text 3)" = "$banner"
e2e_check "the reason follows 0.5 s later, at most 0.1 s late ($(kv_calc "$t4 - $t3") s)" kv_true "$t4 - $t3 >= 0.5 && $t4 - $t3 <= 0.6"
e2e_check "the reason arrives exactly as typed, blanks kept" test "$(e2e_sent_text 4)" = "Idleing Reason: $reason"

# The next tick, with the box emptied.
e2e_type_reason ""
kv_wait_sent 6 25
e2e_check "an empty box gives the bare prefix with its trailing blank" test "$(e2e_sent_text 6)" = "Idleing Reason: "
t5=$(e2e_sent_time 5)
e2e_check "ticks keep a 20 s period ($(kv_calc "$t5 - $t3") s)" kv_true "$t5 - $t3 >= 19.75 && $t5 - $t3 <= 20.25"

kv_click "${AT_STOP[@]}" # between ticks
sleep 0.3
e2e_check "STOP shows \"Not Enabled\" again" test "$(e2e_status_width)" = "$not_enabled"
sleep 21
e2e_check "after STOP nothing more arrives" test "$(kv_sent_count)" = 6

# "X" during a tick's half-second wait still ends the program.
kv_click "${AT_START[@]}"
kv_wait_sent 8 25
kv_click "${AT_CLOSE[@]}"
e2e_check "\"X\" during a tick's wait ends the program" e2e_wait_exit "$KESTAVINE_PID" 10

e2e_finish
