#pragma once

#include "Twips.h"

#include <windows.h>

// The main window's design: every figure, colour, caption and font it is drawn
// with. Geometry is in twips; pixels follow from it at 15 twips a pixel.
namespace design {

struct TwipsRect {
    int left, top, width, height;
    constexpr RECT Pixels() const
    {
        return { twips::ToPixels(left), twips::ToPixels(top), twips::ToPixels(left + width),
            twips::ToPixels(top + height) };
    }
};

struct TwipsLine {
    int x1, y1, x2, y2;
};

struct Font {
    const wchar_t* face;
    int hundredthsOfPoint; // taken to the nearest pixel at 96 dots per inch
    bool bold;
};

constexpr wchar_t kCaption[] = L"Kestavine Idle";
constexpr TwipsRect kForm1 { 0, 1890, 4500, 1500 };

constexpr COLORREF kWhite = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kBlack = RGB(0x00, 0x00, 0x00);

// "MS Sans Serif" is the face of every caption; where a system lacks it, its
// own font substitution maps it (to "Microsoft Sans Serif" on current Windows).
constexpr wchar_t kFace[] = L"MS Sans Serif";
constexpr Font kDefaultFont { kFace, 825, false };

constexpr TwipsRect kText1 { 1340, 960, 1815, 255 };
constexpr wchar_t kText1Text[] = L"Reason For Idle Here";

constexpr unsigned kTimer1IntervalMs = 20000;
// The reason line follows the banner by this much on every tick.
constexpr double kReasonDelaySeconds = 0.5;

constexpr TwipsRect kLabel3 { 4200, 100, 375, 375 };
constexpr wchar_t kLabel3Caption[] = L"X";
constexpr Font kLabel3Font { kFace, 825, true };

constexpr TwipsRect kLabel2 { 3960, 0, 255, 255 };
constexpr wchar_t kLabel2Caption[] = L"-";
constexpr Font kLabel2Font { kFace, 1500, false };

constexpr TwipsLine kLine2 { 2760, 720, 3000, 1200 };
constexpr TwipsLine kLine3 { 1800, 600, 1560, 1080 };

constexpr TwipsRect kLabel1 { 1770, 480, 975, 255 };
// Label1 tells whether idling is on; the window opens with it off.
constexpr wchar_t kEnabled[] = L"Enabled";
constexpr wchar_t kNotEnabled[] = L"Not Enabled";

constexpr TwipsLine kLine1 { 960, 1200, 3480, 1200 };

constexpr TwipsRect kImage3 { 3510, 1080, 975, 300 };
constexpr TwipsRect kImage2 { 0, 1080, 975, 300 };
constexpr TwipsRect kImage1 { 0, 0, 4500, 300 };

} // namespace design
