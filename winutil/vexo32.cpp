#include "vexo32.h"

#include "MessagePump.h"
#include "MoveLoop.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr UINT kTopmostFlags = SWP_NOSIZE | SWP_NOMOVE; // 0x0003: place only in z-order

// The caption-drag command: SC_MOVE (0xF010) with the low bits 2, as a 32-bit value.
constexpr DWORD kDragCommand = 0xFFFFF012u;

// Longest single sleep, kept well below INFINITE so a huge wait stays a wait.
constexpr double kMaxSleepMs = 0x7FFFFFFF;

// The performance counter: monotonic, and read without the C++ library's clocks.
LONGLONG Now()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

double SecondsSince(LONGLONG start)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(Now() - start) / static_cast<double>(frequency.QuadPart);
}

DWORD ToSleepMs(double seconds)
{
    return static_cast<DWORD>(std::min(std::ceil(seconds * 1000.0), kMaxSleepMs));
}

} // namespace

void KeepOnTop(HWND window)
{
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, kTopmostFlags);
}

void StartWindowDrag(HWND window)
{
    ReleaseCapture();
    // Handed over after a click, the window follows the mouse until the next
    // click puts it down. Where the system's loop ends at once instead, because
    // the button is up, the window follows the mouse in a loop of ours.
    const bool afterClick = GetKeyState(VK_LBUTTON) >= 0;
    bool endedByItself = false;
    {
        winutil::MoveLoopWatch watch;
        SendMessageA(window, WM_SYSCOMMAND, static_cast<WPARAM>(kDragCommand), 0);
        endedByItself = watch.EndedByItself();
    }
    if (afterClick && endedByItself)
        winutil::FollowMouseUntilClick(window);
}

void WaitSeconds(double seconds)
{
    // A monotonic clock: the wait ends after the time asked, across midnight too.
    const LONGLONG start = Now();
    double elapsed = SecondsSince(start);
    if (!(elapsed < seconds))
        return;
    for (;;) {
        if (!winutil::HandlePendingEvents()) {
            // The program is ending: nothing more to handle, only the time to let pass.
            while ((elapsed = SecondsSince(start)) < seconds)
                Sleep(ToSleepMs(seconds - elapsed));
            return;
        }
        elapsed = SecondsSince(start);
        if (!(elapsed < seconds))
            return;
        // Wakes for the next message or at the deadline; either way the next
        // pass handles what came, so nothing that arrived is left unhandled.
        MsgWaitForMultipleObjectsEx(0, nullptr, ToSleepMs(seconds - elapsed), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}
