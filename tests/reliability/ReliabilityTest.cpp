// Long runs against the real window: nothing may be lost, leak or pile up.
#include "../app/Form1Fixture.h"
#include "modAol7SendChat.h"

#include <psapi.h>

namespace {

SIZE_T PrivateBytes()
{
    PROCESS_MEMORY_COUNTERS_EX counters {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
    return counters.PrivateUsage;
}

DWORD HandleCount()
{
    DWORD count = 0;
    GetProcessHandleCount(GetCurrentProcess(), &count);
    return count;
}

// How many more GDI objects the system would let this process create now:
// every object a paint leaks takes one away. (Wine answers GetGuiResources
// with 0, so the objects are counted this way.)
size_t GdiRoomLeft()
{
    std::vector<HPEN> pens;
    while (pens.size() < 200000) {
        HPEN pen = CreatePen(PS_SOLID, 1, 0);
        if (!pen)
            break;
        pens.push_back(pen);
    }
    for (HPEN pen : pens)
        DeleteObject(pen);
    return pens.size();
}

class Reliability : public Form1Fixture {
protected:
    // The real sender, with no client to find, beside a check of the lines
    // that keeps nothing: the banner, then the banner and the reason on each
    // tick, in that order.
    static void CheckAndSend(std::wstring_view line)
    {
        const bool banner = lines_ == 0 || lines_ % 2 == 1;
        misplaced_ += line != (banner ? std::wstring_view(L"Kestavine Idle 1.0") : reasonLine_) ? 1 : 0;
        ++lines_;
        SendChat(line);
    }
    static bool SentAtLeast(size_t count)
    {
        return testsupport::PumpUntil([count] { return lines_ >= count; }, 90);
    }
    static inline size_t lines_ = 0;
    static inline size_t misplaced_ = 0;
    static inline std::wstring reasonLine_;
};

TEST_F(Reliability, ThousandTicksLoseNothingAndLeakNothing)
{
    constexpr size_t kTicks = 1000;
    constexpr size_t kWarmUp = 50;
    ASSERT_TRUE(Open({ .timer1IntervalMs = 10, .reasonDelaySeconds = 0.002 }, &CheckAndSend));
    // A long reason: a copy of it kept on every tick would show.
    const std::wstring reason(2000, L'z');
    reasonLine_ = L"Idleing Reason: " + reason;
    SetWindowTextW(form_->Text1(), reason.c_str());
    PostClick(kStart);

    ASSERT_TRUE(SentAtLeast(1 + 2 * kWarmUp));
    const SIZE_T bytesBefore = PrivateBytes();
    const DWORD handlesBefore = HandleCount();
    ASSERT_TRUE(SentAtLeast(1 + 2 * kTicks)) << lines_;
    Click(kStop);
    const SIZE_T bytesAfter = PrivateBytes();
    const DWORD handlesAfter = HandleCount();

    EXPECT_EQ(misplaced_, 0u) << "of " << lines_ << " lines";
    EXPECT_LT(bytesAfter, bytesBefore + 1024 * 1024) << bytesBefore << " -> " << bytesAfter;
    EXPECT_LE(handlesAfter, handlesBefore + 2) << handlesBefore << " -> " << handlesAfter;
}

TEST_F(Reliability, RepaintingReleasesWhatItCreates)
{
    auto paint = [&](int times) {
        for (int i = 0; i < times; ++i)
            RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    };
    paint(100);
    const size_t before = GdiRoomLeft();
    paint(3000);
    const size_t after = GdiRoomLeft();
    EXPECT_GT(before, 3000u) << "the system's limit is too low to tell";
    EXPECT_LT(before > after ? before - after : 0, 100u)
        << "room for GDI objects " << before << " -> " << after << " over 3000 paints";
}

} // namespace
