// The idle cycle on its own, with either kind of half-second wait, so that the
// cost of the wait can be read from outside the process. A 300 x 100 topmost
// popup at (0, 126), where the program's window opens; a left click on it
// starts the cycle as START does: the banner at once, then every 20 s the
// banner, the wait and the reason line, each through SendChat into whatever
// chat room is open.
//
//   bench_spin_wait --wait spin|winutil [--lifetime SECONDS]
//
//   spin      the wait runs the message pump over and over until the time is
//             up, never sleeping: the way the wait first worked
//   winutil   the program's own WaitSeconds, which sleeps between messages
//   SECONDS   the program ends by itself this long after it started (default
//             300), so that a run nobody ends does not linger
#include "BenchWindow.h"
#include "MessagePump.h"
#include "modAol7SendChat.h"
#include "vexo32.h"

#include <windows.h>

#include <chrono>
#include <cwchar>
#include <shellapi.h>
#include <string>

namespace {

constexpr UINT_PTR kTickTimerId = 1;
constexpr UINT_PTR kLifetimeTimerId = 2;
constexpr UINT kTickMs = 20000;
constexpr double kWaitSeconds = 0.5;
constexpr unsigned kDefaultLifetimeSeconds = 300;
constexpr int kBadArguments = 2;

constexpr wchar_t kBanner[] = L"Kestavine Idle 1.0";
constexpr wchar_t kReasonLine[] = L"Idleing Reason: Reason For Idle Here";

using Clock = std::chrono::steady_clock;

// The spinning wait: one pass of the message pump after another until the
// time is up. Each pass asks the system for messages, and under Wine every
// such question is a round trip to the wine server.
void SpinWaitSeconds(double seconds)
{
    const Clock::time_point start = Clock::now();
    while (std::chrono::duration<double>(Clock::now() - start).count() < seconds)
        winutil::HandlePendingEvents();
}

class Cycle {
public:
    explicit Cycle(bool spin)
        : spin_(spin)
    {
    }

    void Start(HWND window)
    {
        if (started_)
            return;
        started_ = true;
        SendChat(kBanner);
        SetTimer(window, kTickTimerId, kTickMs, nullptr);
    }

    void Tick()
    {
        if (ticking_)
            return;
        ticking_ = true;
        SendChat(kBanner);
        if (spin_)
            SpinWaitSeconds(kWaitSeconds);
        else
            WaitSeconds(kWaitSeconds);
        SendChat(kReasonLine);
        ticking_ = false;
    }

private:
    bool spin_;
    bool started_ = false;
    bool ticking_ = false;
};

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* cycle = reinterpret_cast<Cycle*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
    case WM_LBUTTONUP:
        cycle->Start(window);
        return 0;
    case WM_TIMER:
        if (wParam == kTickTimerId)
            cycle->Tick();
        else if (wParam == kLifetimeTimerId)
            DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

struct Arguments {
    bool spin = false;
    unsigned lifetimeSeconds = kDefaultLifetimeSeconds;
};

bool ParseArguments(Arguments& out)
{
    int count = 0;
    wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!args)
        return false;
    bool waitGiven = false;
    bool ok = true;
    for (int i = 1; ok && i < count; ++i) {
        const std::wstring arg = args[i];
        const bool hasValue = i + 1 < count;
        if (arg == L"--wait" && hasValue) {
            const std::wstring kind = args[++i];
            out.spin = kind == L"spin";
            ok = out.spin || kind == L"winutil";
            waitGiven = true;
        } else if (arg == L"--lifetime" && hasValue) {
            wchar_t* end = nullptr;
            const unsigned long seconds = std::wcstoul(args[++i], &end, 10);
            ok = *end == L'\0' && seconds > 0 && seconds < 86400;
            out.lifetimeSeconds = static_cast<unsigned>(seconds);
        } else {
            ok = false;
        }
    }
    LocalFree(args);
    return ok && waitGiven;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    Arguments arguments;
    if (!ParseArguments(arguments))
        return kBadArguments;

    Cycle cycle(arguments.spin);
    const bench::WindowClass windowClass { L"KestavineBenchSpinWait", L"bench_spin_wait", WindowProc };
    HWND window = bench::CreateBenchWindow(instance, windowClass, WS_EX_TOPMOST, &cycle, false);
    if (!window)
        return 1;
    SetTimer(window, kLifetimeTimerId, arguments.lifetimeSeconds * 1000u, nullptr);
    return bench::RunMessageLoop();
}
