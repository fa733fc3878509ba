#include "Form1.h"

#include <algorithm>

namespace {

SIZE BitmapSize(HBITMAP bitmap)
{
    BITMAP info {};
    GetObjectW(bitmap, sizeof info, &info);
    return { info.bmWidth, info.bmHeight };
}

// A picture drawn unscaled from its top-left corner, cut to the area it is given.
void DrawPicture(HDC dc, HBITMAP picture, const RECT& area)
{
    gdi::MemoryDC source(dc);
    gdi::Select select(source.get(), picture);
    const SIZE size = BitmapSize(picture);
    BitBlt(dc, area.left, area.top, std::min<int>(size.cx, area.right - area.left),
        std::min<int>(size.cy, area.bottom - area.top), source.get(), 0, 0, SRCCOPY);
}

// A 1-pixel line in the window-text colour, both of its end points drawn.
void DrawLine(HDC dc, const design::TwipsLine& line)
{
    const COLORREF colour = GetSysColor(COLOR_WINDOWTEXT);
    gdi::Pen pen(CreatePen(PS_SOLID, 1, colour));
    gdi::Select select(dc, pen.get());
    const POINT from { twips::ToPixels(line.x1), twips::ToPixels(line.y1) };
    const POINT to { twips::ToPixels(line.x2), twips::ToPixels(line.y2) };
    MoveToEx(dc, from.x, from.y, nullptr);
    LineTo(dc, to.x, to.y);
    SetPixel(dc, to.x, to.y, colour);
}

void DrawCaption(HDC dc, const wchar_t* caption, HFONT font, const design::TwipsRect& box, UINT alignment)
{
    gdi::Select select(dc, font);
    RECT r = box.Pixels();
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, design::kWhite);
    DrawTextW(dc, caption, -1, &r, alignment | DT_TOP | DT_WORDBREAK | DT_NOPREFIX);
}

} // namespace

void Form1::OnPaint()
{
    gdi::PaintScope paint(hwnd_);
    RECT client;
    GetClientRect(hwnd_, &client);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    if (width <= 0 || height <= 0)
        return;
    // Through a memory DC, so nothing flickers while the window repaints.
    gdi::MemoryDC buffer(paint.dc());
    gdi::Bitmap surface(CreateCompatibleBitmap(paint.dc(), width, height));
    gdi::Select select(buffer.get(), surface.get());
    Paint(buffer.get());
    BitBlt(paint.dc(), 0, 0, width, height, buffer.get(), 0, 0, SRCCOPY);
}

// Bottom of the z-order first, so each control is drawn over those beneath it.
void Form1::Paint(HDC dc) const
{
    const RECT form = design::kForm1.Pixels();
    DrawPicture(dc, background_.get(), { 0, 0, form.right - form.left, form.bottom - form.top });
    DrawPicture(dc, image1_.get(), design::kImage1.Pixels());
    DrawPicture(dc, image2_.get(), design::kImage2.Pixels());
    DrawPicture(dc, image3_.get(), design::kImage3.Pixels());
    DrawLine(dc, design::kLine1);

    const RECT label1 = design::kLabel1.Pixels();
    FillRect(dc, &label1, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    DrawCaption(dc, label1Caption_, defaultFont_.get(), design::kLabel1, DT_CENTER);

    DrawLine(dc, design::kLine3);
    DrawLine(dc, design::kLine2);
    DrawCaption(dc, design::kLabel2Caption, label2Font_.get(), design::kLabel2, DT_CENTER);
    DrawCaption(dc, design::kLabel3Caption, label3Font_.get(), design::kLabel3, DT_LEFT);
}
