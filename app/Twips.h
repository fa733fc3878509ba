#pragma once

// The window's geometry is designed in twips, 1440 to the inch. The program is
// unaware of screen scaling, so it always works at 96 dots per inch, where 15
// twips make one pixel, and the system scales the whole window on larger screens.
namespace twips {

constexpr int kPerPixel = 15;

// A window can only take whole pixels: a size in twips rounds to the nearest one.
constexpr int ToPixels(int twips)
{
    return twips <= 0 ? 0 : (twips + kPerPixel / 2) / kPerPixel;
}

constexpr int FromPixels(int pixels)
{
    return pixels * kPerPixel;
}

} // namespace twips
