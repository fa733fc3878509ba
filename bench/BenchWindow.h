// The window of the benchmark programs: a 300 x 100 popup on a black ground
// where the program's own window opens, so that the scripts find and click it
// where they would click the program, and the message loop that keeps it.
// Nothing more, for bench_bare_window is the yardstick of the program's
// start-up.
#pragma once

#include <windows.h>

namespace bench {

struct WindowClass {
    const wchar_t* name;
    const wchar_t* title;
    WNDPROC procedure;
};

// Registers the class and creates the window, with `param` for WM_NCCREATE,
// and shows it unless `hidden`. Null when the system refuses either.
HWND CreateBenchWindow(HINSTANCE instance, const WindowClass& windowClass, DWORD exStyle, void* param, bool hidden);

// Runs the message loop until the quit message; returns its exit code.
int RunMessageLoop();

} // namespace bench
