#pragma once

#include <windows.h>

#include <functional>
#include <vector>

namespace testsupport {

// A plain top-level window of this thread for tests: it records every message
// it gets, from its creation on.
class TestWindow {
public:
    struct Message {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };

    explicit TestWindow(RECT bounds = { 100, 100, 300, 250 });
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND hwnd() const { return hwnd_; }
    int Count(UINT message) const;
    const std::vector<Message>& Messages() const { return messages_; }

private:
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);

    HWND hwnd_ = nullptr;
    std::vector<Message> messages_;
};

// Seconds of CPU (user and kernel) this process has used so far.
double ProcessCpuSeconds();

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
