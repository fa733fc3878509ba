#!/usr/bin/env python3
"""Pointer and keys as GNOME's compositor (Mutter) takes a user's, through its
remote desktop interface on the session bus: the seat's own pointer moves, so
that a move the compositor makes follows it. Reads commands on standard input,
one a line, and answers each with "ok" once the compositor has taken it:
  move X Y          the pointer to screen point X, Y
  button CODE 0|1   an evdev button (272 left, 273 right) released or pressed
  key CODE 0|1      an evdev key released or pressed
Every call comes from this one connection: the session ends with it."""
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
