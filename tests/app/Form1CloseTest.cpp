#include "Form1Fixture.h"

namespace {

// Passes the close through to the real window, noting what it sees.
class ObservedForm : public close_animation::ShrinkingWindow {
public:
    ObservedForm(Form1& form, testsupport::TestWindow& probe)
        : form_(form)
        , probe_(probe)
    {
    }
    int HeightTwips() const override { return form_.HeightTwips(); }
    void SetHeightTwips(int t) override { form_.SetHeightTwips(t); }
    int WidthTwips() const override { return form_.WidthTwips(); }
    void SetWidthTwips(int t) override { form_.SetWidthTwips(t); }
    void DoEvents() override
    {
        // Something arrives before every step; the step must handle it.
        PostMessageW(probe_.hwnd(), WM_APP, 0, 0);
        ++steps_;
        if (steps_ == minimiseAt_)
            PostMessageW(form_.hWnd(), WM_RBUTTONDOWN, 0, MAKELPARAM(272, 8));
        form_.DoEvents();
    }
    bool Unloaded() const override { return form_.Unloaded(); }
    void Unload() override
    {
        GetWindowRect(form_.hWnd(), &lastRect_);
        form_.Unload();
    }

    Form1& form_;
    testsupport::TestWindow& probe_;
    int steps_ = 0;
    int minimiseAt_ = -1;
    RECT lastRect_ {};
};

using Form1Close = Form1Fixture;

TEST_F(Form1Close, ShrinksPixelByPixelKeepingItsCornerThenUnloads)
{
    testsupport::TestWindow probe;
    ObservedForm observed(*form_, probe);
    const close_animation::Steps steps = close_animation::Run(observed);
    EXPECT_EQ(steps.height, 61);
    EXPECT_EQ(steps.width, 300);
    EXPECT_EQ(probe.Count(WM_APP), 361) << "every step handled pending events";
    EXPECT_EQ(observed.lastRect_.left, 0);
    EXPECT_EQ(observed.lastRect_.top, 126);
    EXPECT_EQ(observed.lastRect_.bottom - observed.lastRect_.top, 39);
    EXPECT_EQ(observed.lastRect_.right - observed.lastRect_.left, 0);
    EXPECT_TRUE(form_->Unloaded());
}

TEST_F(Form1Close, WindowUnderSixHundredTwipsLosesOneStepOfHeight)
{
    form_->SetHeightTwips(450);
    ASSERT_EQ(form_->HeightTwips(), 450);
    testsupport::TestWindow probe;
    ObservedForm observed(*form_, probe);
    const close_animation::Steps steps = close_animation::Run(observed);
    EXPECT_EQ(steps.height, 1);
    EXPECT_EQ(observed.lastRect_.bottom - observed.lastRect_.top, 29);
    EXPECT_EQ(steps.width, 300);
}

TEST_F(Form1Close, MinimisedDuringTheCloseStillEnds)
{
    testsupport::TestWindow probe;
    ObservedForm observed(*form_, probe);
    observed.minimiseAt_ = 20;
    const close_animation::Steps steps = close_animation::Run(observed);
    EXPECT_EQ(steps.height, 20) << "the first step the minimised window cannot take ends the shrinking";
    EXPECT_EQ(steps.width, 0);
    EXPECT_TRUE(form_->Unloaded());
}

TEST_F(Form1Close, SecondCloseClickDuringTheCloseUnloadsOnce)
{
    // Each step of the close handles events: a second "X" click lands inside it.
    PostClick(kClose);
    PostClick(kClose);
    PostClick(kStart); // and idling switched on during the close does not keep the window
    form_->DoEvents();
    EXPECT_TRUE(form_->Unloaded());
    EXPECT_FALSE(form_->Timer1Enabled());
    EXPECT_EQ(sent_.size(), 1u);
    testsupport::DrainQueue();
    EXPECT_FALSE(IsWindow(hwnd()));
}

} // namespace
