#include "CloseAnimation.h"
#include "Twips.h"

#include <gtest/gtest.h>

namespace {

// A window that takes whole pixels only, as a real one does, and can refuse sizes.
class PixelWindow : public close_animation::ShrinkingWindow {
public:
    PixelWindow(int widthPx, int heightPx)
        : width_(widthPx)
        , height_(heightPx)
    {
    }
    int HeightTwips() const override { return twips::FromPixels(height_); }
    void SetHeightTwips(int t) override
    {
        if (!frozen_)
            height_ = twips::ToPixels(t);
    }
    int WidthTwips() const override { return twips::FromPixels(width_); }
    void SetWidthTwips(int t) override
    {
        if (!frozen_)
            width_ = twips::ToPixels(t);
    }
    void DoEvents() override
    {
        ++events_;
        if (events_ == freezeAt_)
            frozen_ = true;
        if (events_ == unloadAt_)
            unloaded_ = true;
    }
    bool Unloaded() const override { return unloaded_; }
    void Unload() override
    {
        ++unloads_;
        unloaded_ = true;
    }

    int width_, height_;
    int events_ = 0, unloads_ = 0;
    int freezeAt_ = -1, unloadAt_ = -1;
    bool frozen_ = false, unloaded_ = false;
};

TEST(CloseAnimation, DesignedWindowTakesOnePixelPerStep)
{
    PixelWindow w(300, 100);
    const close_animation::Steps steps = close_animation::Run(w);
    EXPECT_EQ(steps.height, 61);
    EXPECT_EQ(steps.width, 300);
    EXPECT_EQ(w.height_, 39);
    EXPECT_EQ(w.width_, 0);
    EXPECT_EQ(w.events_, 361) << "every step handles pending events first";
    EXPECT_EQ(w.unloads_, 1);
}

TEST(CloseAnimation, LowWindowStillLosesOneStepOfHeight)
{
    PixelWindow w(300, 30);
    const close_animation::Steps steps = close_animation::Run(w);
    EXPECT_EQ(steps.height, 1);
    EXPECT_EQ(w.height_, 29);
    EXPECT_EQ(steps.width, 300);
    EXPECT_EQ(w.unloads_, 1);
}

TEST(CloseAnimation, WindowThatStopsTakingSizesIsStillUnloaded)
{
    for (int freezeAt : { 5, 61, 62, 200 }) {
        PixelWindow w(300, 100);
        w.freezeAt_ = freezeAt;
        const close_animation::Steps steps = close_animation::Run(w);
        EXPECT_EQ(steps.height + steps.width, freezeAt) << "stops at the first step not taken";
        EXPECT_EQ(w.unloads_, 1) << freezeAt;
    }
}

TEST(CloseAnimation, WindowUnloadedDuringAStepIsLeftAlone)
{
    PixelWindow w(300, 100);
    w.unloadAt_ = 100;
    const close_animation::Steps steps = close_animation::Run(w);
    EXPECT_EQ(steps.height + steps.width, 99);
    EXPECT_EQ(w.unloads_, 0) << "no second unload of a window already gone";
}

} // namespace
