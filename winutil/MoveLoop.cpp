#include "MoveLoop.h"

#include <algorithm>

namespace winutil {

namespace {

// The watch in force on the user-interface thread, the only one that drags: a
// hook procedure has no other way to the object that set it.
MoveLoopWatch* activeWatch = nullptr;

// While the window follows the mouse, the pointer is also read this often: a
// pointer moved faster than the window follows may leave it for a moment, and
// then the system may tell the window nothing of where the pointer went.
constexpr UINT kFollowEveryMs = 15;

// A left-button release puts the window down, Return too, Esc puts it back;
// a quit request ends every loop.
bool EndsMoveLoop(UINT message, WPARAM wParam)
{
    return message == WM_LBUTTONUP || message == WM_QUIT
        || (message == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_ESCAPE));
}

bool SamePoint(POINT a, POINT b)
{
    return a.x == b.x && a.y == b.y;
}

// Milliseconds from one tick count to a later one; negative for an earlier one.
LONG Elapsed(DWORD from, DWORD to)
{
    return static_cast<LONG>(to - from);
}

void PlaceAt(HWND window, POINT topLeft)
{
    SetWindowPos(window, nullptr, topLeft.x, topLeft.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

MoveLoopWatch::MoveLoopWatch()
    : hook_(SetWindowsHookExW(WH_GETMESSAGE, &MoveLoopWatch::OnGetMessage, nullptr, GetCurrentThreadId()))
    , outer_(activeWatch)
{
    activeWatch = this;
}

MoveLoopWatch::~MoveLoopWatch()
{
    activeWatch = outer_;
    if (hook_)
        UnhookWindowsHookEx(hook_);
}

DragHandling MoveLoopWatch::Handling() const
{
    if (!loopRan_)
        return DragHandling::HandedOver;
    return EndsMoveLoop(lastMessage_, lastWParam_) ? DragHandling::EndedByUser : DragHandling::EndedByItself;
}

LRESULT CALLBACK MoveLoopWatch::OnGetMessage(int code, WPARAM wParam, LPARAM lParam)
{
    // Only what is taken from the queue counts, not what is only looked at. A
    // move loop of the system's ran only if something was taken while it ran:
    // Wine also takes messages as it hands the move to the window manager,
    // when it believes a button held (one whose release went to the window
    // manager); it waits for the release, makes it up, and handles whatever
    // else is queued meanwhile. What ended the loop may be taken after it
    // (Wine 10 takes the release of a click that ended it).
    if (code == HC_ACTION && wParam == PM_REMOVE && activeWatch) {
        const auto* msg = reinterpret_cast<const MSG*>(lParam);
        GUITHREADINFO thread { sizeof thread, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, {} };
        if (!activeWatch->loopRan_ && GetGUIThreadInfo(GetCurrentThreadId(), &thread)
            && (thread.flags & GUI_INMOVESIZE))
            activeWatch->loopRan_ = true;
        activeWatch->lastMessage_ = msg->message;
        activeWatch->lastWParam_ = msg->wParam;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

MoverJudge::MoverJudge(Mover mover, const PickUp& pickUp, SIZE windowSize)
    : mover_(mover)
    , handedOver_(mover == Mover::Undecided)
    , pickUp_(pickUp)
    , size_(windowSize)
    , reported_(pickUp.pointer)
{
    placed_.fill(pickUp.window);
}

bool MoverJudge::MovedByOthers(POINT window) const
{
    // Once the window is ours to move, the window manager may still keep it
    // off a panel or on the screen: that makes the move no less ours.
    return mover_ == Mover::Undecided && !SamePoint(window, pickUp_.window);
}

void MoverJudge::OnMouseMove(POINT at, POINT window)
{
    reported_ = at;
    held_ = false;
    // Where the system's own loop gave the move back, nobody else moves the
    // window: a mouse move at the pick-up point is only the system's word for
    // a pointer it has not yet seen leave, once the window has moved.
    if (handedOver_ && SamePoint(at, pickUp_.pointer))
        mover_ = Mover::Others;
    else if (mover_ == Mover::Undecided)
        mover_ = MovedByOthers(window) ? Mover::Others : Mover::Us;
}

bool MoverJudge::PlacedThereLately(POINT window) const
{
    return std::any_of(placed_.begin(), placed_.end(), [window](POINT at) { return SamePoint(at, window); });
}

void MoverJudge::Remember(POINT window)
{
    std::copy_backward(placed_.begin(), placed_.end() - 1, placed_.end());
    placed_.front() = window;
}

void MoverJudge::OnPlaced(POINT window)
{
    Remember(window);
    movedUnbidden_ = 0;
}

void MoverJudge::OnLook(POINT pointer, POINT window, DWORD now)
{
    if (mover_ == Mover::Others)
        return;
    if (MovedByOthers(window)) {
        mover_ = Mover::Others;
        return;
    }
    if (mover_ == Mover::Us && !PlacedThereLately(window)) {
        Remember(window);
        if (++movedUnbidden_ == 2) {
            mover_ = Mover::Others;
            return;
        }
    }
    if (mover_ == Mover::Undecided) {
        // The system may know of the hand's first step before its mouse move
        // is queued for us (another Wine program's X events may tell it
        // first): the pointer is held only if the next look finds it moved
        // still.
        const bool unheard = !SamePoint(pointer, reported_) && !SamePoint(pointer, pickUp_.before);
        if (unheard && movedUnheard_)
            mover_ = Mover::Others;
        movedUnheard_ = unheard;
        return;
    }
    const RECT on { window.x, window.y, window.x + size_.cx, window.y + size_.cy };
    if (SamePoint(pointer, reported_) || !PtInRect(&on, pointer)) {
        // Off the window, the pointer has only outrun it, or the window
        // manager keeps the window from it (at a screen edge, say).
        held_ = false;
        return;
    }
    if (!held_) {
        held_ = true;
        heldSince_ = now;
    }
    if (Elapsed(heldSince_, now) >= kLostMs)
        mover_ = Mover::Others;
}

void FollowMouseUntilClick(HWND window, const PickUp& pickUp, Mover mover)
{
    RECT rect {};
    GetWindowRect(window, &rect);
    MoverJudge judge(mover, pickUp, { rect.right - rect.left, rect.bottom - rect.top });
    // A mouse move at the pick-up point queued before now tells nothing:
    // releasing the capture queues one.
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_NOREMOVE) && SamePoint(msg.pt, pickUp.pointer))
        PeekMessageW(&msg, nullptr, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE);
    const auto windowAt = [&] {
        GetWindowRect(window, &rect);
        return POINT { rect.left, rect.top };
    };
    // The system's own loop, where it gave the move back, took the mouse moves
    // that came meanwhile and placed the window for them (Wine 10 on a busy
    // machine): the pointer is where the last of them told, not moved unheard.
    if (mover == Mover::Us) {
        POINT pointer;
        GetCursorPos(&pointer);
        judge.OnMouseMove(pointer, windowAt());
    }
    // The window keeps the place under the pointer where it was picked up.
    const POINT grip { pickUp.pointer.x - pickUp.window.x, pickUp.pointer.y - pickUp.window.y };
    const auto placeUnder = [&](POINT at) { PlaceAt(window, { at.x - grip.x, at.y - grip.y }); };
    POINT placedFor = pickUp.pointer;

    SetCapture(window);
    const UINT_PTR timer = SetTimer(nullptr, 0, kFollowEveryMs, nullptr);
    while (judge.Current() != Mover::Others) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam)); // the program is ending: the outer loop ends too
            break;
        }
        if (got < 0)
            break;
        const bool tick = msg.message == WM_TIMER && !msg.hwnd && msg.wParam == timer;
        if (msg.message == WM_MOUSEMOVE || tick) {
            POINT pointer;
            GetCursorPos(&pointer);
            // Of a pointer it has not heard of for 100 ms Wine asks the display,
            // whose answer overtakes the mouse moves the display sent before it
            // until the thread reads them, which a thread with a tick waiting
            // does not (a busy machine). Looking in the queue reads them: a look
            // that a mouse move has overtaken tells nothing, and it comes next.
            MSG queued;
            if (tick && PeekMessageW(&queued, nullptr, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_NOREMOVE))
                continue;
            if (tick)
                judge.OnLook(pointer, windowAt(), GetTickCount());
            else
                judge.OnMouseMove(msg.pt, windowAt());
            // Only a pointer at a new point moves the window: a window manager
            // that took the move late (KWin 5 on a busy machine) moves it while
            // the pointer stands still for us, and is not to be undone.
            if (judge.Current() == Mover::Us && !SamePoint(pointer, placedFor)) {
                placeUnder(pointer);
                placedFor = pointer;
                judge.OnPlaced(windowAt());
            }
        } else if (msg.message == WM_LBUTTONUP) {
            placeUnder(msg.pt); // the release reached us, so the pointer was ours
            break;
        } else if (msg.message == WM_KEYDOWN) {
            // As in the system's loop, keys go to nobody while the window moves.
            if (msg.wParam == VK_ESCAPE)
                PlaceAt(window, pickUp.window);
            if (EndsMoveLoop(msg.message, msg.wParam))
                break;
        } else {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        // A handler may have closed or minimised the window meanwhile.
        if (!IsWindow(window) || IsIconic(window))
            break;
    }
    if (timer)
        KillTimer(nullptr, timer);
    if (GetCapture() == window)
        ReleaseCapture();
}

} // namespace winutil
