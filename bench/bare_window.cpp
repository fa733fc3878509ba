// The least a windowed program does to put a window on the screen: register a
// class, create a 300 x 100 popup at (0, 126), show it and run the message
// loop. How long it takes to appear under Wine is the yardstick for the
// program's own start-up.
//
//   bench_bare_window [--hidden]
//
//   --hidden   create the window without showing it: a process that only
//              keeps the wine server up between timed runs
#include <windows.h>

#include <cwchar>

namespace {

constexpr wchar_t kClassName[] = L"KestavineBenchBareWindow";
constexpr wchar_t kTitle[] = L"bench_bare_window";
constexpr int kX = 0;
constexpr int kY = 126;
constexpr int kWidth = 300;
constexpr int kHeight = 100;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int)
{
    const bool hidden = std::wcsstr(commandLine, L"--hidden") != nullptr;

    WNDCLASSEXW wc {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = kClassName;
    if (!RegisterClassExW(&wc))
        return 1;

    HWND window = CreateWindowExW(
        0, kClassName, kTitle, WS_POPUP, kX, kY, kWidth, kHeight, nullptr, nullptr, instance, nullptr);
    if (!window)
        return 1;
    if (!hidden) {
        ShowWindow(window, SW_SHOWNORMAL);
        UpdateWindow(window);
    }

    MSG msg {};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
