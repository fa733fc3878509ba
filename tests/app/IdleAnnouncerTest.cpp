#include "Form1Fixture.h"

namespace {

constexpr wchar_t kBanner[] = L"Kestavine Idle 1.0";

// Idling with a short period, so ticks come quickly.
class IdleAnnouncer : public Form1Fixture {
protected:
    void SetUp() override { ASSERT_TRUE(Open({ .timer1IntervalMs = 300 })); }

    bool WaitForLines(size_t count)
    {
        return testsupport::PumpUntil([&] { return sent_.size() >= count; }, 3.0);
    }

    // Does this as the first tick's banner goes out, before its wait.
    void DuringTheFirstWait(std::function<void()> action)
    {
        onSend_ = [this, action](const SentLine& line) {
            if (sent_.size() == 2 && line.text == kBanner)
                action();
        };
    }
};

TEST_F(IdleAnnouncer, TickPostsBannerThenTheReasonHalfASecondLater)
{
    // Pasted as the user may: the box takes a reason of any length.
    const std::wstring reason = L"  out to lunch " + std::wstring(65536, L'.') + L" ";
    SendMessageW(form_->Text1(), EM_SETSEL, 0, -1);
    SendMessageW(form_->Text1(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(reason.c_str()));
    Click(kStart);
    ASSERT_TRUE(WaitForLines(3));
    Click(kStop);

    EXPECT_EQ(sent_[0].text, kBanner);
    EXPECT_EQ(sent_[1].text, kBanner);
    EXPECT_TRUE(sent_[2].text == L"Idleing Reason: " + reason) << "the reason as typed, blanks kept, whole";
    EXPECT_NEAR(sent_[1].at - sent_[0].at, 0.3, 0.1) << "the first tick comes one period after START";
    EXPECT_GE(sent_[2].at - sent_[1].at, 0.5);
    EXPECT_LT(sent_[2].at - sent_[1].at, 0.6);
}

// The user's edit and STOP, posted as the first tick starts its wait, are
// handled inside the wait, and the reason is read after it.
TEST_F(IdleAnnouncer, StopAndEditDuringTheWaitLetThatReasonGoOutAsItStandsAndNoMoreTicks)
{
    DuringTheFirstWait([&] {
        PostMessageW(form_->Text1(), EM_SETSEL, 0, -1);
        PostMessageW(form_->Text1(), WM_CLEAR, 0, 0);
        PostClick(kStop);
    });
    Click(kStart);
    ASSERT_TRUE(WaitForLines(3));
    EXPECT_EQ(form_->Label1Caption(), L"Not Enabled") << "STOP took effect during the wait";
    EXPECT_FALSE(form_->Timer1Enabled());
    EXPECT_EQ(sent_[2].text, L"Idleing Reason: ") << "the reason may be empty";

    Pump(1.0);
    EXPECT_EQ(sent_.size(), 3u) << "no tick after STOP";
}

TEST_F(IdleAnnouncer, StartTwicePostsTheBannerTwiceAndKeepsThePeriod)
{
    Click(kStart);
    Pump(0.15);
    Click(kStart);
    ASSERT_EQ(sent_.size(), 2u);
    EXPECT_EQ(sent_[1].text, kBanner);
    EXPECT_EQ(form_->Label1Caption(), L"Enabled");
    ASSERT_TRUE(WaitForLines(3));
    Click(kStop);
    EXPECT_NEAR(sent_[2].at - sent_[0].at, 0.3, 0.1) << "the second START does not restart the period";
}

TEST_F(IdleAnnouncer, CloseDuringTheWaitEndsTheTickWithoutTouchingTheWindow)
{
    DuringTheFirstWait([&] { PostClick(kClose); });
    Click(kStart);
    ASSERT_TRUE(testsupport::PumpUntil([&] { return form_->Unloaded(); }, 5.0));
    Pump(0.7);
    EXPECT_EQ(sent_.size(), 2u) << "no reason line from a window that is gone";
    EXPECT_TRUE(QuitPosted());
}

} // namespace
