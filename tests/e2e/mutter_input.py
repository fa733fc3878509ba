#!/usr/bin/env python3
"""Pointer and keys as Mutter takes a user's, through its remote desktop interface:
"move X Y", "button CODE 0|1" and "key CODE 0|1" (evdev codes) on standard input, each
answered with "ok" once taken; all from one connection, which the session ends with."""
import sys

import dbus

NAME = "org.gnome.Mutter.RemoteDesktop"
bus = dbus.SessionBus()
desktop = dbus.Interface(bus.get_object(NAME, "/org/gnome/Mutter/RemoteDesktop"), NAME)
session = dbus.Interface(bus.get_object(NAME, desktop.CreateSession()), NAME + ".Session")
session.Start()
# Without a screen cast there is no absolute motion: the pointer is pinned to
# the top-left corner once, and every move is made relative to where it is.
session.NotifyPointerMotionRelative(-100000.0, -100000.0)
x = y = 0
# The seat gains its keyboard with the first key, which is lost: a harmless one.
session.NotifyKeyboardKeycode(42, True)
session.NotifyKeyboardKeycode(42, False)
print("ok", flush=True)

for line in sys.stdin:
    what, *args = line.split()
    if what == "move":
        to_x, to_y = int(args[0]), int(args[1])
        session.NotifyPointerMotionRelative(float(to_x - x), float(to_y - y))
        x, y = to_x, to_y
    elif what == "button":
        session.NotifyPointerButton(int(args[0]), args[1] == "1")
    elif what == "key":
        session.NotifyKeyboardKeycode(int(args[0]), args[1] == "1")
    print("ok", flush=True)
session.Stop()
