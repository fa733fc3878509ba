#include "MoveLoop.h"

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

bool MoveLoopWatch::EndedByItself() const
{
    return took_ && !EndsMoveLoop(lastMessage_, lastWParam_);
}

LRESULT CALLBACK MoveLoopWatch::OnGetMessage(int code, WPARAM wParam, LPARAM lParam)
{
    // Only what is taken from the queue counts, not what is only looked at.
    if (code == HC_ACTION && wParam == PM_REMOVE && activeWatch) {
        const auto* msg = reinterpret_cast<const MSG*>(lParam);
        activeWatch->took_ = true;
        activeWatch->lastMessage_ = msg->message;
        activeWatch->lastWParam_ = msg->wParam;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void FollowMouseUntilClick(HWND window)
{
    RECT start;
    POINT pointer;
    if (!GetWindowRect(window, &start) || !GetCursorPos(&pointer))
        return;
    // The window keeps the place under the pointer where it was taken.
    const POINT grip { pointer.x - start.left, pointer.y - start.top };
    const auto follow = [&](POINT at) { PlaceAt(window, { at.x - grip.x, at.y - grip.y }); };

    SetCapture(window);
    const UINT_PTR timer = SetTimer(nullptr, 0, kFollowEveryMs, nullptr);
    MSG msg;
    for (;;) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam)); // the program is ending: the outer loop ends too
            break;
        }
        if (got < 0)
            break;
        const bool tick = msg.message == WM_TIMER && !msg.hwnd && msg.wParam == timer;
        if (msg.message == WM_MOUSEMOVE || tick) {
            GetCursorPos(&pointer);
            follow(pointer);
        } else if (msg.message == WM_LBUTTONUP) {
            follow(msg.pt);
            break;
        } else if (msg.message == WM_KEYDOWN) {
            // As in the system's loop, keys go to nobody while the window moves.
            if (msg.wParam == VK_ESCAPE)
                PlaceAt(window, { start.left, start.top });
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
