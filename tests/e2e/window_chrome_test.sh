#!/usr/bin/env bash
# The window's own chrome, driven with the real mouse: "-" minimises on a
# press of any button; the title strip moves the window, and where it lands
# START and STOP still work and "X" ends the program.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
e2e_init "$1"

e2e_start_kestavine
e2e_press "${AT_MINIMISE[@]}" 3 # the right button, not released
sleep 0.5
# With no window manager, Wine shows a minimised window as a small iconic bar.
read -r x y w h < <(e2e_window_geometry "$KESTAVINE_TITLE")
e2e_check "a right-button press on \"-\" minimises (now ${w}x$h at $x,$y)" test "$w,$h" != "300,100"
e2e_release 3
e2e_check "the minimised program keeps running" kill -0 "$KESTAVINE_PID"
kill "$KESTAVINE_PID"
e2e_wait_exit "$KESTAVINE_PID" 10

# A click on the title strip picks the window up: it follows the mouse until
# the next click puts it down, or Esc puts it back.
# drag_title_strip DX DY COMMAND...: a click on the strip, the mouse moved by
# (DX, DY), then the command (a click, a key); prints where the window was
# before the command and where it is after: "x y x y".
drag_title_strip() {
  local x y
  kv_click "${AT_TITLE_STRIP[@]}"
  read -r x y < <(kv_point $((AT_TITLE_STRIP[0] + $1)) $((AT_TITLE_STRIP[1] + $2)))
  xdotool mousemove "$x" "$y"
  sleep 0.3
  shift 2
  read -r x y _ < <(e2e_window_geometry "$KESTAVINE_TITLE")
  "$@"
  sleep 0.3
  echo "$x $y $(e2e_window_geometry "$KESTAVINE_TITLE" | cut -d' ' -f1-2)"
}
e2e_start_kestavine
not_enabled=$(e2e_status_width)
read -r mx my x y < <(drag_title_strip 30 20 xdotool key Escape)
e2e_check "the window followed the mouse ($mx,$my), and Esc put it back ($x,$y)" \
  test "$mx,$my,$x,$y" = "$((FORM_X + 30)),$((FORM_Y + 20)),$FORM_X,$FORM_Y"
read -r _ _ x y < <(drag_title_strip 40 50 xdotool click 1)
e2e_check "the next click put the window down where the mouse took it (now at $x,$y)" \
  test "$x,$y" = "$((FORM_X + 40)),$((FORM_Y + 50))"
FORM_X=$x FORM_Y=$y

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
