#!/usr/bin/env bash
# The window's own chrome, driven with the real mouse and keyboard and looked
# at on the screen: "-" minimises on a press of any button; a click on the
# title strip picks the window up, it follows the mouse until the next click
# puts it down, Return puts it down too and Esc puts it back; it stays above
# the chat room when the room is clicked; START and STOP work where it lands,
# and "X" ends the program. With KESTAVINE_WM, all of it under that window
# manager (see lib.sh).
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
e2e_init "$1"

e2e_start_kestavine
e2e_press "${AT_MINIMISE[@]}" 3 # the right button, not released
e2e_check "a right-button press on \"-\" minimises" kv_wait_for 5 0.1 e2e_minimised "$KESTAVINE_TITLE"
e2e_release 3
e2e_check "the minimised program keeps running" kill -0 "$KESTAVINE_PID"
kill "$KESTAVINE_PID"
e2e_wait_exit "$KESTAVINE_PID" 10

# Where the window is on the screen, by X's geometry: "x y".
where() { e2e_window_geometry "$KESTAVINE_TITLE" | cut -d' ' -f1-2; }
# A click on the title strip, and at once the mouse moved by (DX, DY) as a
# hand moves it, in steps 20 ms apart that grow (to 1, 3, 5 and 8 eighths of
# the way); then time for the window to follow.
pick_up() {
  local moves=() part x y done_x=0 done_y=0
  for part in 1 3 5 8; do
    x=$(($1 * part / 8)) y=$(($2 * part / 8))
    moves+=(mousemove_relative -- $((x - done_x)) $((y - done_y)) sleep 0.02)
    done_x=$x done_y=$y
  done
  # shellcheck disable=SC2046
  xdotool mousemove $(kv_point "${AT_TITLE_STRIP[@]}") click 1 "${moves[@]}"
  sleep 0.4
}

kv_start_chathost # the chat room, which the window is to stay above
e2e_start_kestavine
not_enabled=$(e2e_status_width)
home="$FORM_X $FORM_Y"
for i in 1 2 3; do
  pick_up 30 20
  following=$(where)
  xdotool key Escape
  sleep 0.3
  back=$(where)
  e2e_check "pick-up $i: the window followed the mouse ($following), and Esc put it back ($back)" \
    test "$following|$back" = "$((FORM_X + 30)) $((FORM_Y + 20))|$home"
done

pick_up 40 50
xdotool click 1
sleep 0.3
at=$(where)
e2e_check "the next click put the window down where the mouse took it ($at)" test "$at" = "$((FORM_X + 40)) $((FORM_Y + 50))"
read -r FORM_X FORM_Y <<<"$at"

pick_up 20 10
xdotool key Return
sleep 0.3
at=$(where)
e2e_check "Return put the window down where the mouse took it ($at)" test "$at" = "$((FORM_X + 20)) $((FORM_Y + 10))"
read -r FORM_X FORM_Y <<<"$at"

# Over the chat room's window (at 320,40, 480 x 360, its frame aside).
pick_up $((400 - FORM_X)) $((226 - FORM_Y))
following=$(where)
xdotool click 1
sleep 0.3
at=$(where)
e2e_check "the window followed the mouse over the room ($following), and the next click put it down there ($at)" \
  test "$following|$at" = "400 226|400 226"
read -r FORM_X FORM_Y <<<"$at"

# What the window shows between its title strip and the reason box (the
# ground, the status label, the lines), as a user sees it on the screen.
shown() { import -window root -crop "300x40+$FORM_X+$((FORM_Y + 20))" -depth 8 rgb:- | md5sum; }
before=$(shown)
xdotool mousemove 760 380 click 1 # in the room, beside the window
sleep 0.5
e2e_screenshot "$E2E_TMP/over-room.png"
e2e_check "after a click on the room the window is still seen above it: its ground" \
  test "$(e2e_pixel "$E2E_TMP/over-room.png" $((FORM_X + 150)) $((FORM_Y + 25)))" = 0D146F
e2e_check "... and all it showed before" test "$(shown)" = "$before"

# Captions as the status label draws them: "Not Enabled" is the wider.
kv_click "${AT_START[@]}"
sleep 0.3
enabled=$(e2e_status_width)
e2e_check "START shows \"Enabled\" where the window is now (caption $enabled px, was $not_enabled px)" kv_true "$enabled > 20 && $enabled < $not_enabled"
kv_click "${AT_STOP[@]}"
sleep 0.3
e2e_check "STOP shows \"Not Enabled\" again" test "$(e2e_status_width)" = "$not_enabled"

kv_click "${AT_START[@]}"
kv_click "${AT_CLOSE[@]}"
e2e_check "\"X\" ends the program, with idling on" e2e_wait_exit "$KESTAVINE_PID" 10

e2e_finish
