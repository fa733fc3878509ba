#include "MoveLoop.h"
#include "TestWindow.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using winutil::Mover;
using winutil::MoverJudge;
using winutil::PickUp;

// Picked up at the title strip of a 300 x 100 window at (0, 126).
constexpr PickUp kPickUp { { 0, 126 }, { 100, 136 }, { 100, 136 } };
constexpr POINT kHome = kPickUp.window;
constexpr SIZE kSize { 300, 100 };
constexpr DWORD kStart = 5000;

// Nobody holds the pointer: a mouse move away from where the window was
// picked up reaches us, and the move is ours; a look may find the pointer
// where it was before the pick-up, as the system says late, or at the hand's
// first step before that step's mouse move reaches us.
TEST(MoverJudge, AMouseMoveThatReachesUsMakesTheMoveOurs)
{
    MoverJudge judge(Mover::Undecided, kPickUp, kSize);
    judge.OnLook({ 102, 137 }, kHome, kStart + 15);
    judge.OnMouseMove({ 130, 156 }, kHome);
    EXPECT_EQ(judge.Current(), Mover::Us);

    // The system still says the pointer is where it was before the pick-up.
    MoverJudge late(Mover::Undecided, { kHome, kPickUp.pointer, { 511, 383 } }, kSize);
    late.OnLook({ 511, 383 }, kHome, kStart + 15);
    late.OnLook({ 511, 383 }, kHome, kStart + 30);
    late.OnMouseMove({ 102, 136 }, kHome);
    EXPECT_EQ(late.Current(), Mover::Us);
}

// The window manager holds the pointer while it moves the window, and tells
// us where it left it when it is done.
TEST(MoverJudge, APointerHeldElsewhereIsAnotherProgramsMove)
{
    {
        SCOPED_TRACE("the pointer moved and no mouse move said so, look after look");
        MoverJudge judge(Mover::Undecided, kPickUp, kSize);
        judge.OnLook({ 101, 136 }, kHome, kStart + 100);
        judge.OnLook({ 104, 138 }, kHome, kStart + 115);
        EXPECT_EQ(judge.Current(), Mover::Others);
    }
    {
        SCOPED_TRACE("put down elsewhere at once: the window moved, not by us");
        MoverJudge judge(Mover::Undecided, kPickUp, kSize);
        judge.OnMouseMove({ 140, 186 }, { 40, 176 });
        EXPECT_EQ(judge.Current(), Mover::Others);
    }
    {
        SCOPED_TRACE("the pointer given back where the move began, even after it reached us (KWin 5)");
        MoverJudge judge(Mover::Undecided, kPickUp, kSize);
        judge.OnMouseMove({ 107, 141 }, kHome);
        judge.OnMouseMove(kPickUp.pointer, { 7, 131 });
        EXPECT_EQ(judge.Current(), Mover::Others);
    }
}

// A move the system's own loop gave back is ours: neither a window manager that
// answers our last placements late (Mutter, busy) or keeps the window from the
// pointer (at the screen's top edge) nor a mouse move at the pick-up point ends
// it; a pointer on the window held for long does.
TEST(MoverJudge, AMoveOfOursEndsOnlyWhenThePointerOnTheWindowIsHeld)
{
    MoverJudge judge(Mover::Us, kPickUp, kSize);
    judge.OnPlaced({ 20, 139 });
    judge.OnPlaced({ 22, 141 });
    judge.OnLook(kPickUp.pointer, { 20, 139 }, kStart);
    judge.OnLook(kPickUp.pointer, { 22, 141 }, kStart + 5);
    judge.OnMouseMove(kPickUp.pointer, { 300, 426 });
    judge.OnLook({ 100, 120 }, kHome, kStart + 10);
    judge.OnLook({ 100, 120 }, kHome, kStart + 10 + MoverJudge::kLostMs);
    EXPECT_EQ(judge.Current(), Mover::Us);

    judge.OnLook({ 160, 150 }, kHome, kStart + 1000);
    judge.OnMouseMove({ 150, 150 }, kHome);
    judge.OnLook({ 160, 150 }, kHome, kStart + 1000 + MoverJudge::kLostMs);
    judge.OnLook({ 160, 150 }, kHome, kStart + 1000 + 2 * MoverJudge::kLostMs - 1);
    EXPECT_EQ(judge.Current(), Mover::Us) << "a mouse move that reaches us starts the count anew";
    judge.OnLook({ 160, 150 }, kHome, kStart + 1000 + 2 * MoverJudge::kLostMs);
    EXPECT_EQ(judge.Current(), Mover::Others);
}

// A window manager that took a move of ours late (KWin 5, busy) moves the
// window while the pointer stands still for us, and its ending click never
// reaches us: the window stays moved, and the loop ends, not taking Esc.
void CALLBACK MoveLate(HWND window, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(window, timer);
    if (timer == 3) {
        PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
        return;
    }
    const int step = static_cast<int>(timer); // to (200, 150), then (300, 200)
    SetWindowPos(window, nullptr, 100 + 100 * step, 100 + 50 * step, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetTimer(window, timer + 1, timer == 1 ? 50 : 300, &MoveLate);
}
TEST(FollowMouseUntilClick, AWindowMovedWhileThePointerStandsStillIsLeftToWhoMovesIt)
{
    testsupport::TestWindow window; // at (100, 100), 200 x 150
    SetCursorPos(150, 120);
    SetTimer(window.hwnd(), 1, 100, &MoveLate);
    winutil::FollowMouseUntilClick(window.hwnd(), { { 100, 100 }, { 140, 110 }, { 140, 110 } }, Mover::Us);
    EXPECT_EQ(testsupport::WindowBox(window.hwnd()), (testsupport::Box { 300, 200, 200, 150 }));
}

// The system's own loop (Wine 10, busy) moved the window for every mouse move
// before it gave the move back: the move is ours until the user's Esc.
TEST(FollowMouseUntilClick, AMoveTheSystemsLoopGaveBackHoldsUntilTheUserEndsIt)
{
    testsupport::TestWindow window;
    SetWindowPos(window.hwnd(), nullptr, 130, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetCursorPos(170, 130);
    testsupport::PumpUntil([] { return false; }, 0.1); // the system's loop took the mouse moves
    SetTimer(window.hwnd(), 3, MoverJudge::kLostMs + 300, &MoveLate); // Esc
    winutil::FollowMouseUntilClick(window.hwnd(), { { 100, 100 }, { 140, 110 }, { 140, 110 } }, Mover::Us);
    EXPECT_EQ(testsupport::WindowBox(window.hwnd()), (testsupport::Box { 100, 100, 200, 150 }));
}

// Wine, handing the move over with a button it believes held (a release on "-"
// lost to the window manager), makes its release up and takes what is queued.
TEST(MoveLoopWatch, OnlyWhatAMoveLoopTakesShowsThatOneRan)
{
    testsupport::TestWindow window;
    std::optional<winutil::MoveLoopWatch> watch(std::in_place);
    for (UINT message : { WM_RBUTTONUP, WM_TIMER }) // the release, and a tick
        PostMessageW(window.hwnd(), message, 0, 0);
    testsupport::DrainQueue();
    EXPECT_EQ(watch->Handling(), winutil::DragHandling::HandedOver);
    watch.emplace();
    ShowWindow(window.hwnd(), SW_SHOWNOACTIVATE);
    PostMessageW(window.hwnd(), WM_KEYDOWN, VK_ESCAPE, 0); // ends the loop where it waits for the user
    SendMessageW(window.hwnd(), WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
    EXPECT_NE(watch->Handling(), winutil::DragHandling::HandedOver);
}

} // namespace
