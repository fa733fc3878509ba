#!/usr/bin/env bash
# Under Wine's own Wayland driver the window stays where the compositor put it
# (in the middle of the screen): a pick-up must not set the place the program
# goes by apart from it, so that "X" is still where the user sees it.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
e2e_init "$1"

# Up once Wine has asked the compositor for the titled window.
WAYLAND_DEBUG=client kv_start "$KV_BIN/$KESTAVINE_EXE"
kv_wait_started 90 "Kestavine Idle's window never appeared" grep -qF "set_title(\"$KESTAVINE_TITLE\")" "$kv_last_log" || exit 1
sleep 0.5
FORM_X=362 FORM_Y=334
kv_pick_up 400 300
kv_input click 1
kv_click "${AT_CLOSE[@]}"
e2e_check "\"X\" ends the program after a pick-up" e2e_wait_exit "$kv_last_pid"
e2e_finish
