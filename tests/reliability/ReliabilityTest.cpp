#include "ChatHostWindows.h"
#include "Form1.h"
#include "HostProcess.h"
#include "TestWindow.h"
#include "modAol7SendChat.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <psapi.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr wchar_t kBanner[] = L"Kestavine Idle 1.0";
constexpr wchar_t kPrefix[] = L"Idleing Reason: ";
constexpr POINT kStart { 30, 80 };
constexpr POINT kClose { 296, 28 };
constexpr POINT kStop { 260, 80 };

double SecondsSince(Clock::time_point t)
{
    return std::chrono::duration<double>(Clock::now() - t).count();
}

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

// The real window, sending through the real SendChat into the stand-in host's
// real windows, all in this process.
class Reliability : public ::testing::Test {
protected:
    void Open(Form1::Options options, chathost::HostConfig config = {})
    {
        form_.reset();
        host_.reset();
        testsupport::DrainQueue();
        chathost::HostEvents events;
        events.lineSent = [this](std::wstring_view line) { received_.emplace_back(line); };
        events.childMessage = [this](HWND child, UINT message, WPARAM, LPARAM) {
            if (onChildMessage_)
                onChildMessage_(child, message);
        };
        host_ = std::make_unique<chathost::ChatHost>(config, std::move(events));
        form_ = std::make_unique<Form1>(GetModuleHandleW(nullptr), &SendChat, options);
        ASSERT_TRUE(form_->Load());
    }

    void TearDown() override
    {
        form_.reset();
        host_.reset();
        testsupport::DrainQueue();
    }

    void PostClick(POINT at) const { testsupport::PostClick(form_->hWnd(), at); }

    void SetReason(const std::wstring& reason) const { SetWindowTextW(form_->Text1(), reason.c_str()); }

    std::unique_ptr<chathost::ChatHost> host_;
    std::unique_ptr<Form1> form_;
    std::vector<std::wstring> received_;
    std::function<void(HWND, UINT)> onChildMessage_;
};

TEST_F(Reliability, ThousandTicksLoseNothingAndLeakNothing)
{
    constexpr size_t kTicks = 1000;
    constexpr size_t kWarmUp = 50;
    Open({ .timer1IntervalMs = 10, .reasonDelaySeconds = 0.002 }, { .show = false });
    SetReason(L"soaking");
    PostClick(kStart);

    ASSERT_TRUE(testsupport::PumpUntil([&] { return received_.size() >= 1 + 2 * kWarmUp; }, 60));
    const SIZE_T bytesBefore = PrivateBytes();
    const DWORD handlesBefore = HandleCount();
    ASSERT_TRUE(testsupport::PumpUntil([&] { return received_.size() >= 1 + 2 * kTicks; }, 240)) << received_.size();
    PostClick(kStop);
    form_->DoEvents();
    const SIZE_T bytesAfter = PrivateBytes();
    const DWORD handlesAfter = HandleCount();

    ASSERT_EQ(received_[0], kBanner);
    for (size_t i = 1; i + 1 < received_.size(); i += 2) {
        ASSERT_EQ(received_[i], kBanner) << "line " << i;
        ASSERT_EQ(received_[i + 1], L"Idleing Reason: soaking") << "line " << i + 1;
    }
    EXPECT_LT(bytesAfter, bytesBefore + 1024 * 1024) << bytesBefore << " -> " << bytesAfter;
    EXPECT_LE(handlesAfter, handlesBefore + 2) << handlesBefore << " -> " << handlesAfter;
}

// How many more GDI objects the system would let this process create now:
// every object a paint leaks takes one away.
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

TEST_F(Reliability, RepaintingReleasesWhatItCreates)
{
    Open({}, { .show = false });
    auto paint = [&](int times) {
        for (int i = 0; i < times; ++i)
            RedrawWindow(form_->hWnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    };
    paint(100);
    const size_t before = GdiRoomLeft();
    paint(3000);
    const size_t after = GdiRoomLeft();
    EXPECT_GT(before, 3000u) << "the system's limit is too low to tell";
    EXPECT_LT(before > after ? before - after : 0, 100u)
        << "room for GDI objects " << before << " -> " << after << " over 3000 paints";
}

TEST_F(Reliability, HundredStartClicksInABurst)
{
    Open({ .timer1IntervalMs = 400, .reasonDelaySeconds = 0.05 }, { .show = false });
    for (int i = 0; i < 100; ++i)
        PostClick(kStart);
    ASSERT_TRUE(testsupport::PumpUntil([&] { return received_.size() >= 102; }, 10)) << received_.size();
    testsupport::PumpUntil([] { return false; }, 0.2);
    PostClick(kStop);
    form_->DoEvents();
    for (size_t i = 0; i < 101; ++i)
        EXPECT_EQ(received_[i], kBanner) << i;
    EXPECT_EQ(received_[101], L"Idleing Reason: Reason For Idle Here");
    EXPECT_EQ(received_.size(), 102u) << "one timer, one tick, however many STARTs";
}

TEST_F(Reliability, RoomClosingInTheMiddleOfASend)
{
    Open({}, { .show = false });
    const HWND room = host_->Room().window;
    const HWND inputBox = host_->Room().inputBox;
    onChildMessage_ = [&](HWND child, UINT message) {
        if (child == inputBox && message == WM_SETTEXT)
            PostMessageW(host_->MdiArea(), WM_MDIDESTROY, reinterpret_cast<WPARAM>(room), 0);
    };
    SendChat(L"first"); // the room goes after the text is in
    testsupport::PumpUntil([&] { return !IsWindow(room); }, 2);
    ASSERT_FALSE(IsWindow(room));
    SendChat(L"second"); // and with no room at all nothing happens
    EXPECT_LE(received_.size(), 1u);
    EXPECT_TRUE(IsWindow(host_->Frame()));
}

TEST_F(Reliability, HostExitingInTheMiddleOfASendReleasesTheSender)
{
    chathost::HostProcess host(L"--hang-after 1 --hidden");
    ASSERT_TRUE(host.WaitUntilReady());
    // The host takes the text, then stops answering; killing it while the
    // sender waits must let the sender go at once, not at its timeout.
    struct Killer {
        chathost::HostProcess* host;
        static DWORD WINAPI Run(void* p)
        {
            Sleep(1000);
            static_cast<Killer*>(p)->host->Kill();
            return 0;
        }
    } killer { &host };
    HANDLE thread = CreateThread(nullptr, 0, &Killer::Run, &killer, 0, nullptr);
    const Clock::time_point start = Clock::now();
    SendChat(L"cut short");
    const double seconds = SecondsSince(start);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    EXPECT_LT(seconds, 3.0);
    SendChat(L"after the host is gone");
}

TEST_F(Reliability, CloseDuringEveryNestedHandlerEndsOnce)
{
    // During the close itself, during a tick's wait, and through the system's close.
    for (int kind = 0; kind < 3; ++kind) {
        Open({ .timer1IntervalMs = 100, .reasonDelaySeconds = 0.3 }, { .show = false });
        if (kind == 0) {
            PostClick(kClose);
            PostMessageW(form_->hWnd(), WM_CLOSE, 0, 0);
            PostClick(kClose);
        } else if (kind == 1) {
            PostClick(kStart);
            onChildMessage_ = [&, sent = 0](HWND child, UINT message) mutable {
                if (child == host_->Room().inputBox && message == WM_SETTEXT && ++sent == 2)
                    PostClick(kClose); // the tick's banner is in: its wait comes next
            };
        } else {
            PostClick(kStart);
            PostMessageW(form_->hWnd(), WM_CLOSE, 0, 0);
        }
        EXPECT_TRUE(testsupport::PumpUntil([&] { return form_->Unloaded(); }, 10)) << kind;
        testsupport::PumpUntil([] { return false; }, 0.5);
        EXPECT_FALSE(form_->Timer1Enabled()) << kind;
        EXPECT_FALSE(form_->Load()) << "never recreated, " << kind;
        onChildMessage_ = nullptr;
        TearDown();
    }
}

} // namespace
