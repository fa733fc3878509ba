#include "TestWindow.h"
#include "vexo32.h"

#include <gtest/gtest.h>

namespace {

using testsupport::TestWindow;

TEST(KeepOnTop, MakesTopmostAndKeepsPlaceAndSize)
{
    TestWindow window({ 40, 60, 200, 140 });
    ShowWindow(window.hwnd(), SW_SHOWNOACTIVATE);
    const testsupport::Box before = testsupport::WindowBox(window.hwnd());
    ASSERT_FALSE(testsupport::Topmost(window.hwnd()));

    KeepOnTop(window.hwnd());

    EXPECT_TRUE(testsupport::Topmost(window.hwnd()));
    EXPECT_EQ(testsupport::WindowBox(window.hwnd()), before);
}

TEST(StartWindowDrag, HiddenWindowReturnsAtOnceAndReleasesCapture)
{
    TestWindow window;
    SetCapture(window.hwnd());
    ASSERT_EQ(GetCapture(), window.hwnd());

    const testsupport::Stopwatch watch;
    StartWindowDrag(window.hwnd());
    const double seconds = watch.Seconds();

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
