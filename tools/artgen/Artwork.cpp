#include "Artwork.h"

#include "Face.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string_view>

namespace artgen {

namespace {

constexpr Rgb kNavy = Hex(0x0D146F);
constexpr Rgb kBlack = Hex(0x000000);
constexpr Rgb kWhite = Hex(0xFFFFFF);

// The lettering of the title strip and the two switches starts on this row.
constexpr int kTextTop = 5;

// The glossy highlight over the top rows of a strip: grey levels of each row
// from the left edge inwards, ending where the row reaches its full level.
// The right end mirrors the left, and the last level of a row carries on
// across the middle.
constexpr int kHighlightRows = 5;
using HighlightEnd = std::array<std::array<int, 14>, kHighlightRows>;

// The title strip's band fades out about 7 px from either side; rows 1 and 2
// are the brightest, and the shorter first and last rows round its ends.
constexpr HighlightEnd kTitleHighlight = { {
    { 0, 0, 0, 0, 0, 0, 0, 0, 0, 24, 56, 88, 104, 112 },
    { 0, 0, 0, 0, 0, 0, 0, 40, 120, 176, 200, 208, 208, 208 },
    { 0, 0, 0, 0, 0, 0, 0, 48, 128, 184, 208, 208, 208, 208 },
    { 0, 0, 0, 0, 0, 0, 0, 16, 72, 120, 144, 152, 152, 152 },
    { 0, 0, 0, 0, 0, 0, 0, 0, 24, 56, 72, 80, 80, 80 },
} };

// The switches' highlight is an elliptical cap: narrow at the top, wider
// and dimmer further down, with rounded ends.
constexpr HighlightEnd kSwitchHighlight = { {
    { 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 16, 48, 88, 112 },
    { 0, 0, 0, 0, 0, 0, 24, 72, 128, 168, 192, 200, 208, 208 },
    { 0, 0, 0, 24, 80, 136, 176, 200, 208, 208, 208, 208, 208, 208 },
    { 0, 16, 64, 112, 144, 152, 152, 152, 152, 152, 152, 152, 152, 152 },
    { 16, 48, 72, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80 },
} };

void DrawHighlight(Image& image, const HighlightEnd& end)
{
    for (int y = 0; y < kHighlightRows; ++y) {
        const auto& levels = end[static_cast<std::size_t>(y)];
        for (int x = 0; x < image.width(); ++x) {
            const auto fromEdge = static_cast<std::size_t>(std::min(x, image.width() - 1 - x));
            image.set(x, y, Grey(levels[std::min(fromEdge, levels.size() - 1)]));
        }
    }
}

Image Background()
{
    // Only the top 100 rows show in the window.
    return Image(300, 300, kNavy);
}

Image Strip(int width, const HighlightEnd& highlight, std::string_view text)
{
    Image image(width, 20, kBlack);
    DrawHighlight(image, highlight);
    DrawTextCentred(image, kTextTop, text, kWhite);
    return image;
}

// The program icon: a black disc carrying a yellow three-bladed trefoil.
// '.' is transparent, '#' black, 'Y' yellow and 'o' the olive that softens
// the blade corners at the small size.
constexpr Palette16 kIconPalette = {
    Hex(0x000000),
    Hex(0x800000),
    Hex(0x008000),
    Hex(0x808000),
    Hex(0x000080),
    Hex(0x800080),
    Hex(0x008080),
    Hex(0xC0C0C0),
    Hex(0x808080),
    Hex(0xFF0000),
    Hex(0x00FF00),
    Hex(0xFFFF00),
    Hex(0x0000FF),
    Hex(0xFF00FF),
    Hex(0x00FFFF),
    Hex(0xFFFFFF),
};
constexpr std::uint8_t kIconBlack = 0;
constexpr std::uint8_t kIconOlive = 3;
constexpr std::uint8_t kIconYellow = 11;

// clang-format off
    constexpr std::string_view kIcon32[] = {
        "..............####..............",
        "..........############..........",
        "........################........",
        ".......#######YYYY#######.......",
        ".....######YYYYYYYYYY######.....",
        "....######YYYYYYYYYYYY######....",
        "....#######YYYYYYYYYY#######....",
        "...########YYYYYYYYYY########...",
        "..##########YYYYYYYY##########..",
        "..##########YYYYYYYY##########..",
        ".############YYYYYY############.",
        ".############YYYYYY############.",
        ".#############YYYY#############.",
        ".##############################.",
        "################################",
        "################################",
        "###YYYYYYYYYY######YYYYYYYYYY###",
        "###YYYYYYYYYYY####YYYYYYYYYYY###",
        ".###YYYYYYYYYY####YYYYYYYYYY###.",
        ".###YYYYYYYYYY####YYYYYYYYYY###.",
        ".###YYYYYYYYY######YYYYYYYYY###.",
        ".####YYYYYYYY######YYYYYYYY####.",
        "..###YYYYYYY########YYYYYYY###..",
        "..####YYYYYY########YYYYYY####..",
        "...####YYYY##########YYYY####...",
        "....####YYY##########YYY####....",
        "....#####Y############Y#####....",
        ".....######################.....",
        ".......##################.......",
        "........################........",
        "..........############..........",
        "..............####..............",
    };

    constexpr std::string_view kIcon16[] = {
        "......####......",
        "....###oo###....",
        "..###YYYYYY###..",
        "..###oYYYYo###..",
        ".#####YYYY#####.",
        ".#####oYYo#####.",
        "#######YY#######",
        "################",
        "#oYYYYY##YYYYYo#",
        "##YYYYY##YYYYY##",
        ".#YYYYo##oYYYY#.",
        ".#oYYY####YYYo#.",
        "..#oYo####oYo#..",
        "..############..",
        "....########....",
        "......####......",
    };
// clang-format on

template <std::size_t N> IconImage IconFromGrid(const std::string_view (&grid)[N])
{
    IconImage image;
    image.size = static_cast<int>(N);
    for (std::string_view row : grid) {
        if (row.size() != N)
            throw std::logic_error("icon grid is not square");
        for (char ch : row) {
            switch (ch) {
            case '.':
                image.index.push_back(kIconBlack);
                image.transparent.push_back(true);
                break;
            case '#':
                image.index.push_back(kIconBlack);
                image.transparent.push_back(false);
                break;
            case 'Y':
                image.index.push_back(kIconYellow);
                image.transparent.push_back(false);
                break;
            case 'o':
                image.index.push_back(kIconOlive);
                image.transparent.push_back(false);
                break;
            default:
                throw std::logic_error("unknown colour in icon grid");
            }
        }
    }
    return image;
}

} // namespace

std::vector<ArtworkFile> MakeArtwork()
{
    return {
        { "background.bmp", EncodeBmp(Background()) },
        { "title.bmp", EncodeBmp(Strip(300, kTitleHighlight, "KESTAVINE IDLE 1.0")) },
        { "start.bmp", EncodeBmp(Strip(65, kSwitchHighlight, "START")) },
        { "stop.bmp", EncodeBmp(Strip(65, kSwitchHighlight, "STOP")) },
        { "kestavine.ico", EncodeIco({ IconFromGrid(kIcon32), IconFromGrid(kIcon16) }, kIconPalette) },
    };
}

} // namespace artgen
