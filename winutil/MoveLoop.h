#pragma once

#include <windows.h>

#include <array>

namespace winutil {

// How the system handled a drag command, as this thread saw it.
enum class DragHandling {
    // Its move loop ran until the user ended it: a left-button release, Return
    // or Esc (Windows; Wine 8 where Wine places the window itself).
    EndedByUser,
    // Its move loop ran and ended at the first message it passed on while the
    // left button was up, that is soon after a click, having moved the window
    // for the mouse moves that came first (Wine 10 where Wine places the
    // window itself).
    EndedByItself,
    // No move loop of the system's ran here. The window is not shown, or Wine
    // handed the move to the X window manager, which may move the window
    // itself or ignore the request (Metacity and its kin do, when no button is
    // held).
    HandedOver,
};

// Watches, while it lives, what this thread takes from its queue, and whether
// a move loop of the system's takes it, so that the caller can tell how the
// system's handling of a drag command ended.
class MoveLoopWatch {
public:
    MoveLoopWatch();
    ~MoveLoopWatch();
    MoveLoopWatch(const MoveLoopWatch&) = delete;
    MoveLoopWatch& operator=(const MoveLoopWatch&) = delete;

    DragHandling Handling() const;

private:
    static LRESULT CALLBACK OnGetMessage(int code, WPARAM wParam, LPARAM lParam);

    HHOOK hook_;
    MoveLoopWatch* outer_; // a watch of an enclosing drag, restored when this one ends
    bool loopRan_ = false; // something was taken while a move loop of the system's ran
    UINT lastMessage_ = 0;
    WPARAM lastWParam_ = 0;
};

// Where a drag began, in screen pixels, before anything moved: the window's
// top-left corner, the pointer, and where the system had the pointer last
// before it came there (the pointer itself where the system cannot say).
struct PickUp {
    POINT window;
    POINT pointer;
    POINT before;
};

// Who moves the window while the move a drag command began is under way.
enum class Mover { Undecided, Us, Others };

// Finds out, from what this program sees of the pointer, whether another
// program moves the window: the X window manager, where Wine handed the move
// to it and it took it. A mouse move reaches this program only while no other
// program holds the pointer and the pointer is on the window. The window
// manager holds it while it moves the window; when it ends its move, it tells
// us where it left the window and gives the pointer back with one mouse move.
// The judge is told of two things:
// - each mouse move that reached us;
// - looks at the pointer, taken while no mouse move waits for us, so that a
//   pointer found elsewhere than the last mouse move said has moved without
//   telling us: somebody holds it, or it is off the window.
// So, while undecided, a mouse move away from the pick-up point makes the
// move ours; a pointer found moved without telling us on two looks in a row,
// or the window moved by somebody else, make it another's. Where the
// move was handed to the window manager, a mouse move at the pick-up point
// makes it another's at any time: the pointer given back where the move
// began, or put there by a window manager that takes the move over (KWin 5
// does, on a Wayland desktop). A pointer that leaves the window before a
// mouse move has reached us looks the same whether somebody holds it or
// not; the move is then left alone. (Putting the window under the pointer
// to find out stops Openbox's own move on the screen under Wine 10.)
// Each Wine program tells the system of the pointer as its own X events
// reach it. When the pointer jumps from the chat room onto our window,
// Xwayland (under KWin 6.3) tells the room's window at the same moment that
// the pointer entered it where it was before; if the room's program handles
// that after our click, the system says the pointer is there until it next
// moves. That point, where the pointer was before the pick-up, is no sign of
// anybody holding it.
// A window manager may also take the move over after it became ours (KWin 5
// on a busy machine, when the first mouse move reached us before it began):
// it then moves the window while the pointer stands still for us, and the
// click that ends its move never reaches us. A window manager that only
// keeps the window where it may be answers each placement of ours once, on a
// busy machine late (Mutter: the window found back at the place before the
// last, then at the last); the window found moved twice since our last
// placement, to places not of ours, is another's move.
class MoverJudge {
public:
    // While the move is ours: how long the pointer may be on the window
    // without telling us before we take it that somebody holds it after all (a
    // window manager that took the move late). Where the window manager places
    // the window, it may stand a moment behind where we asked, and the pointer
    // may then be off the window on the screen though on it in the system's
    // eyes: this is how long the window manager may take to place it.
    static constexpr LONG kLostMs = 500;

    // `mover` as known at the start: Undecided, or Us where the system's own
    // loop gave the move back.
    MoverJudge(Mover mover, const PickUp& pickUp, SIZE windowSize);

    Mover Current() const { return mover_; }
    // A mouse move that reached this program: where, and where the window is
    // then.
    void OnMouseMove(POINT at, POINT window);
    // A look at the pointer and at where the window is, at time `now`.
    void OnLook(POINT pointer, POINT window, DWORD now);
    // The window placed by this program: where it is now.
    void OnPlaced(POINT window);

private:
    bool MovedByOthers(POINT window) const;
    bool PlacedThereLately(POINT window) const;
    void Remember(POINT window);

    Mover mover_;
    bool handedOver_; // the system left the move to the window manager
    bool movedUnheard_ = false; // while undecided: the last look found the pointer moved, untold
    PickUp pickUp_;
    SIZE size_;
    POINT reported_; // where the last mouse move that reached us was
    bool held_ = false; // while ours: the pointer moved on the window without telling us
    DWORD heldSince_ = 0;
    // While ours: where the window was when placed or looked at last, and the
    // places before, the latest first.
    std::array<POINT, 4> placed_;
    int movedUnbidden_ = 0; // while ours: looks since the last placement that found the window moved
};

// The move loop for a window picked up by a click: the window follows the
// mouse until the left button is released, as in the system's own loop;
// Return puts it down too, and Esc puts it back where it was picked up. Every
// other message is handled meanwhile, so timer ticks and repaints go on. With
// `mover` Undecided the loop first finds out whether another program (the X
// window manager) moves the window, and leaves the move to it if so.
void FollowMouseUntilClick(HWND window, const PickUp& pickUp, Mover mover);

} // namespace winutil
