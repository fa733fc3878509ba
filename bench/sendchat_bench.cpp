// Times SendChat against the stand-in chat host running as its own program:
// many calls to a responsive host (median, p90), then the calls to a host that
// has hung. Prints the figures as Markdown table rows.
//
//   sendchat_bench [calls]
#include "HostProcess.h"
#include "modAol7SendChat.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kDefaultCalls = 200;
constexpr int kWarmUpCalls = 10;
constexpr double kP90 = 0.9;
constexpr double kMsPerSecond = 1000.0;
constexpr DWORD kLogTimeoutMs = 10000;
constexpr wchar_t kHangOnPress[] = L"--hang-after 1";

double Now()
{
    return chathost::MonotonicSeconds();
}

double TimedSendChat(const std::wstring& line)
{
    const double start = Now();
    SendChat(line);
    return (Now() - start) * kMsPerSecond;
}

double Quantile(std::vector<double> values, double q)
{
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(q * static_cast<double>(values.size() - 1) + 0.5);
    return values[index];
}

int Responsive(int calls)
{
    chathost::HostProcess host;
    if (!host.WaitUntilReady()) {
        std::fprintf(stderr, "sendchat_bench: the chat host did not start\n");
        return EXIT_FAILURE;
    }
    for (int i = 0; i < kWarmUpCalls; ++i)
        SendChat(L"warm-up " + std::to_wstring(i));

    std::vector<double> ms;
    for (int i = 0; i < calls; ++i)
        ms.push_back(TimedSendChat(L"Idleing Reason: benchmark line " + std::to_wstring(i)));

    const auto log = host.WaitForEntries(chathost::LogKind::Sent, kWarmUpCalls + calls, kLogTimeoutMs);
    const std::size_t sent = chathost::CountEntries(log, chathost::LogKind::Sent);
    std::printf("| SendChat, responsive host, median of %d calls | %.3f ms | |\n", calls, Quantile(ms, 0.5));
    std::printf("| SendChat, responsive host, p90 | %.3f ms | |\n", Quantile(ms, kP90));
    std::printf("| SendChat, responsive host, min / max | %.3f / %.3f ms | |\n", Quantile(ms, 0), Quantile(ms, 1));
    std::printf("| lines the host logged as sent | %zu of %d | |\n", sent - kWarmUpCalls, calls);
    return sent == static_cast<std::size_t>(kWarmUpCalls + calls) ? EXIT_SUCCESS : EXIT_FAILURE;
}

int Hung()
{
    chathost::HostProcess host(kHangOnPress);
    if (!host.WaitUntilReady())
        return EXIT_FAILURE;
    const double first = TimedSendChat(L"Kestavine Idle 1.0");
    const double next = TimedSendChat(L"Idleing Reason: hung host");
    std::printf("| SendChat, host hung on the press, first call (timeout %u ms) | %.1f ms | |\n", kSendTimeoutMs, first);
    std::printf("| SendChat, host hung, next call | %.3f ms | |\n", next);
    return EXIT_SUCCESS;
}

} // namespace

int main(int argc, char** argv)
{
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const int calls = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultCalls;
    const int responsive = Responsive(calls);
    const int hung = Hung();
    return responsive == EXIT_SUCCESS && hung == EXIT_SUCCESS ? EXIT_SUCCESS : EXIT_FAILURE;
}
