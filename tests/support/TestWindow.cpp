#include "TestWindow.h"

#include "MessagePump.h"

#include <algorithm>

namespace testsupport {
TestWindow::TestWindow(RECT bounds)
{
    static const ATOM registered = [] {
        WNDCLASSW wc {};
        wc.lpfnWndProc = &TestWindow::Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        wc.lpszClassName = L"KestavineTestWindow";
        return RegisterClassW(&wc);
    }();
    CreateWindowExW(0, MAKEINTATOM(registered), L"test", WS_POPUP, bounds.left, bounds.top, bounds.right - bounds.left,
        bounds.bottom - bounds.top, nullptr, nullptr, GetModuleHandleW(nullptr), this);
}

int TestWindow::Count(UINT message) const
{
    return static_cast<int>(
        std::count_if(messages_.begin(), messages_.end(), [&](const MSG& m) { return m.message == message; }));
}

LRESULT CALLBACK TestWindow::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Bound from the first message on, so the creation messages are seen too.
    if (message == WM_NCCREATE) {
        auto* self = static_cast<TestWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<TestWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
    }
    self->messages_.push_back({ hwnd, message, wParam, lParam, 0, {} });
    return message == WM_TIMER ? 0 : DefWindowProcW(hwnd, message, wParam, lParam);
}

bool PumpUntil(const std::function<bool()>& done, double seconds)
{
    const Stopwatch watch;
    while (!done()) {
        if (watch.Seconds() > seconds || !winutil::HandlePendingEvents())
            return done();
        MsgWaitForMultipleObjectsEx(0, nullptr, 5, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
    return true;
}

void PostClick(HWND window, POINT at)
{
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
}

void DrainQueue()
{
    // The program's own pass over the queue, with each quit request it puts
    // back taken away again.
    MSG quit;
    while (!winutil::HandlePendingEvents())
        PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

} // namespace testsupport
