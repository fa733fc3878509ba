#pragma once

// The shrinking close of the main window, which has no frame of its own.
namespace close_animation {

constexpr int kStepTwips = 10;
constexpr int kHeightBelow = 600;
constexpr int kWidthBelow = 10;

// What the shrinking close needs of a window; the main window provides it.
class ShrinkingWindow {
public:
    virtual int HeightTwips() const = 0;
    virtual void SetHeightTwips(int twips) = 0;
    virtual int WidthTwips() const = 0;
    virtual void SetWidthTwips(int twips) = 0;
    virtual void DoEvents() = 0;
    virtual bool Unloaded() const = 0;
    virtual void Unload() = 0;

protected:
    ~ShrinkingWindow() = default;
};

struct Steps {
    int height = 0;
    int width = 0;
};

// Shrinks the window from the bottom, then from the right, one step per pass
// of the event pump, and unloads it. Each loop is tested at the end of its
// pass, so it runs at least once. A step the window does not take (it cannot
// be sized while minimised) ends the shrinking: the close still unloads the
// window. Returns how many steps each loop made.
Steps Run(ShrinkingWindow& window);

} // namespace close_animation
