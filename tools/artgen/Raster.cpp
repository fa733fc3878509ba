#include "Raster.h"

#include <stdexcept>

namespace artgen {

namespace {

// Pixels per metre for 96 dots per inch, the density the pictures are drawn for.
constexpr std::uint32_t kPixelsPerMetre = 3780;

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

void PutInfoHeader(Bytes& out, int width, int height, int bitsPerPixel, std::uint32_t imageBytes, int colours)
{
    Put32(out, 40); // size of BITMAPINFOHEADER
    Put32(out, static_cast<std::uint32_t>(width));
    Put32(out, static_cast<std::uint32_t>(height));
    Put16(out, 1); // planes
    Put16(out, static_cast<std::uint32_t>(bitsPerPixel));
    Put32(out, 0); // BI_RGB
    Put32(out, imageBytes);
    Put32(out, kPixelsPerMetre);
    Put32(out, kPixelsPerMetre);
    Put32(out, static_cast<std::uint32_t>(colours));
    Put32(out, 0); // all colours important
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
    constexpr std::uint32_t kHeaders = 14 + 40;
    const std::uint32_t rowBytes = RowBytes(image.width(), 24);
    const std::uint32_t imageBytes = rowBytes * static_cast<std::uint32_t>(image.height());

    Bytes out;
    out.reserve(kHeaders + imageBytes);
    out.push_back('B');
    out.push_back('M');
    Put32(out, kHeaders + imageBytes);
    Put32(out, 0); // reserved
    Put32(out, kHeaders); // offset of the pixels
    PutInfoHeader(out, image.width(), image.height(), 24, imageBytes, 0);
    for (int y = image.height() - 1; y >= 0; --y) {
        const std::size_t rowStart = out.size();
        for (int x = 0; x < image.width(); ++x) {
            const Rgb c = image.at(x, y);
            out.push_back(c.b);
            out.push_back(c.g);
            out.push_back(c.r);
        }
        out.resize(rowStart + rowBytes, 0);
    }
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
        PutInfoHeader(body, n, 2 * n, 4, (xorRow + andRow) * static_cast<std::uint32_t>(n), 0);
        for (const Rgb& c : palette) {
            body.push_back(c.b);
            body.push_back(c.g);
            body.push_back(c.r);
            body.push_back(0);
        }
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
