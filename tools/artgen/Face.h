#pragma once

#include "Raster.h"

#include <string_view>

namespace artgen {

// The pictures' lettering: a thin, angular, rune-like capital face, one pixel
// strokes, kFaceHeight pixels from the top of a capital to its foot.
inline constexpr int kFaceHeight = 11;

// Width in pixels of the text set in the face, the gaps between glyphs included.
// Throws for a character the face does not have.
int TextWidth(std::string_view text);

// Sets the text with its top-left corner at (left, top); only the glyphs'
// pixels are painted.
void DrawText(Image& image, int left, int top, std::string_view text, Rgb colour);

// Sets the text centred across the image's width, its top at the given row.
void DrawTextCentred(Image& image, int top, std::string_view text, Rgb colour);

} // namespace artgen
