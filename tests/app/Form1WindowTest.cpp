#include "Form1Fixture.h"

namespace {

using Form1Window = Form1Fixture;
using testsupport::Box;
using testsupport::BoxOf;

TEST_F(Form1Window, OpensAsDesigned)
{
    RECT client, text1;
    GetClientRect(hwnd(), &client);
    EXPECT_EQ(testsupport::WindowBox(hwnd()), (Box { 0, 126, 300, 100 }));
    EXPECT_EQ(BoxOf(client), (Box { 0, 0, 300, 100 }));

    const LONG style = GetWindowLongW(hwnd(), GWL_STYLE);
    EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_BORDER | WS_DLGFRAME));
    EXPECT_TRUE(style & WS_VISIBLE);
    EXPECT_FALSE(IsIconic(hwnd()));
    EXPECT_TRUE(testsupport::Topmost(hwnd()));

    wchar_t caption[64] {};
    GetWindowTextW(hwnd(), caption, 64);
    EXPECT_STREQ(caption, L"Kestavine Idle");
    EXPECT_NE(GetClassLongPtrW(hwnd(), GCLP_HICON), 0u);
    EXPECT_NE(GetClassLongPtrW(hwnd(), GCLP_HICONSM), 0u);

    GetWindowRect(form_->Text1(), &text1);
    MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&text1), 2);
    EXPECT_EQ(BoxOf(text1), (Box { 89, 64, 121, 17 }));
    EXPECT_FALSE(GetWindowLongW(form_->Text1(), GWL_STYLE) & WS_BORDER);

    form_->DoEvents();
    EXPECT_EQ(GetFocus(), form_->Text1());
    wchar_t reason[64] {};
    GetWindowTextW(form_->Text1(), reason, 64);
    EXPECT_STREQ(reason, L"Reason For Idle Here");
    EXPECT_EQ(form_->Label1Caption(), L"Not Enabled");
    EXPECT_FALSE(form_->Timer1Enabled());
    EXPECT_TRUE(sent_.empty());
}

TEST_F(Form1Window, OnlyAPressAndReleaseOnOneControlIsAClick)
{
    // The status label and the ground have no handler.
    Click(kStatus);
    Click({ 150, 25 });
    PostMessageW(hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(kStart.x, kStart.y));
    PostMessageW(hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(kStop.x, kStop.y));
    form_->DoEvents();
    EXPECT_TRUE(sent_.empty());
    EXPECT_EQ(form_->Label1Caption(), L"Not Enabled");
    EXPECT_FALSE(IsIconic(hwnd()));
    EXPECT_FALSE(form_->Unloaded());
}

TEST_F(Form1Window, AnyButtonPressedOnMinimiseMinimises)
{
    for (UINT press : { WM_RBUTTONDOWN, WM_LBUTTONDOWN, WM_MBUTTONDOWN }) {
        ShowWindow(hwnd(), SW_RESTORE);
        ASSERT_FALSE(IsIconic(hwnd()));
        PostMessageW(hwnd(), press, 0, MAKELPARAM(kMinimise.x, kMinimise.y));
        form_->DoEvents();
        EXPECT_TRUE(IsIconic(hwnd())) << "press " << press << " with no release";
    }
}

// Until the user first presses a button on the window, a move that the system
// makes is put back once (a window manager's new frame misread); after a
// press, the window stays where it is moved.
TEST_F(Form1Window, KeepsItsPlaceUntilTheFirstPress)
{
    const auto moveTo = [this](int x, int y) {
        SetWindowPos(hwnd(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return testsupport::WindowBox(hwnd());
    };
    EXPECT_EQ(moveTo(0, 0), (Box { 0, 126, 300, 100 })) << "put back where it was shown";
    EXPECT_EQ(moveTo(10, 20), (Box { 10, 20, 300, 100 })) << "once only";

    ASSERT_TRUE(Open());
    Click(kStatus);
    EXPECT_EQ(moveTo(0, 0), (Box { 0, 0, 300, 100 })) << "after a press";
}

TEST_F(Form1Window, TheSystemsCloseUnloadsAtOnceWhileIdling)
{
    Click(kStart);
    PostMessageW(hwnd(), WM_CLOSE, 0, 0); // Alt+F4, or Close on the taskbar
    form_->DoEvents();
    EXPECT_TRUE(form_->Unloaded());
    EXPECT_FALSE(form_->Timer1Enabled());
    EXPECT_TRUE(QuitPosted());
}

} // namespace
