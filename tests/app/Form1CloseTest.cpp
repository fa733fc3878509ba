#include "Form1Fixture.h"

namespace {

// Passes the close through to the real window, noting what it sees.
class Form1Close : public Form1Fixture, public close_animation::ShrinkingWindow {
protected:
    int HeightTwips() const override { return form_->HeightTwips(); }
    void SetHeightTwips(int t) override { form_->SetHeightTwips(t); }
    int WidthTwips() const override { return form_->WidthTwips(); }
    void SetWidthTwips(int t) override { form_->SetWidthTwips(t); }
    void DoEvents() override
    {
        // Something arrives before every step; the step must handle it.
        PostMessageW(probe_.hwnd(), WM_APP, 0, 0);
        if (++steps_ == minimiseAt_)
            PostMessageW(hwnd(), WM_RBUTTONDOWN, 0, MAKELPARAM(272, 8));
        form_->DoEvents();
    }
    bool Unloaded() const override { return form_->Unloaded(); }
    void Unload() override
    {
        GetWindowRect(hwnd(), &lastRect_);
        form_->Unload();
    }

    // The steps of height and of width the close took.
    std::pair<int, int> Close()
    {
        const close_animation::Steps steps = close_animation::Run(*this);
        EXPECT_TRUE(form_->Unloaded());
        return { steps.height, steps.width };
    }

    testsupport::TestWindow probe_;
    int steps_ = 0;
    int minimiseAt_ = -1;
    RECT lastRect_ {};
};

TEST_F(Form1Close, ShrinksPixelByPixelKeepingItsCornerThenUnloads)
{
    EXPECT_EQ(Close(), std::pair(61, 300));
    EXPECT_EQ(probe_.Count(WM_APP), 361) << "every step handled pending events";
    EXPECT_EQ(testsupport::BoxOf(lastRect_), (testsupport::Box { 0, 126, 0, 39 }));
}

TEST_F(Form1Close, WindowUnderSixHundredTwipsLosesOneStepOfHeight)
{
    form_->SetHeightTwips(450);
    ASSERT_EQ(form_->HeightTwips(), 450);
    EXPECT_EQ(Close(), std::pair(1, 300));
    EXPECT_EQ(testsupport::BoxOf(lastRect_), (testsupport::Box { 0, 126, 0, 29 }));
}

TEST_F(Form1Close, MinimisedDuringTheCloseStillEnds)
{
    minimiseAt_ = 20;
    EXPECT_EQ(Close(), std::pair(20, 0)) << "the first step the minimised window cannot take ends the shrinking";
}

TEST_F(Form1Close, ClicksAndTheSystemsCloseDuringTheCloseEndItOnce)
{
    // Each step of the close handles events: a second "X", a START and the
    // system's own close (Alt+F4) land inside it.
    PostClick(kClose);
    PostClick(kClose);
    PostClick(kStart);
    PostMessageW(hwnd(), WM_CLOSE, 0, 0);
    form_->DoEvents();
    EXPECT_TRUE(form_->Unloaded());
    EXPECT_EQ(form_->hWnd(), nullptr);
    EXPECT_FALSE(form_->Timer1Enabled()) << "idling switched on during the close does not keep the window";
    EXPECT_EQ(sent_.size(), 1u);
    EXPECT_FALSE(form_->Load()) << "never recreated";
    EXPECT_TRUE(QuitPosted());
}

} // namespace
