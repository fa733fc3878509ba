#include "TestWindow.h"
#include "vexo32.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

using testsupport::TestWindow;

TEST(KeepOnTop, MakesTopmostAndKeepsPlaceAndSize)
{
    TestWindow window({ 40, 60, 200, 140 });
    ShowWindow(window.hwnd(), SW_SHOWNOACTIVATE);
    RECT before;
    GetWindowRect(window.hwnd(), &before);
    ASSERT_FALSE(GetWindowLongW(window.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);

    KeepOnTop(window.hwnd());

    RECT after;
    GetWindowRect(window.hwnd(), &after);
    EXPECT_TRUE(GetWindowLongW(window.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(EqualRect(&before, &after));
}

TEST(StartWindowDrag, HiddenWindowReturnsAtOnceAndReleasesCapture)
{
    TestWindow window;
    SetCapture(window.hwnd());
    ASSERT_EQ(GetCapture(), window.hwnd());

    const auto start = std::chrono::steady_clock::now();
    StartWindowDrag(window.hwnd());
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_LT(seconds, 1.0);
    EXPECT_GE(window.Count(WM_SYSCOMMAND), 1);
    for (const auto& m : window.Messages()) {
        if (m.message == WM_SYSCOMMAND) {
            EXPECT_EQ(m.wParam & 0xFFF0, static_cast<WPARAM>(SC_MOVE));
            EXPECT_EQ(m.wParam & 0xF, 2u);
        }
    }
}

} // namespace
