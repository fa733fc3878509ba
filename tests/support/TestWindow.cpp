#include "TestWindow.h"

#include "MessagePump.h"

#include <chrono>

namespace testsupport {
namespace {

constexpr wchar_t kClassName[] = L"KestavineTestWindow";

void RegisterOnce()
{
    static const ATOM atom = [] {
        WNDCLASSW wc {};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        wc.lpszClassName = kClassName;
        return RegisterClassW(&wc);
    }();
    (void)atom;
}

} // namespace

TestWindow::TestWindow(RECT bounds, DWORD style, DWORD exStyle)
{
    RegisterOnce();
    hwnd_ = CreateWindowExW(exStyle, kClassName, L"test", style, bounds.left, bounds.top, bounds.right - bounds.left,
        bounds.bottom - bounds.top, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TestWindow::Proc));
}

TestWindow::~TestWindow()
{
    if (IsWindow(hwnd_)) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

int TestWindow::Count(UINT message) const
{
    int n = 0;
    for (const Message& m : messages_)
        n += m.message == message ? 1 : 0;
    return n;
}

LRESULT CALLBACK TestWindow::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (auto* self = reinterpret_cast<TestWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA))) {
        self->messages_.push_back({ message, wParam, lParam });
        if (self->reaction_)
            self->reaction_(hwnd, message, wParam, lParam);
        if (message == WM_TIMER)
            return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

double ProcessCpuSeconds()
{
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto seconds = [](FILETIME t) {
        ULARGE_INTEGER v;
        v.LowPart = t.dwLowDateTime;
        v.HighPart = t.dwHighDateTime;
        return static_cast<double>(v.QuadPart) / 1e7;
    };
    return seconds(kernel) + seconds(user);
}

bool PumpUntil(const std::function<bool()>& done, double seconds)
{
    const auto start = std::chrono::steady_clock::now();
    auto elapsed = [&] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(); };
    while (!done()) {
        if (elapsed() > seconds || !winutil::HandlePendingEvents())
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
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) { }
}

} // namespace testsupport
