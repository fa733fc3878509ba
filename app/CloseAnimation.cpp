#include "CloseAnimation.h"

namespace close_animation {
namespace {

// One loop of the animation over one dimension. Returns false when the loop
// had to stop early: the window went away or did not take a step.
bool ShrinkWhileAtLeast(ShrinkingWindow& window, int& steps, int (ShrinkingWindow::*get)() const,
    void (ShrinkingWindow::*set)(int), int limit)
{
    int size = 0;
    do {
        window.DoEvents();
        if (window.Unloaded())
            return false;
        const int before = (window.*get)();
        (window.*set)(before - kStepTwips);
        ++steps;
        size = (window.*get)();
        if (size >= before)
            return false;
    } while (size >= limit);
    return true;
}

} // namespace

Steps Run(ShrinkingWindow& window)
{
    Steps steps;
    if (ShrinkWhileAtLeast(
            window, steps.height, &ShrinkingWindow::HeightTwips, &ShrinkingWindow::SetHeightTwips, kHeightBelow))
        ShrinkWhileAtLeast(
            window, steps.width, &ShrinkingWindow::WidthTwips, &ShrinkingWindow::SetWidthTwips, kWidthBelow);
    if (!window.Unloaded())
        window.Unload();
    return steps;
}

} // namespace close_animation
