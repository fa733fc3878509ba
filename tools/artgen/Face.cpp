#include "Face.h"

#include <array>
#include <stdexcept>
#include <string>

namespace artgen {

namespace {

// Blank columns between two glyphs.
constexpr int kGlyphGap = 2;

// Each glyph is drawn as rows of '#' (ink) and '.' (ground), all rows as
// wide as the first. Round letters are circles with a cross inside; the S
// carries a vertical bar through it.
struct Glyph {
    char ch;
    std::array<std::string_view, kFaceHeight> rows;
};

// clang-format off
    constexpr Glyph kGlyphs[] = {
        { ' ', { "....",
                 "....",
                 "....",
                 "....",
                 "....",
                 "....",
                 "....",
                 "....",
                 "....",
                 "....",
                 "...." } },
        { '.', { ".",
                 ".",
                 ".",
                 ".",
                 ".",
                 ".",
                 ".",
                 ".",
                 ".",
                 ".",
                 "#" } },
        { '0', { "..#####..",
                 ".#..#..#.",
                 "#...#...#",
                 "#...#...#",
                 "#...#...#",
                 "#########",
                 "#...#...#",
                 "#...#...#",
                 "#...#...#",
                 ".#..#..#.",
                 "..#####.." } },
        { '1', { "..#",
                 ".##",
                 "#.#",
                 "..#",
                 "..#",
                 "..#",
                 "..#",
                 "..#",
                 "..#",
                 "..#",
                 "..#" } },
        { 'A', { "...#...",
                 "..#.#..",
                 "..#.#..",
                 "..#.#..",
                 ".#...#.",
                 ".#...#.",
                 ".#####.",
                 "#.....#",
                 "#.....#",
                 "#.....#",
                 "#.....#" } },
        { 'D', { "####...",
                 "#...#..",
                 "#....#.",
                 "#.....#",
                 "#.....#",
                 "#.....#",
                 "#.....#",
                 "#.....#",
                 "#....#.",
                 "#...#..",
                 "####..." } },
        { 'E', { "######",
                 "#.....",
                 "#.....",
                 "#.....",
                 "#.....",
                 "#####.",
                 "#.....",
                 "#.....",
                 "#.....",
                 "#.....",
                 "######" } },
        { 'I', { "#",
                 "#",
                 "#",
                 "#",
                 "#",
                 "#",
                 "#",
                 "#",
                 "#",
                 "#",
                 "#" } },
        { 'K', { "#.....#",
                 "#....#.",
                 "#...#..",
                 "#..#...",
                 "#.#....",
                 "##.....",
                 "#.#....",
                 "#..#...",
                 "#...#..",
                 "#....#.",
                 "#.....#" } },
        { 'L', { "#.....",
                 "#.....",
                 "#.....",
                 "#.....",
                 "#.....",
                 "#.....",
                 "#.....",
                 "#.....",
                 "#.....",
                 "#.....",
                 "######" } },
        { 'N', { "#.....#",
                 "##....#",
                 "##....#",
                 "#.#...#",
                 "#.#...#",
                 "#..#..#",
                 "#...#.#",
                 "#...#.#",
                 "#....##",
                 "#....##",
                 "#.....#" } },
        { 'O', { "...#####...",
                 "..#..#..#..",
                 ".#...#...#.",
                 "#....#....#",
                 "#....#....#",
                 "###########",
                 "#....#....#",
                 "#....#....#",
                 ".#...#...#.",
                 "..#..#..#..",
                 "...#####..." } },
        { 'P', { "#####..",
                 "#....#.",
                 "#.....#",
                 "#.....#",
                 "#....#.",
                 "#####..",
                 "#......",
                 "#......",
                 "#......",
                 "#......",
                 "#......" } },
        { 'R', { "#####..",
                 "#....#.",
                 "#.....#",
                 "#.....#",
                 "#....#.",
                 "#####..",
                 "#.#....",
                 "#..#...",
                 "#...#..",
                 "#....#.",
                 "#.....#" } },
        { 'S', { "...#...",
                 ".######",
                 "#..#...",
                 "#..#...",
                 "#..#...",
                 ".#####.",
                 "...#..#",
                 "...#..#",
                 "...#..#",
                 "######.",
                 "...#..." } },
        { 'T', { "#######",
                 "...#...",
                 "...#...",
                 "...#...",
                 "...#...",
                 "...#...",
                 "...#...",
                 "...#...",
                 "...#...",
                 "...#...",
                 "...#..." } },
        { 'V', { "#.....#",
                 "#.....#",
                 "#.....#",
                 "#.....#",
                 ".#...#.",
                 ".#...#.",
                 ".#...#.",
                 "..#.#..",
                 "..#.#..",
                 "..#.#..",
                 "...#..." } },
    };
// clang-format on

const Glyph& Find(char ch)
{
    for (const Glyph& glyph : kGlyphs) {
        if (glyph.ch == ch)
            return glyph;
    }
    throw std::invalid_argument(std::string("the face has no glyph for '") + ch + "'");
}

// A glyph's width; a ragged or misdrawn grid is a mistake in this file.
int Width(const Glyph& glyph)
{
    const std::size_t width = glyph.rows[0].size();
    for (std::string_view row : glyph.rows) {
        if (row.size() != width || row.find_first_not_of("#.") != std::string_view::npos)
            throw std::logic_error(std::string("malformed glyph '") + glyph.ch + "'");
    }
    return static_cast<int>(width);
}

} // namespace

int TextWidth(std::string_view text)
{
    int width = 0;
    for (char ch : text)
        width += Width(Find(ch));
    if (!text.empty())
        width += kGlyphGap * static_cast<int>(text.size() - 1);
    return width;
}

void DrawText(Image& image, int left, int top, std::string_view text, Rgb colour)
{
    int x = left;
    for (char ch : text) {
        const Glyph& glyph = Find(ch);
        const int width = Width(glyph);
        for (int row = 0; row < kFaceHeight; ++row) {
            for (int col = 0; col < width; ++col) {
                if (glyph.rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)] == '#')
                    image.set(x + col, top + row, colour);
            }
        }
        x += width + kGlyphGap;
    }
}

void DrawTextCentred(Image& image, int top, std::string_view text, Rgb colour)
{
    DrawText(image, (image.width() - TextWidth(text)) / 2, top, text, colour);
}

} // namespace artgen
