#include "Form1Fixture.h"

namespace {

constexpr wchar_t kBanner[] = L"Kestavine Idle 1.0";

// Idling with a short period, so ticks come quickly.
class IdleAnnouncer : public Form1Fixture {
protected:
    void SetUp() override { ASSERT_TRUE(Open({ .timer1IntervalMs = 300 })); }

    size_t Count(const std::wstring& text) const
    {
        size_t n = 0;
        for (const SentLine& line : sent_)
            n += line.text == text ? 1 : 0;
        return n;
    }
};

TEST_F(IdleAnnouncer, TickPostsBannerThenTheReasonHalfASecondLater)
{
    SetWindowTextW(form_->Text1(), L"  out to lunch ");
    Click(kStart);
    ASSERT_TRUE(testsupport::PumpUntil([&] { return sent_.size() >= 3; }, 3.0));
    Click(kStop);

    EXPECT_EQ(sent_[0].text, kBanner);
    EXPECT_EQ(sent_[1].text, kBanner);
    EXPECT_EQ(sent_[2].text, L"Idleing Reason:   out to lunch ") << "the reason as typed, blanks kept";
    EXPECT_NEAR(sent_[1].at - sent_[0].at, 0.3, 0.1) << "the first tick comes one period after START";
    EXPECT_GE(sent_[2].at - sent_[1].at, 0.5);
    EXPECT_LT(sent_[2].at - sent_[1].at, 0.6);
}

TEST_F(IdleAnnouncer, ReasonIsReadAfterTheWaitAndMayBeEmpty)
{
    onSend_ = [&](const SentLine& line) {
        if (sent_.size() == 2 && line.text == kBanner)
            SetWindowTextW(form_->Text1(), L""); // edited while the tick waits
    };
    Click(kStart);
    ASSERT_TRUE(testsupport::PumpUntil([&] { return sent_.size() >= 3; }, 3.0));
    Click(kStop);
    EXPECT_EQ(sent_[2].text, L"Idleing Reason: ");
}

TEST_F(IdleAnnouncer, StopDuringTheWaitLetsThatReasonGoOutAndNoMoreTicks)
{
    onSend_ = [&](const SentLine& line) {
        if (sent_.size() == 2 && line.text == kBanner)
            PostClick(kStop); // handled inside the tick's half-second wait
    };
    Click(kStart);
    ASSERT_TRUE(testsupport::PumpUntil([&] { return sent_.size() >= 3; }, 3.0));
    EXPECT_EQ(form_->Label1Caption(), L"Not Enabled") << "STOP took effect during the wait";
    EXPECT_FALSE(form_->Timer1Enabled());
    EXPECT_EQ(sent_[2].text, L"Idleing Reason: Reason For Idle Here");

    testsupport::PumpUntil([] { return false; }, 1.0);
    EXPECT_EQ(sent_.size(), 3u) << "no tick after STOP";
}

TEST_F(IdleAnnouncer, StartTwicePostsTheBannerTwiceAndKeepsThePeriod)
{
    Click(kStart);
    testsupport::PumpUntil([] { return false; }, 0.15);
    Click(kStart);
    ASSERT_EQ(sent_.size(), 2u);
    EXPECT_EQ(Count(kBanner), 2u);
    EXPECT_EQ(form_->Label1Caption(), L"Enabled");
    ASSERT_TRUE(testsupport::PumpUntil([&] { return sent_.size() >= 3; }, 3.0));
    Click(kStop);
    EXPECT_NEAR(sent_[2].at - sent_[0].at, 0.3, 0.1) << "the second START does not restart the period";
}

TEST_F(IdleAnnouncer, StopWhileOffAndBetweenTicksPostsNothing)
{
    Click(kStop);
    EXPECT_TRUE(sent_.empty());
    EXPECT_EQ(form_->Label1Caption(), L"Not Enabled");
    Click(kStart);
    Click(kStop);
    testsupport::PumpUntil([] { return false; }, 0.8);
    EXPECT_EQ(sent_.size(), 1u);
}

TEST_F(IdleAnnouncer, CloseDuringTheWaitEndsTheTickWithoutTouchingTheWindow)
{
    onSend_ = [&](const SentLine& line) {
        if (sent_.size() == 2 && line.text == kBanner)
            PostClick(kClose);
    };
    Click(kStart);
    ASSERT_TRUE(testsupport::PumpUntil([&] { return form_->Unloaded(); }, 5.0));
    testsupport::PumpUntil([] { return false; }, 0.7);
    EXPECT_EQ(sent_.size(), 2u) << "no reason line from a window that is gone";
    MSG msg;
    EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
}

} // namespace
