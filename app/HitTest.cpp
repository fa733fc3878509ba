#include "HitTest.h"

#include "Form1Design.h"

namespace {

struct Target {
    Control control;
    design::TwipsRect bounds;
};

// Top of the z-order first.
constexpr Target kTargets[] = {
    { Control::Label3, design::kLabel3 },
    { Control::Label2, design::kLabel2 },
    { Control::Label1, design::kLabel1 },
    { Control::Image3, design::kImage3 },
    { Control::Image2, design::kImage2 },
    { Control::Image1, design::kImage1 },
};

bool Inside(const RECT& r, POINT p)
{
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

} // namespace

Control HitTest(POINT client)
{
    // Controls reaching past the window's edge are cut off there; a release
    // outside the window (the mouse is captured while pressed) hits nothing.
    const RECT form = design::kForm1.Pixels();
    if (!Inside({ 0, 0, form.right - form.left, form.bottom - form.top }, client))
        return Control::None;
    for (const Target& target : kTargets) {
        if (Inside(target.bounds.Pixels(), client))
            return target.control;
    }
    return Control::None;
}
