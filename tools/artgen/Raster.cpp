#include "Raster.h"

#include <algorithm>
#include <stdexcept>

namespace artgen {

namespace {

// Pixels per metre for 96 dots per inch, the density the pictures are drawn for.
constexpr std::uint32_t kPixelsPerMetre = 3780;

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::size_t kMostColours = 256;

// Run-length encoding of 8-bit bitmaps: a run is at most 255 pixels; a zero
// count escapes to an end of line, the end of the bitmap, or (3 or more)
// a stretch of pixels stored as they are.
constexpr std::size_t kLongestRun = 255;
constexpr std::uint8_t kEscape = 0;
constexpr std::uint8_t kEndOfLine = 0;
constexpr std::uint8_t kEndOfBitmap = 1;
constexpr std::size_t kShortestAbsolute = 3;
// A run this long ends a stretch of changing colours; a shorter one costs
// less inside the stretch.
constexpr std::size_t kShortestRun = 3;

void Put16(Bytes& out, std::uint32_t v)
{
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(Bytes& out, std::uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// Rows of a device-independent bitmap are padded to a multiple of four bytes.
std::uint32_t RowBytes(int width, int bitsPerPixel)
{
    return static_cast<std::uint32_t>((width * bitsPerPixel + 31) / 32 * 4);
}

void PutInfoHeader(Bytes& out, int width, int height, int bitsPerPixel, std::uint32_t compression,
    std::uint32_t imageBytes, std::uint32_t colours)
{
    Put32(out, 40); // size of BITMAPINFOHEADER
    Put32(out, static_cast<std::uint32_t>(width));
    Put32(out, static_cast<std::uint32_t>(height));
    Put16(out, 1); // planes
    Put16(out, static_cast<std::uint32_t>(bitsPerPixel));
    Put32(out, compression);
    Put32(out, imageBytes);
    Put32(out, kPixelsPerMetre);
    Put32(out, kPixelsPerMetre);
    Put32(out, colours);
    Put32(out, 0); // all colours important
}

// A palette as RGBQUADs: blue, green, red and a zero.
template <typename Colours> void PutPalette(Bytes& out, const Colours& palette)
{
    for (const Rgb& c : palette) {
        out.push_back(c.b);
        out.push_back(c.g);
        out.push_back(c.r);
        out.push_back(0);
    }
}

// One row of palette indices, run-length encoded as 8-bit bitmaps are: a run
// of one colour as its length and index; stretches of changing colours as an
// escape, their count and the indices themselves, padded to an even length.
// The row's end is left to the caller.
void EncodeRle8Row(const std::vector<std::uint8_t>& row, Bytes& out)
{
    const std::size_t width = row.size();
    auto runAt = [&](std::size_t x) {
        std::size_t run = 1;
        while (x + run < width && run < kLongestRun && row[x + run] == row[x])
            ++run;
        return run;
    };
    for (std::size_t x = 0; x < width;) {
        const std::size_t run = runAt(x);
        if (run > 1) {
            out.push_back(static_cast<std::uint8_t>(run));
            out.push_back(row[x]);
            x += run;
            continue;
        }
        // Changing colours up to the next run worth encoding as a run.
        std::size_t count = 1;
        while (x + count < width && count < kLongestRun && runAt(x + count) < kShortestRun)
            ++count;
        if (count < kShortestAbsolute) {
            for (std::size_t i = 0; i < count; ++i) {
                out.push_back(1);
                out.push_back(row[x + i]);
            }
        } else {
            out.push_back(kEscape);
            out.push_back(static_cast<std::uint8_t>(count));
            out.insert(out.end(), row.begin() + static_cast<std::ptrdiff_t>(x),
                row.begin() + static_cast<std::ptrdiff_t>(x + count));
            if (count % 2 != 0)
                out.push_back(0);
        }
        x += count;
    }
}

} // namespace

Image::Image(int width, int height, Rgb fill)
    : width_(width)
    , height_(height)
    , pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill)
{
    if (width <= 0 || height <= 0)
        throw std::invalid_argument("image size must be positive");
}

std::size_t Image::Index(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        throw std::out_of_range("pixel outside the image");
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x);
}

Bytes EncodeBmp(const Image& image)
{
    // The palette: the picture's colours in the order they first appear.
    std::vector<Rgb> palette;
    std::vector<std::uint8_t> index;
    index.reserve(static_cast<std::size_t>(image.width()) * static_cast<std::size_t>(image.height()));
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const Rgb c = image.at(x, y);
            auto found = std::find(palette.begin(), palette.end(), c);
            if (found == palette.end()) {
                if (palette.size() == kMostColours)
                    throw std::invalid_argument("a picture of more than 256 colours");
                found = palette.insert(palette.end(), c);
            }
            index.push_back(static_cast<std::uint8_t>(found - palette.begin()));
        }
    }

    Bytes pixels;
    for (int y = image.height() - 1; y >= 0; --y) {
        const auto row = index.begin() + static_cast<std::ptrdiff_t>(y) * image.width();
        EncodeRle8Row(std::vector<std::uint8_t>(row, row + image.width()), pixels);
        pixels.push_back(kEscape);
        pixels.push_back(y == 0 ? kEndOfBitmap : kEndOfLine);
    }

    const auto colours = static_cast<std::uint32_t>(palette.size());
    const std::uint32_t offset = 14 + 40 + 4 * colours;
    Bytes out;
    out.push_back('B');
    out.push_back('M');
    Put32(out, offset + static_cast<std::uint32_t>(pixels.size()));
    Put32(out, 0); // reserved
    Put32(out, offset);
    PutInfoHeader(out, image.width(), image.height(), 8, kBiRle8, static_cast<std::uint32_t>(pixels.size()), colours);
    PutPalette(out, palette);
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

Bytes EncodeIco(const std::vector<IconImage>& images, const Palette16& palette)
{
    constexpr std::uint32_t kDirHeader = 6;
    constexpr std::uint32_t kDirEntry = 16;

    std::vector<Bytes> bodies;
    for (const IconImage& image : images) {
        const int n = image.size;
        const auto pixels = static_cast<std::size_t>(n) * static_cast<std::size_t>(n);
        if (n <= 0 || n > 255 || image.index.size() != pixels || image.transparent.size() != pixels)
            throw std::invalid_argument("malformed icon image");
        const std::uint32_t xorRow = RowBytes(n, 4);
        const std::uint32_t andRow = RowBytes(n, 1);

        Bytes body;
        // The height counts the colour image and the mask together.
        PutInfoHeader(body, n, 2 * n, 4, kBiRgb, (xorRow + andRow) * static_cast<std::uint32_t>(n), 0);
        PutPalette(body, palette);
        for (int y = n - 1; y >= 0; --y) {
            const std::size_t rowStart = body.size();
            for (int x = 0; x < n; x += 2) {
                const std::size_t i = static_cast<std::size_t>(y * n + x);
                if (image.index[i] > 15 || image.index[i + 1] > 15)
                    throw std::invalid_argument("icon palette index out of range");
                body.push_back(static_cast<std::uint8_t>(image.index[i] << 4 | image.index[i + 1]));
            }
            body.resize(rowStart + xorRow, 0);
        }
        for (int y = n - 1; y >= 0; --y) {
            const std::size_t rowStart = body.size();
            for (int x = 0; x < n; x += 8) {
                std::uint8_t bits = 0;
                for (int b = 0; b < 8 && x + b < n; ++b) {
                    if (image.transparent[static_cast<std::size_t>(y * n + x + b)])
                        bits |= static_cast<std::uint8_t>(0x80 >> b);
                }
                body.push_back(bits);
            }
            body.resize(rowStart + andRow, 0);
        }
        bodies.push_back(std::move(body));
    }

    Bytes out;
    Put16(out, 0); // reserved
    Put16(out, 1); // icon
    Put16(out, static_cast<std::uint32_t>(images.size()));
    std::uint32_t offset = kDirHeader + kDirEntry * static_cast<std::uint32_t>(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        out.push_back(static_cast<std::uint8_t>(images[i].size));
        out.push_back(static_cast<std::uint8_t>(images[i].size));
        out.push_back(16); // colours
        out.push_back(0); // reserved
        Put16(out, 1); // planes
        Put16(out, 4); // bits per pixel
        Put32(out, static_cast<std::uint32_t>(bodies[i].size()));
        Put32(out, offset);
        offset += static_cast<std::uint32_t>(bodies[i].size());
    }
    for (const Bytes& body : bodies)
        out.insert(out.end(), body.begin(), body.end());
    return out;
}

} // namespace artgen
