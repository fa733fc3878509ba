// Long runs against the real window: nothing may be lost, leak or pile up.
#include "../app/Form1Fixture.h"
#include "modAol7SendChat.h"

namespace {

// Bytes in use in the process heap, where the window and the sender keep
// their texts. (Wine answers a process's private bytes and its handle count
// with 0, so the heap is walked instead.)
SIZE_T HeapBytesInUse()
{
    HANDLE heap = GetProcessHeap();
    SIZE_T bytes = 0;
    PROCESS_HEAP_ENTRY entry {};
    HeapLock(heap);
    while (HeapWalk(heap, &entry))
        bytes += (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) ? entry.cbData : 0;
    HeapUnlock(heap);
    return bytes;
}

// How many more GDI objects the system would let this process create now:
// every object a paint leaks takes one away. (Wine answers GetGuiResources
// with 0, so the objects are counted this way.)
size_t GdiRoomLeft()
{
    std::vector<HPEN> pens;
    for (HPEN pen; pens.size() < 200000 && (pen = CreatePen(PS_SOLID, 1, 0));)
        pens.push_back(pen);
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
    static inline size_t lines_ = 0;
    static inline size_t misplaced_ = 0;
    static inline std::wstring reasonLine_;
};

TEST_F(Reliability, ThousandTicksSendEveryLineInOrderAndKeepNothing)
{
    constexpr size_t kTicks = 1000;
    constexpr size_t kWarmUp = 50;
    const auto sentAtLeast = [](size_t count) { return testsupport::PumpUntil([=] { return lines_ >= count; }, 90); };
    ASSERT_TRUE(Open({ .timer1IntervalMs = 10, .reasonDelaySeconds = 0.002 }, &CheckAndSend));
    // Every tick moves 2000 characters through the window and the sender.
    const std::wstring reason(2000, L'z');
    reasonLine_ = L"Idleing Reason: " + reason;
    SetWindowTextW(form_->Text1(), reason.c_str());
    PostClick(kStart);

    ASSERT_TRUE(sentAtLeast(1 + 2 * kWarmUp));
    const SIZE_T bytesBefore = HeapBytesInUse();
    ASSERT_TRUE(sentAtLeast(1 + 2 * kTicks)) << lines_;
    Click(kStop);
    const SIZE_T bytesAfter = HeapBytesInUse();

    EXPECT_EQ(misplaced_, 0u) << "of " << lines_ << " lines";
    // A text kept on each of 950 ticks would take 16 bytes a tick at the least.
    EXPECT_LT(bytesAfter, bytesBefore + 8 * 1024) << bytesBefore << " -> " << bytesAfter;
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
