#include "HitTest.h"

#include "Form1Design.h"

namespace design {
namespace {

struct Target {
    Control control;
    TwipsRect bounds;
};

// Top of the z-order first.
constexpr Target kTargets[] = {
    { Control::Label3, kLabel3 },
    { Control::Label2, kLabel2 },
    { Control::Label1, kLabel1 },
    { Control::Image3, kImage3 },
    { Control::Image2, kImage2 },
    { Control::Image1, kImage1 },
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
    const RECT form = kForm1.Pixels();
    if (!Inside({ 0, 0, form.right - form.left, form.bottom - form.top }, client))
        return Control::None;
    for (const Target& target : kTargets) {
        if (Inside(target.bounds.Pixels(), client))
            return target.control;
    }
    return Control::None;
}

} // namespace design
