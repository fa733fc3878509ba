// The window helpers: the wait that keeps the window live, and the hand-over
// of a drag to the system.
#include "vexo32.h"
#include "TestWindow.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

constexpr UINT kProbe = WM_APP + 1;
constexpr UINT_PTR kTimerId = 7;

// Posts from another thread, as another program or a device would: a probe
// after 200 ms, then a quit request 250 ms later, with its exit code 3.
DWORD WINAPI PostLater(void* window)
{
    Sleep(200);
    PostMessageW(static_cast<HWND>(window), kProbe, 0, 0);
    Sleep(250);
    PostMessageW(static_cast<HWND>(window), WM_QUIT, 3, 0);
    return 0;
}

// Seconds of CPU (user and kernel) this process has used so far.
double ProcessCpuSeconds()
{
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto seconds = [](FILETIME t) { return (t.dwHighDateTime * 4294967296.0 + t.dwLowDateTime) / 1e7; };
    return seconds(kernel) + seconds(user);
}

class WaitSecondsTest : public ::testing::Test {
protected:
    void TearDown() override { testsupport::DrainQueue(); }
    testsupport::TestWindow window_;
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

// What arrives during the wait is handled, with the thread asleep in
// between; a quit request near its end stays queued, and the wait lasts.
TEST_F(WaitSecondsTest, HalfSecondHandlesWhatArrivesAndSleeps)
{
    SetTimer(window_.hwnd(), kTimerId, 100, nullptr);
    HANDLE poster = CreateThread(nullptr, 0, PostLater, window_.hwnd(), 0, nullptr);

    const double cpuBefore = ProcessCpuSeconds();
    const testsupport::Stopwatch watch;
    WaitSeconds(0.5);
    const double wall = watch.Seconds();
    const double cpu = ProcessCpuSeconds() - cpuBefore;
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
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
}

TEST(StartWindowDrag, HiddenWindowReturnsAtOnceAndReleasesCapture)
{
    testsupport::TestWindow window;
    SetCapture(window.hwnd());
    ASSERT_EQ(GetCapture(), window.hwnd());

    const testsupport::Stopwatch watch;
    StartWindowDrag(window.hwnd());
    const double seconds = watch.Seconds();

    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_LT(seconds, 1.0);
    EXPECT_GE(window.Count(WM_SYSCOMMAND), 1);
    for (const auto& m : window.Messages())
        EXPECT_TRUE(m.message != WM_SYSCOMMAND || (m.wParam & 0xFFFF) == (SC_MOVE | 2)) << "a move by the caption";
}

} // namespace
