"""Follows, as the X server tells it, whether one top-level window is stacked
above another: prints "<time> above" or "<time> below" each time that changes,
and once at the start, with the Unix time at which it learnt of the change.
Runs until it is ended.

    python3 bench/stacking.py WINDOW OTHER   (X window ids, as xdotool gives them)
"""
import sys
import time

from Xlib import X, display as xdisplay


def frame_of(conn, root, window):
    """The child of the root that holds the window: its window manager's frame, or itself."""
    while True:
        parent = conn.create_resource_object("window", window).query_tree().parent.id
        if parent == root.id:
            return window
        window = parent


def main():
    conn = xdisplay.Display()
    root = conn.screen().root
    ours, other = (int(arg, 0) for arg in sys.argv[1:3])
    root.change_attributes(event_mask=X.SubstructureNotifyMask)
    state = None
    while True:
        order = [child.id for child in root.query_tree().children]  # bottom first
        above = order.index(frame_of(conn, root, ours)) > order.index(frame_of(conn, root, other))
        if above != state:
            state = above
            print("%.6f %s" % (time.time(), "above" if above else "below"), flush=True)
        conn.next_event()  # the next change on the root
        while conn.pending_events():
            conn.next_event()


main()
