#!/usr/bin/env bash
# The window's own chrome, driven with the real mouse and keyboard and looked
# at on the screen: "-" minimises on any button; the title strip picks it up,
# the next click (a flick too) or Return puts it down, Esc puts it back; it
# stays above the room when the room, START or STOP take the focus; "X" ends
# the program. With KESTAVINE_WM, under that window manager, which must manage
# the window; with KESTAVINE_BUSY, beside busy processes (see lib.sh).
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
e2e_init "$1"

e2e_start_kestavine
[[ -z ${KESTAVINE_WM:-} ]] || e2e_check "$KESTAVINE_WM manages the window" kv_wait_for 10 0.1 e2e_managed "$KESTAVINE_TITLE"
# shellcheck disable=SC2046
kv_input mousemove $(kv_point "${AT_MINIMISE[@]}") mousedown 3 # the right button, held
e2e_check "a right-button press on \"-\" minimises" kv_wait_for 5 0.1 e2e_minimised "$KESTAVINE_TITLE"
kv_input mouseup 3
e2e_check "the minimised program keeps running" kill -0 "$KESTAVINE_PID"
kill "$KESTAVINE_PID"
e2e_wait_exit "$KESTAVINE_PID"

# Checks, a moment after it was put down, that the window lies (DX, DY) from
# FORM_X, FORM_Y (see e2e_taken_to), which then take its place.
landed() {
  local at
  sleep 0.3
  at=$(e2e_form_at)
  e2e_check "$1 ($at)" e2e_taken_to "$at" "$((FORM_X + $2)) $((FORM_Y + $3))"
  read -r FORM_X FORM_Y <<<"$at"
}

# The chat room, which the window is to stay above. A click that gives one of
# its controls the focus takes the host a while, so that the raise of its
# window reaches the screen after Kestavine Idle has heard of the focus.
kv_start_chathost --slow-focus 200
e2e_start_kestavine
not_enabled=$(e2e_status_width)
home="$FORM_X $FORM_Y"
# Ten on Wayland, where the first step's mouse move may come after a look.
for ((i = 1; i <= (E2E_WAYLAND ? 10 : 3); i++)); do
  kv_pick_up 30 20
  following=$(e2e_form_at)
  e2e_check "pick-up $i: the window followed the mouse ($following)" e2e_taken_to "$following" "$((FORM_X + 30)) $((FORM_Y + 20))"
  kv_input key Escape
  sleep 0.3
  e2e_check "... and Esc put it back" test "$(e2e_form_at)" = "$home"
done

# A flick: the first mouse move to reach the program is far from the click;
# under Metacity, which leaves the move to the program, the window stays. On
# Wayland it is a hand's, in steps a mouse reports 125 times a second.
flick=(mousemove_relative -- 300 300)
[[ -z $E2E_WAYLAND ]] || read -ra flick <<<"sleep 0.2 $(printf 'mousemove_relative 30 30 sleep 0.008 %.0s' {1..10})"
if [[ ${KESTAVINE_WM:-} != metacity ]]; then
  # shellcheck disable=SC2046
  kv_input mousemove $(kv_point "${AT_TITLE_STRIP[@]}") click 1 "${flick[@]}" sleep 0.3 click 1
  landed "a flick moved the window where the mouse went" 300 300
fi

# Moved again and again, as a hand moves it: after each put-down the pointer
# leaves the window and comes back to the strip in one jump (a tablet, a touch
# screen, a flick) or in small uneven steps; once it picks the window up where
# it put it down (under KWin 5 the hand leaves it first: see wayland.sh).
for round in 1 2; do
  e2e_hand_back jump && kv_pick_up 40 50 && kv_input click 1
  landed "round $round, back in one jump: the next click put the window down where the mouse took it" 40 50
  e2e_hand_back steps && kv_pick_up 20 -10 && kv_input key Return
  landed "round $round, back in steps: Return put the window down where the mouse took it" 20 -10
  [[ -z $E2E_KWIN5 ]] || e2e_hand_back steps
  kv_pick_up -50 30 && kv_input click 1
  landed "round $round, picked up where it was put down: the next click put it down" -50 30
done
# Over the chat room's window (at 320,40, 480 x 360, its frame aside).
e2e_hand_back jump && kv_pick_up $((400 - FORM_X)) $((226 - FORM_Y)) && kv_input click 1
landed "the next click put the window down over the room" $((400 - FORM_X)) $((226 - FORM_Y))

# What the window shows between its title strip and the reason box (the
# ground, the status label, the lines), as a user sees it on the screen.
shown() { e2e_window_shot png:- | convert - -crop 300x40+0+20 -depth 8 rgb:- | md5sum; }
before=$(shown)
# Captions as the status label draws them: "Not Enabled" is the wider.
enabled_shown() { local enabled && enabled=$(e2e_status_width) && kv_true "$enabled > 20 && $enabled < $not_enabled"; }
not_enabled_shown() { test "$(e2e_status_width)" = "$not_enabled"; }
# The room takes the focus, after a click on it and after START and STOP
# (their lines press its send button): the window must be seen above it again.
for round in 1 2 3; do
  kv_input mousemove 740 150 click 1 # in the room's transcript, beside the window
  e2e_check "round $round: after a click on the room the window is seen above it" e2e_seen_on_top_within 6
  e2e_check "... and shows all it showed before" test "$(shown)" = "$before"
  kv_click "${AT_START[@]}"
  e2e_check "... after START too" e2e_seen_on_top_within 6
  e2e_check "... which shows \"Enabled\"" kv_wait_for 2 0.2 enabled_shown
  kv_click "${AT_STOP[@]}"
  e2e_check "... and STOP \"Not Enabled\" again" kv_wait_for 2 0.2 not_enabled_shown
done

kv_click "${AT_START[@]}"
kv_click "${AT_CLOSE[@]}"
e2e_check "\"X\" ends the program, with idling on" e2e_wait_exit "$KESTAVINE_PID"

e2e_finish
