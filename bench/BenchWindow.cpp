#include "BenchWindow.h"

namespace bench {
namespace {

constexpr int kX = 0;
constexpr int kY = 126;
constexpr int kWidth = 300;
constexpr int kHeight = 100;

} // namespace

HWND CreateBenchWindow(HINSTANCE instance, const WindowClass& windowClass, DWORD exStyle, void* param, bool hidden)
{
    WNDCLASSEXW wc {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = windowClass.procedure;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = windowClass.name;
    if (!RegisterClassExW(&wc))
        return nullptr;

    HWND window = CreateWindowExW(exStyle, windowClass.name, windowClass.title, WS_POPUP, kX, kY, kWidth, kHeight,
        nullptr, nullptr, instance, param);
    if (window && !hidden) {
        ShowWindow(window, SW_SHOWNORMAL);
        UpdateWindow(window);
    }
    return window;
}

int RunMessageLoop()
{
    MSG msg {};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

} // namespace bench
