#include "TopmostWatch.h"

#include <algorithm>

namespace winutil {

namespace {

// The watch in force on the user-interface thread: an event procedure has no
// other way to it.
TopmostWatch* activeWatch = nullptr;

constexpr UINT kZOrderOnly = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
constexpr UINT_PTR kAgainTimer = 1;

bool FirstShown(HWND window)
{
    for (HWND above = GetWindow(window, GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV)) {
        if (IsWindowVisible(above))
            return false;
    }
    return true;
}

} // namespace

bool RunsUnderWine()
{
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

void TopmostWatch::Watch(HWND window)
{
    if (!RunsUnderWine() || activeWatch)
        return;
    marker_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, L"STATIC", nullptr, WS_POPUP, 0, 0,
        0, 0, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!marker_)
        return;
    window_ = window;
    activeWatch = this;
    constexpr DWORD flags = WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS;
    foreground_ = SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr, &OnEvent, 0, 0, flags);
    focus_ = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, &OnEvent, 0, 0, flags);
}

TopmostWatch::~TopmostWatch()
{
    if (foreground_)
        UnhookWinEvent(foreground_);
    if (focus_)
        UnhookWinEvent(focus_);
    if (marker_)
        DestroyWindow(marker_);
    if (activeWatch == this)
        activeWatch = nullptr;
}

void TopmostWatch::Restack() const
{
    if (!IsWindow(window_) || !IsWindowVisible(window_) || IsIconic(window_)
        || !(GetWindowLongW(window_, GWL_EXSTYLE) & WS_EX_TOPMOST) || !FirstShown(window_))
        return;
    SetWindowPos(marker_, HWND_TOPMOST, 0, 0, 0, 0, kZOrderOnly);
    SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, kZOrderOnly);
}

void CALLBACK TopmostWatch::OnEvent(HWINEVENTHOOK, DWORD, HWND, LONG, LONG, DWORD, DWORD)
{
    TopmostWatch* watch = activeWatch;
    if (!watch)
        return;
    watch->Restack();
    watch->dueMs_ = kFirstAgainMs;
    SetTimer(watch->marker_, kAgainTimer, kFirstAgainMs, &OnTimer);
}

void CALLBACK TopmostWatch::OnTimer(HWND, UINT, UINT_PTR, DWORD)
{
    TopmostWatch* watch = activeWatch;
    if (!watch)
        return;
    watch->Restack();
    const UINT due = watch->dueMs_;
    if (due >= kLastAgainMs) {
        KillTimer(watch->marker_, kAgainTimer);
        return;
    }
    // Due again as long after this stacking as this one came after the change,
    // and while the change is recent, never more than kLongestGapMs later.
    const UINT gap = due < kCloseForMs ? std::min(due, kLongestGapMs) : due;
    watch->dueMs_ = due + gap;
    SetTimer(watch->marker_, kAgainTimer, gap, &OnTimer);
}

} // namespace winutil
