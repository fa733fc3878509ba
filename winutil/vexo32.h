#pragma once

#include <windows.h>

// Small window routines that the main window's handlers call. None keeps state.

// Puts the window in the topmost band, above every window that is not topmost;
// its position and size stay as they are.
void KeepOnTop(HWND window);

// Hands the window to the system's own move loop, as if the user had grabbed
// its caption. Returns when that loop ends (at once for a window not shown).
// Called after a click, where the system's loop does not hold with the button
// up, or the move went to an X window manager that does not make it, the
// window follows the mouse in a loop of this module's instead, until the next
// click; Esc puts it back where it was picked up.
void StartWindowDrag(HWND window);

// Lets the given number of seconds pass while this thread keeps handling its
// messages (repaints, clicks, timer ticks), so handlers may run nested inside
// the wait. Returns at once, handling nothing, when there is nothing to wait.
// Sleeps between messages rather than spinning.
void WaitSeconds(double seconds);
