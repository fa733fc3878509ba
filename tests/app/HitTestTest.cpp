#include "HitTest.h"

#include <gtest/gtest.h>

namespace {

using design::Control;

TEST(HitTest, FindsTheTopmostControlAndNothingOnTheGroundOrLines)
{
    const struct {
        POINT at;
        Control expected;
        const char* where;
    } cases[] = {
        { { 270, 5 }, Control::Label2, "\"-\" over the title strip" },
        { { 280, 10 }, Control::Label3, "\"X\" over \"-\"" },
        { { 296, 28 }, Control::Label3, "\"X\" on its transparent ground, below the strip" },
        { { 299, 31 }, Control::Label3, "\"X\" at the window's right edge" },
        { { 150, 40 }, Control::Label1, "status label" },
        { { 64, 91 }, Control::Image2, "START's far corner" },
        { { 234, 72 }, Control::Image3, "STOP's corner" },
        { { 298, 91 }, Control::Image3, "STOP's far corner" },
        { { 150, 25 }, Control::None, "navy ground" },
        { { 65, 80 }, Control::None, "left end of the bottom line" },
        { { 233, 80 }, Control::None, "between the line's end and STOP" },
        { { 188, 56 }, Control::None, "right diagonal line" },
        { { 279, 20 }, Control::None, "just left of \"X\", below the strip" },
        { { 300, 10 }, Control::None, "\"X\" cut off at the window's edge" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(design::HitTest(c.at), c.expected) << c.where;
}

} // namespace
