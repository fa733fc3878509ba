#pragma once

#include <windows.h>

namespace winutil {

// Keeps a topmost window above the others on the display, where the display's
// stacking can fall behind the system's own order. Under Wine, with windows
// that Wine stacks itself (no X window manager, Wine's virtual desktop, or a
// prefix set so), a window of another program that takes the focus is raised
// on the display above every other window, topmost ones included, while the
// system still ranks the topmost window first. So whenever a window of another
// program takes the focus or comes to the foreground, a topmost window that
// the system still ranks first is stacked anew, at once and again a few times
// over the next seconds: that program raises its window when it takes the
// focus, but the display sees the raise only when the program next waits for
// input, which on a busy machine may come well after we hear of the focus.
// Elsewhere (Windows) it watches nothing.
class TopmostWatch {
public:
    TopmostWatch() = default;
    ~TopmostWatch();
    TopmostWatch(const TopmostWatch&) = delete;
    TopmostWatch& operator=(const TopmostWatch&) = delete;

    // Starts watching for the window; one window at a time in a program.
    void Watch(HWND window);
    // Stacks the window anew on the display, above every other window, if the
    // system ranks it first among the windows shown; a window with a topmost
    // window shown above it keeps its place. The activation stays where it
    // is, and the window stays in the topmost band throughout, so that a
    // window manager that keeps it above the others never sees it leave.
    void Restack() const;

    // After a focus change the window is stacked anew at once, and again 10,
    // 20, 40, 80 and 160 ms after it, then every 160 ms up to 1280 ms, then at
    // 2560 and 5120 ms: a raise that reaches the display t ms after the change
    // is mended by t ms later at most, and within 160 ms when t is under
    // 1.28 s, as on a machine whose every processor is busy; by the last
    // stacking the program that took the focus has long waited for input.
    static constexpr UINT kFirstAgainMs = 10;
    static constexpr UINT kLongestGapMs = 160;
    static constexpr UINT kCloseForMs = 1280;
    static constexpr UINT kLastAgainMs = 5120;

private:
    static void CALLBACK OnEvent(HWINEVENTHOOK, DWORD event, HWND, LONG, LONG, DWORD, DWORD);
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);

    HWND window_ = nullptr;
    // A hidden topmost window that the watched one is stacked above anew:
    // stacking needs a change of order, and a window already first does not
    // change it.
    HWND marker_ = nullptr;
    HWINEVENTHOOK foreground_ = nullptr;
    HWINEVENTHOOK focus_ = nullptr;
    UINT dueMs_ = 0; // when the next stacking is due, counted from the last focus change
};

// Whether this program runs under Wine, whose display stacking the watch mends.
bool RunsUnderWine();

} // namespace winutil
