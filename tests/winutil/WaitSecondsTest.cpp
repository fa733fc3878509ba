#include "TestWindow.h"
#include "vexo32.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <limits>

namespace {

using testsupport::TestWindow;
using Clock = std::chrono::steady_clock;

constexpr UINT kProbe = WM_APP + 1;
constexpr UINT_PTR kTimerId = 7;

double SecondsSince(Clock::time_point t)
{
    return std::chrono::duration<double>(Clock::now() - t).count();
}

struct DelayedPost {
    HWND target;
    DWORD delayMs;
    UINT message;
    WPARAM wParam = 0;
};

// Posts from another thread, as another program or a device would.
DWORD WINAPI PostLater(void* param)
{
    auto* post = static_cast<DelayedPost*>(param);
    Sleep(post->delayMs);
    PostMessageW(post->target, post->message, post->wParam, 0);
    return 0;
}

class WaitSecondsTest : public ::testing::Test {
protected:
    void TearDown() override { testsupport::DrainQueue(); }
    TestWindow window_;
};

TEST_F(WaitSecondsTest, NothingToWaitHandlesNothing)
{
    for (double seconds : { 0.0, -1.0, std::numeric_limits<double>::quiet_NaN() }) {
        PostMessageW(window_.hwnd(), kProbe, 0, 0);
        WaitSeconds(seconds);
        EXPECT_EQ(window_.Count(kProbe), 0) << seconds;
        MSG msg;
        EXPECT_TRUE(PeekMessageW(&msg, window_.hwnd(), kProbe, kProbe, PM_REMOVE)) << seconds;
    }
}

TEST_F(WaitSecondsTest, HalfSecondHandlesWhatArrivesAndSleeps)
{
    SetTimer(window_.hwnd(), kTimerId, 100, nullptr);
    DelayedPost post { window_.hwnd(), 200, kProbe };
    HANDLE poster = CreateThread(nullptr, 0, PostLater, &post, 0, nullptr);

    const double cpuBefore = testsupport::ProcessCpuSeconds();
    const Clock::time_point start = Clock::now();
    WaitSeconds(0.5);
    const double wall = SecondsSince(start);
    const double cpu = testsupport::ProcessCpuSeconds() - cpuBefore;
    KillTimer(window_.hwnd(), kTimerId);
    WaitForSingleObject(poster, INFINITE);
    CloseHandle(poster);

    EXPECT_GE(wall, 0.5);
    EXPECT_LT(wall, 0.7);
    EXPECT_EQ(window_.Count(kProbe), 1);
    EXPECT_GE(window_.Count(WM_TIMER), 3);
    // Sleeping costs a few milliseconds; spinning the pump costs about a third
    // of the wait under Wine, where every look at the queue asks the server.
    EXPECT_LT(cpu, wall / 10) << "cpu " << cpu << " s over " << wall << " s";
}

TEST_F(WaitSecondsTest, QuitDuringTheWaitStaysQueuedAndTheWaitLasts)
{
    DelayedPost post { window_.hwnd(), 100, WM_QUIT, 3 };
    HANDLE poster = CreateThread(nullptr, 0, PostLater, &post, 0, nullptr);
    const Clock::time_point start = Clock::now();
    WaitSeconds(0.4);
    const double wall = SecondsSince(start);
    WaitForSingleObject(poster, INFINITE);
    CloseHandle(poster);

    EXPECT_GE(wall, 0.4);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
}

} // namespace
