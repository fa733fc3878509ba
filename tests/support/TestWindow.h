#pragma once

#include <windows.h>

#include <array>
#include <chrono>
#include <functional>
#include <vector>

namespace testsupport {

// A plain top-level window of this thread for tests: it records every message
// it gets, from its creation on.
class TestWindow {
public:
    explicit TestWindow(RECT bounds = { 100, 100, 300, 250 });
    ~TestWindow() { DestroyWindow(hwnd_); }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND hwnd() const { return hwnd_; }
    int Count(UINT message) const;
    const std::vector<MSG>& Messages() const { return messages_; }

private:
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);

    HWND hwnd_ = nullptr;
    std::vector<MSG> messages_;
};

// Seconds since it was made, on a monotonic clock.
struct Stopwatch {
    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
    double Seconds() const { return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(); }
};

// A rectangle as left, top, width and height, to compare whole.
using Box = std::array<LONG, 4>;
inline Box BoxOf(const RECT& r)
{
    return { r.left, r.top, r.right - r.left, r.bottom - r.top };
}
inline Box WindowBox(HWND window)
{
    RECT r {};
    GetWindowRect(window, &r);
    return BoxOf(r);
}

inline bool Topmost(HWND window)
{
    return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

// Handles this thread's messages until the condition holds or the time is up.
// A quit request ends it early (and stays queued): nothing more will come.
// Returns whether the condition held.
bool PumpUntil(const std::function<bool()>& done, double seconds);

// A press and a release of the left button at a client point, as the system posts them.
void PostClick(HWND window, POINT at);

// Empties this thread's queue as the program's own pump does, handling every
// message (a pending paint is painted, not dropped); quit requests are dropped.
void DrainQueue();

} // namespace testsupport
