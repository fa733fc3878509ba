// SendChat into the stand-in host running as a program of its own.
#include "HostProcess.h"
#include "MessagePump.h"
#include "TestWindow.h"
#include "modAol7SendChat.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

namespace {

using chathost::HostProcess;
using chathost::LogEntry;
using chathost::LogKind;
using Clock = std::chrono::steady_clock;

constexpr DWORD kLineTimeoutMs = 5000;
constexpr UINT_PTR kTimerId = 3;
constexpr UINT kTimerMs = 100;

double SecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::vector<LogEntry> SentLines(const std::vector<LogEntry>& log)
{
    std::vector<LogEntry> sent;
    for (const LogEntry& entry : log)
        if (entry.kind == LogKind::Sent)
            sent.push_back(entry);
    return sent;
}

TEST(SendChatToHostProgram, TheRealButtonSendsTheLine)
{
    HostProcess host;
    ASSERT_TRUE(host.WaitUntilReady());

    // Blanks kept, "é" in code page 1252, "ā" not in it.
    SendChat(L"  Kestavine Idle 1.0  ");
    Sleep(500);
    SendChat(L"Idleing Reason: caf\u00e9 \u0101 ");

    const auto sent = SentLines(host.WaitForEntries(LogKind::Sent, 2, kLineTimeoutMs));
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].text, L"  Kestavine Idle 1.0  ");
    EXPECT_EQ(sent[1].text, L"Idleing Reason: caf\u00e9 ? ");
    // The time stamps are good enough to check a half-second spacing.
    EXPECT_GE(sent[1].seconds - sent[0].seconds, 0.49);
    EXPECT_LT(sent[1].seconds - sent[0].seconds, 0.7);
}

TEST(SendChatToHostProgram, DecoyOnTopTakesTheLineAndNothingIsSent)
{
    HostProcess host(L"--decoy");
    ASSERT_TRUE(host.WaitUntilReady());
    SendChat(L"lost in the keyword box");
    SendChat(L"");
    EXPECT_TRUE(SentLines(host.WaitForEntries(LogKind::Sent, 1, 500)).empty());
}

// The host answers the first N messages, then hangs: on the text (0), the
// button press (1) or the key release (2). Wherever it hangs, the call returns
// after one timeout, the next call at once, and this thread has meanwhile
// kept its own timer tick and a posted click for afterwards.
class HungHost : public ::testing::TestWithParam<int> { };

TEST_P(HungHost, CostsOneTimeoutThenNothing)
{
    HostProcess host(L"--hang-after " + std::to_wstring(GetParam()));
    ASSERT_TRUE(host.WaitUntilReady());
    testsupport::TestWindow window;
    SetTimer(window.hwnd(), kTimerId, kTimerMs, nullptr);
    PostMessageW(window.hwnd(), WM_LBUTTONDOWN, 0, 0); // a click on STOP
    PostMessageW(window.hwnd(), WM_LBUTTONUP, 0, 0);

    const Clock::time_point start = Clock::now();
    SendChat(L"Kestavine Idle 1.0");
    const double first = SecondsSince(start);
    const Clock::time_point second = Clock::now();
    SendChat(L"Idleing Reason: away");
    const double next = SecondsSince(second);

    EXPECT_GE(first, kSendTimeoutMs / 1000.0 - 0.1);
    EXPECT_LT(first, kSendTimeoutMs / 1000.0 + 1.0);
    EXPECT_LT(next, 0.2);

    winutil::HandlePendingEvents();
    KillTimer(window.hwnd(), kTimerId);
    EXPECT_EQ(window.Count(WM_LBUTTONDOWN), 1);
    EXPECT_EQ(window.Count(WM_LBUTTONUP), 1);
    EXPECT_GE(window.Count(WM_TIMER), 1);

    const auto log = host.Log();
    EXPECT_EQ(chathost::CountEntries(log, LogKind::Hung), 1u);
    EXPECT_EQ(chathost::CountEntries(log, LogKind::Sent), 0u);
    host.Kill();
    testsupport::DrainQueue();
}

INSTANTIATE_TEST_SUITE_P(AfterAnswering, HungHost, ::testing::Values(0, 1, 2));

} // namespace
