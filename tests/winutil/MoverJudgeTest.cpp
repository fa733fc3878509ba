#include "MoveLoop.h"

#include <gtest/gtest.h>

namespace {

using winutil::Mover;
using winutil::MoverJudge;
using winutil::PickUp;

// Picked up at the title strip of a 300 x 100 window at (0, 126).
constexpr PickUp kPickUp { { 0, 126 }, { 100, 136 } };
constexpr POINT kHome = kPickUp.window;
constexpr SIZE kSize { 300, 100 };
constexpr DWORD kStart = 5000;
constexpr DWORD kTell = MoverJudge::kTellMs;

MoverJudge Undecided()
{
    return MoverJudge(Mover::Undecided, kPickUp, kSize, kStart);
}

// Nobody holds the pointer: the mouse moves reach us, and the move is ours
// once nothing has said otherwise for a while.
TEST(MoverJudge, MouseMovesThatReachUsMakeTheMoveOurs)
{
    MoverJudge judge = Undecided();
    judge.OnMouseMove(kPickUp.pointer, kStart, kHome); // queued as the capture was released
    judge.OnLook(kPickUp.pointer, kHome, kStart + 2 * kTell);
    EXPECT_EQ(judge.Current(), Mover::Undecided);

    judge.OnMouseMove({ 130, 156 }, kStart + 10, kHome);
    judge.OnLook({ 130, 156 }, kHome, kStart + 10 + kTell - 1);
    EXPECT_EQ(judge.Current(), Mover::Undecided);
    judge.OnLook({ 130, 156 }, kHome, kStart + 10 + kTell);
    EXPECT_EQ(judge.Current(), Mover::Us);

    MoverJudge moving = Undecided();
    moving.OnMouseMove({ 103, 138 }, kStart + 10, kHome);
    moving.OnMouseMove({ 106, 140 }, kStart + 18, kHome);
    EXPECT_EQ(moving.Current(), Mover::Us) << "a second mouse move is proof at once";
}

// The window manager holds the pointer while it moves the window, and tells
// us where it left it when it is done.
TEST(MoverJudge, APointerHeldElsewhereIsAnotherProgramsMove)
{
    {
        SCOPED_TRACE("the pointer goes away and no mouse move says so");
        MoverJudge judge = Undecided();
        judge.OnLook({ 130, 156 }, kHome, kStart + 100);
        judge.OnLook({ 130, 156 }, kHome, kStart + 100 + kTell - 1);
        EXPECT_EQ(judge.Current(), Mover::Undecided);
        judge.OnLook({ 130, 156 }, kHome, kStart + 100 + kTell);
        EXPECT_EQ(judge.Current(), Mover::Others);
    }
    {
        SCOPED_TRACE("put down elsewhere at once: the window moved, not by us");
        MoverJudge judge = Undecided();
        judge.OnMouseMove({ 140, 186 }, kStart + 50, { 40, 176 });
        EXPECT_EQ(judge.Current(), Mover::Others);
    }
    {
        SCOPED_TRACE("put back with Esc: the pointer given back after it was away");
        MoverJudge judge = Undecided();
        judge.OnLook({ 130, 156 }, kHome, kStart + 100);
        judge.OnMouseMove({ 130, 156 }, kStart + 100 + kTell, kHome);
        EXPECT_EQ(judge.Current(), Mover::Others);
    }
    {
        SCOPED_TRACE("put down where it was picked up: the pointer given back there");
        MoverJudge judge = Undecided();
        judge.OnMouseMove(kPickUp.pointer, kStart + 200, kHome);
        EXPECT_EQ(judge.Current(), Mover::Others);
    }
    {
        SCOPED_TRACE("a first mouse move before the window manager took the pointer");
        MoverJudge judge = Undecided();
        judge.OnMouseMove({ 115, 146 }, kStart + 5, kHome);
        judge.OnLook({ 130, 156 }, kHome, kStart + 5 + kTell);
        EXPECT_EQ(judge.Current(), Mover::Undecided);
        judge.OnLook({ 130, 156 }, kHome, kStart + 5 + 2 * kTell);
        EXPECT_EQ(judge.Current(), Mover::Others);
    }
}

// Once the move is ours, a window manager that keeps the window from the
// pointer (at the screen's top edge, say) does not end it; a pointer on the
// window that no mouse move reaches for long does.
TEST(MoverJudge, AMoveOfOursEndsOnlyWhenThePointerOnTheWindowIsHeld)
{
    MoverJudge judge(Mover::Us, kPickUp, kSize, kStart);
    judge.OnLook({ 100, 120 }, kHome, kStart + 10);
    judge.OnLook({ 100, 120 }, kHome, kStart + 10 + MoverJudge::kLostMs);
    EXPECT_EQ(judge.Current(), Mover::Us);

    judge.OnMouseMove({ 150, 150 }, kStart + 1000, kHome);
    judge.OnLook({ 160, 150 }, kHome, kStart + 1000);
    judge.OnLook({ 160, 150 }, kHome, kStart + 1000 + MoverJudge::kLostMs - 1);
    EXPECT_EQ(judge.Current(), Mover::Us);
    judge.OnLook({ 160, 150 }, kHome, kStart + 1000 + MoverJudge::kLostMs);
    EXPECT_EQ(judge.Current(), Mover::Others);
}

} // namespace
