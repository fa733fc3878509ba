#!/usr/bin/env bash
# What KWin does with a click on a window it has just moved, shown with a
# plain X client (move_probe.py) on the tests' own headless Wayland desktop,
# driven through the compositor as a hand drives it (see tests/e2e/wayland.sh):
# a click hands the window to KWin for a move, the pointer moves it 200,140,
# a click puts it down; then a click on the window with the pointer still on
# it; then the window is placed a pixel aside and back (xdotool asks X as a
# program's placement of its own window does), and the pointer moves on it
# once more and clicks; last, the pointer leaves the window and comes back,
# and clicks. Prints where X has the window and Xwayland the pointer before
# each click, and everything the client heard from the put-down on, KWin's
# placements of it included.
#
#   tools/kwin-probe/run.sh [kwin|mutter]      (default kwin)
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/../../tests/e2e/lib.sh"
kv_init "$KV_ROOT"
e2e_window_manager_display "${1:-kwin}"
# The client and this script both append to the log, so that it shows the
# steps among what the client heard.
log="$KV_TMP/probe.log"
: >"$log"
/usr/bin/python3 "$KV_ROOT/tools/kwin-probe/move_probe.py" >>"$log" 2>&1 &
kv_pids+=("$!")
kv_wait_for 10 0.1 grep -q ready "$log"
sleep 0.5
where() { echo "  the window at $(e2e_window_geometry 'move probe' | cut -d' ' -f1-2), Xwayland's pointer at $(xdotool getmouselocation | cut -d' ' -f1-2)"; }
step() { echo "$1" | tee -a "$log"; }
step "1. a click at (100,136), the pointer moved 200,140 in steps of 8,6 and 0,-10, a click"
kv_input mousemove 100 136 click 1 sleep 0.2
for _ in {1..25}; do kv_input mousemove_relative 8 6 sleep 0.008; done
kv_input mousemove_relative 0 -10 sleep 0.3
echo "-- the click that puts it down" >>"$log"
kv_input click 1 sleep 0.5
where
step "2. the pointer moved on the window to (350,286), 150,20 into it, and a click"
kv_input mousemove 350 286 sleep 0.3 && where && kv_input click 1 sleep 0.5
step "3. the window placed a pixel to the right and back, the pointer still"
window=$(xdotool search --name '^move probe$' | head -n 1)
read -r x y _ < <(e2e_window_geometry 'move probe')
xdotool windowmove "$window" $((x + 1)) "$y" sleep 0.05 windowmove "$window" "$x" "$y" sleep 0.3 && where
step "   the pointer moved on the window to (360,292), 160,26 into it, and a click"
kv_input mousemove 360 292 sleep 0.3 && where && kv_input click 1 sleep 0.5
kv_input key Escape sleep 0.3
step "4. the pointer off the window, to (800,700), back to (350,286), and a click"
kv_input mousemove 800 700 sleep 0.3 mousemove 350 286 sleep 0.3 && where && kv_input click 1 sleep 0.5
kv_input key Escape sleep 0.3
echo "What the client heard:"
sed -n '/^-- the click that puts it down/,$p' "$log"
