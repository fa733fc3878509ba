#!/usr/bin/env bash
# What KWin does with a click on a window it has just moved, shown with a
# plain X client (move_probe.py) on the tests' own headless Wayland desktop,
# driven through the compositor as a hand drives it (see tests/e2e/wayland.sh):
# a click hands the window to KWin for a move, the pointer moves it 200,140,
# a click puts it down; then a click on the window with the pointer still on
# it, and another after the pointer has left it and come back. Prints where X
# has the window and Xwayland the pointer before each click, and everything
# the client heard.
#
#   tools/kwin-probe/run.sh [kwin|mutter]      (default kwin)
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/../../tests/e2e/lib.sh"
kv_init "$KV_ROOT"
e2e_window_manager_display "${1:-kwin}"
/usr/bin/python3 "$KV_ROOT/tools/kwin-probe/move_probe.py" >"$KV_TMP/probe.log" 2>&1 &
kv_pids+=("$!")
kv_wait_for 10 0.1 grep -q ready "$KV_TMP/probe.log"
sleep 0.5
where() { echo "  the window at $(e2e_window_geometry 'move probe' | cut -d' ' -f1-2), Xwayland's pointer at $(xdotool getmouselocation | cut -d' ' -f1-2)"; }
echo "1. a click at (100,136), the pointer moved 200,140 in steps of 8,6 and 0,-10, a click"
kv_input mousemove 100 136 click 1 sleep 0.2
for _ in {1..25}; do kv_input mousemove_relative 8 6 sleep 0.008; done
kv_input mousemove_relative 0 -10 sleep 0.3 click 1 sleep 0.5
where
echo "2. the pointer moved on the window to (350,286), 150,20 into it, and a click"
kv_input mousemove 350 286 sleep 0.3 && where && kv_input click 1 sleep 0.5
echo "3. the pointer off the window, to (800,700), back to (350,286), and a click"
kv_input mousemove 800 700 sleep 0.3 mousemove 350 286 sleep 0.3 && where && kv_input click 1 sleep 0.5
kv_input key Escape sleep 0.3
echo "What the client heard:"
grep -v '^configured' "$KV_TMP/probe.log"
