#include "vexo32.h"

#include "MessagePump.h"
#include "MoveLoop.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <iterator>

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

// Where the system had the pointer last before it came to `at`, from the
// pointer's recent path; `at` itself where the path does not show it.
POINT PointerBefore(POINT at)
{
    MOUSEMOVEPOINT from {};
    from.x = at.x & 0xFFFF; // as the path gives it
    from.y = at.y & 0xFFFF;
    MOUSEMOVEPOINT path[8];
    const int count
        = GetMouseMovePointsEx(sizeof from, &from, path, static_cast<int>(std::size(path)), GMMP_USE_DISPLAY_POINTS);
    for (int i = 0; i < count && path[i].time != 0; ++i) { // Wine pads a short path with empty points
        // Screens left of or above the main one give coordinates from 32768 up.
        const POINT point { path[i].x > 32767 ? path[i].x - 65536 : path[i].x,
            path[i].y > 32767 ? path[i].y - 65536 : path[i].y };
        if (point.x != at.x || point.y != at.y)
            return point;
    }
    return at;
}

} // namespace

void KeepOnTop(HWND window)
{
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, kTopmostFlags);
}

void StartWindowDrag(HWND window)
{
    ReleaseCapture();
    // On Wine's Wayland driver no program places its own window, and the
    // compositor moves it only while a button is held: a move of ours would
    // only set the place the system keeps for the window apart from the screen.
    if (GetModuleHandleW(L"winewayland.drv"))
        return;
    // Handed over after a click, the window follows the mouse until the next
    // click puts it down. Where the system's loop does not hold with the button
    // up, the window follows the mouse in a loop of ours instead: at once where
    // the system's loop ended by itself, and where the move went to the X
    // window manager, only if the window manager does not move it.
    const bool afterClick = GetKeyState(VK_LBUTTON) >= 0;
    RECT place {};
    GetWindowRect(window, &place);
    const DWORD clickAt = GetMessagePos(); // the click's point, wherever the pointer has gone since
    const POINT clicked { GET_X_LPARAM(clickAt), GET_Y_LPARAM(clickAt) };
    const winutil::PickUp pickUp { { place.left, place.top }, clicked, PointerBefore(clicked) };
    winutil::DragHandling handling;
    {
        winutil::MoveLoopWatch watch;
        SendMessageA(window, WM_SYSCOMMAND, static_cast<WPARAM>(kDragCommand), 0);
        handling = watch.Handling();
    }
    if (!afterClick || handling == winutil::DragHandling::EndedByUser || !IsWindowVisible(window))
        return;
    winutil::FollowMouseUntilClick(window, pickUp,
        handling == winutil::DragHandling::EndedByItself ? winutil::Mover::Us : winutil::Mover::Undecided);
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
