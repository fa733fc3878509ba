#pragma once

#include <windows.h>

namespace winutil {

// Watches, while it lives, what this thread takes from its queue, so that the
// caller can tell how the system's move loop ended. After a click on a
// caption the loop holds until the next click (Windows, Wine 8); some systems
// (Wine 10) end it at the first message it passes on while the left button is
// up, that is at once.
class MoveLoopWatch {
public:
    MoveLoopWatch();
    ~MoveLoopWatch();
    MoveLoopWatch(const MoveLoopWatch&) = delete;
    MoveLoopWatch& operator=(const MoveLoopWatch&) = delete;

    // Whether the loop ran and ended by itself: the last message taken was not
    // one that ends it for the user (a left-button release, Return or Esc)
    // nor a quit request. False when nothing was taken: no loop ran (the
    // window is not shown), or this system does not report what its loop takes.
    bool EndedByItself() const;

private:
    static LRESULT CALLBACK OnGetMessage(int code, WPARAM wParam, LPARAM lParam);

    HHOOK hook_;
    MoveLoopWatch* outer_; // a watch of an enclosing drag, restored when this one ends
    bool took_ = false;
    UINT lastMessage_ = 0;
    WPARAM lastWParam_ = 0;
};

// The move loop for a window handed over after a click: the window follows the
// mouse until the left button is released, as in the system's own loop;
// Return puts it down too, and Esc puts it back where it was. Every other
// message is handled meanwhile, so timer ticks and repaints go on.
void FollowMouseUntilClick(HWND window);

} // namespace winutil
