// The stand-in chat host: a program with the window tree of the chat client
// Kestavine Idle writes into, for tests, benchmarks and screenshots.
//
//   chathost [--log PATH] [--hang-after N] [--slow-focus MS] [--busy MS]
//
//   --log PATH      the event log (see ChatLog.h); "ready" comes first
//   --hang-after N  answer the first N messages other programs send to the
//                   input box and icons (text, button press, key release),
//                   then stop handling messages for good, as a hung client
//                   does; the process can still be killed, and ends by itself
//                   after kLongestHangMs
//   --slow-focus MS a click that gives an input box or an icon the focus
//                   takes MS ms more to handle, as on a busy machine: under
//                   Wine, the raise of the host's window that the focus asks
//                   of the display reaches the display only after that
//   --busy MS       the thread handles nothing for MS ms (1 to 100) of every
//                   timer tick, as a client kept busy by a lively room: what
//                   the display tells it of the pointer reaches Wine late
#include "ChatHostWindows.h"
#include "ChatLog.h"

#include <windows.h>

#include <cwchar>
#include <optional>
#include <shellapi.h>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kUsage[] = L"chathost [--log PATH] [--hang-after N] [--slow-focus MS] [--busy MS]";
constexpr wchar_t kUsageTitle[] = L"chathost";
constexpr int kBadArguments = 2;
constexpr int kEndedWhileHung = 3;
constexpr DWORD kLongestHangMs = 120000;
constexpr int kDecimal = 10;
constexpr long kBusiestMs = 100;
constexpr UINT kBusyTickMs = 10;

struct Options {
    std::wstring logPath;
    std::optional<long> hangAfter;
    std::optional<long> slowFocusMs;
    std::optional<long> busyMs;
};

std::optional<long> ParseCount(const std::wstring& text)
{
    wchar_t* end = nullptr;
    const long value = std::wcstol(text.c_str(), &end, kDecimal);
    if (text.empty() || *end != L'\0' || value < 0)
        return std::nullopt;
    return value;
}

std::optional<Options> ParseOptions(const std::vector<std::wstring>& args)
{
    Options options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::wstring& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == L"--log" && hasValue) {
            options.logPath = args[++i];
        } else if (arg == L"--hang-after" && hasValue) {
            options.hangAfter = ParseCount(args[++i]);
            if (!options.hangAfter)
                return std::nullopt;
        } else if (arg == L"--slow-focus" && hasValue) {
            options.slowFocusMs = ParseCount(args[++i]);
            if (!options.slowFocusMs)
                return std::nullopt;
        } else if (arg == L"--busy" && hasValue) {
            options.busyMs = ParseCount(args[++i]);
            if (!options.busyMs || *options.busyMs < 1 || *options.busyMs > kBusiestMs)
                return std::nullopt;
        } else {
            return std::nullopt;
        }
    }
    return options;
}

std::vector<std::wstring> Arguments()
{
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::wstring> args;
    for (int i = 1; argv && i < count; ++i)
        args.emplace_back(argv[i]);
    LocalFree(argv);
    return args;
}

// The messages Kestavine Idle sends into the chat windows.
bool IsSenderMessage(UINT message)
{
    return message == WM_SETTEXT || message == WM_LBUTTONDOWN || message == WM_KEYUP;
}

// Plays a client whose thread is stuck: it handles no more messages.
[[noreturn]] void Hang(chathost::LogWriter& log)
{
    log.Write({ chathost::LogKind::Hung, chathost::MonotonicSeconds(), {} });
    Sleep(kLongestHangMs);
    ExitProcess(kEndedWhileHung);
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    const std::optional<Options> options = ParseOptions(Arguments());
    if (!options) {
        MessageBoxW(nullptr, kUsage, kUsageTitle, MB_OK | MB_ICONERROR);
        return kBadArguments;
    }

    chathost::LogWriter log(options->logPath);
    long answered = 0;
    chathost::HostEvents events;
    events.lineSent = [&log](std::wstring_view line) {
        log.Write({ chathost::LogKind::Sent, chathost::MonotonicSeconds(), std::wstring(line) });
    };
    events.closed = [] { PostQuitMessage(0); };
    events.childMessage = [&log, &answered, &options](HWND, UINT message, WPARAM, LPARAM) {
        // Only what other programs send: the host's own clearing of the
        // input box is no answered message.
        if (options->hangAfter && InSendMessage() && IsSenderMessage(message) && ++answered > *options->hangAfter)
            Hang(log);
        if (options->slowFocusMs && message == WM_SETFOCUS && !InSendMessage())
            Sleep(static_cast<DWORD>(*options->slowFocusMs));
    };

    chathost::ChatHost host({}, std::move(events));
    log.Write({ chathost::LogKind::Ready, 0, {} });

    const UINT_PTR busyTimer = options->busyMs ? SetTimer(nullptr, 0, kBusyTickMs, nullptr) : 0;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (busyTimer && msg.message == WM_TIMER && !msg.hwnd && msg.wParam == busyTimer)
            Sleep(static_cast<DWORD>(*options->busyMs));
        else if (!TranslateMDISysAccel(host.MdiArea(), &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return static_cast<int>(msg.wParam);
}
