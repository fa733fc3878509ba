// SendChat into the stand-in host running as a program of its own, which
// can stop answering as a hung client does.
#include "HostProcess.h"
#include "MessagePump.h"
#include "TestWindow.h"
#include "modAol7SendChat.h"

#include <gtest/gtest.h>

namespace {

using chathost::LogKind;

// The host hangs on the first message, the text: that call returns after one
// timeout; its button messages, and the next call's, find the host hung and
// return at once. This thread meanwhile keeps its own timer tick and a posted
// click (a STOP) for afterwards.
TEST(SendChatToHostProgram, HungHostCostsOneTimeoutThenNothing)
{
    chathost::HostProcess host(L"--hang-after 0");
    ASSERT_TRUE(host.WaitUntilReady());
    testsupport::TestWindow window;
    SetTimer(window.hwnd(), 3, 100, nullptr);
    testsupport::PostClick(window.hwnd(), { 0, 0 });

    const testsupport::Stopwatch start;
    SendChat(L"Kestavine Idle 1.0");
    const double first = start.Seconds();
    SendChat(L"Idleing Reason: away");
    const double next = start.Seconds() - first;

    EXPECT_GE(first, kSendTimeoutMs / 1000.0 - 0.1);
    EXPECT_LT(first, kSendTimeoutMs / 1000.0 + 1.0);
    EXPECT_LT(next, 0.2);

    winutil::HandlePendingEvents();
    KillTimer(window.hwnd(), 3);
    EXPECT_EQ(std::pair(window.Count(WM_LBUTTONDOWN), window.Count(WM_LBUTTONUP)), std::pair(1, 1));
    EXPECT_GE(window.Count(WM_TIMER), 1);

    const auto log = host.Log();
    EXPECT_EQ(chathost::CountEntries(log, LogKind::Hung), 1u);
    EXPECT_EQ(chathost::CountEntries(log, LogKind::Sent), 0u);
    host.Kill();
    testsupport::DrainQueue();
}

} // namespace
