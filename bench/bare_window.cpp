// The least a windowed program does to put a window on the screen: register a
// class, create a 300 x 100 popup at (0, 126), show it and run the message
// loop. How long it takes to appear under Wine is the yardstick for the
// program's own start-up.
//
//   bench_bare_window [--hidden]
//
//   --hidden   create the window without showing it: a process that only
//              keeps the wine server up between timed runs
#include "BenchWindow.h"

#include <windows.h>

#include <cwchar>

namespace {

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
    const bench::WindowClass windowClass { L"KestavineBenchBareWindow", L"bench_bare_window", WindowProc };
    if (!bench::CreateBenchWindow(instance, windowClass, 0, nullptr, hidden))
        return 1;
    return bench::RunMessageLoop();
}
