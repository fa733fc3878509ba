#include "TopmostWatch.h"
#include "TestWindow.h"

#include <gtest/gtest.h>

namespace {

using testsupport::TestWindow;
using testsupport::Topmost;

HWND FirstShown()
{
    HWND window = GetTopWindow(nullptr);
    while (window && !IsWindowVisible(window))
        window = GetWindow(window, GW_HWNDNEXT);
    return window;
}

// Stacking the window anew keeps it topmost and first, leaves the activation
// where it is, and never puts it above another topmost window shown above it.
TEST(TopmostWatch, RestackKeepsTheOrderTheSystemHas)
{
    ASSERT_TRUE(winutil::RunsUnderWine()); // the suite runs under Wine; elsewhere the watch does nothing
    TestWindow form({ 0, 126, 300, 226 });
    TestWindow other({ 200, 100, 500, 400 });
    SetWindowPos(form.hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    ShowWindow(other.hwnd(), SW_SHOW);
    ASSERT_EQ(GetActiveWindow(), other.hwnd());
    winutil::TopmostWatch watch;
    watch.Watch(form.hwnd());

    watch.Restack();
    EXPECT_TRUE(Topmost(form.hwnd()));
    EXPECT_EQ(FirstShown(), form.hwnd());
    EXPECT_EQ(GetActiveWindow(), other.hwnd());

    TestWindow above({ 250, 150, 350, 250 });
    SetWindowPos(above.hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
    watch.Restack();
    EXPECT_EQ(FirstShown(), above.hwnd());
}

} // namespace
