#!/usr/bin/env python3
"""A plain X client, no part of Kestavine Idle: a frameless 300 x 100 window
at (0, 126). It prints what it hears of the pointer (window and root points),
of the focus and of its properties, and where it is told it is; and a
left-button press on it hands the window to the window manager for a move as
Wine does after a click: the pointer ungrabbed, then _NET_WM_MOVERESIZE
(move, no button held) at the press's root point. Prints "ready" once
mapped. Run with /usr/bin/python3 (Debian's python3-xlib)."""
from Xlib import X, display, protocol

d = display.Display()
screen = d.screen()
root = screen.root
events = (X.ButtonPressMask | X.ButtonReleaseMask | X.StructureNotifyMask | X.PointerMotionMask
          | X.EnterWindowMask | X.LeaveWindowMask | X.FocusChangeMask | X.PropertyChangeMask)
w = root.create_window(0, 126, 300, 100, 0, screen.root_depth, X.InputOutput, X.CopyFromParent,
                       background_pixel=0x0D146F, event_mask=events)
w.set_wm_name("move probe")
motif = d.intern_atom("_MOTIF_WM_HINTS")
w.change_property(motif, motif, 32, [2, 0, 0, 0, 0])  # no decorations
w.set_wm_normal_hints(flags=1 | 4, x=0, y=126)  # the place is the user's and the program's
w.map()
d.flush()
moveresize = d.intern_atom("_NET_WM_MOVERESIZE")
names = {X.MotionNotify: "motion", X.EnterNotify: "enter", X.LeaveNotify: "leave",
         X.ButtonPress: "press", X.ButtonRelease: "release"}
focus = {X.FocusIn: "focus in", X.FocusOut: "focus out"}
mapped = False
pressed = False  # properties only from the first press on: those set as it is mapped tell nothing
while True:
    e = d.next_event()
    if e.type == X.MapNotify and not mapped:
        mapped = True
        print("ready", flush=True)
    elif e.type == X.ConfigureNotify:
        print(f"configured at {e.x},{e.y}", flush=True)
    elif e.type in focus:
        print(focus[e.type], flush=True)
    elif e.type == X.PropertyNotify and pressed:
        print(f"property {d.get_atom_name(e.atom)} changed", flush=True)
    elif e.type in names:
        print(f"{names[e.type]} at {e.event_x},{e.event_y} on the window, {e.root_x},{e.root_y} on the screen",
              flush=True)
        if e.type == X.ButtonPress and e.detail == 1:
            pressed = True
            d.ungrab_pointer(X.CurrentTime)
            root.send_event(protocol.event.ClientMessage(window=w, client_type=moveresize,
                                                         data=(32, [e.root_x, e.root_y, 8, 0, 1])),
                            event_mask=X.SubstructureRedirectMask | X.SubstructureNotifyMask)
            d.flush()
