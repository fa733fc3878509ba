#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace artgen {

using Bytes = std::vector<std::uint8_t>;

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;

    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// A colour written as 0xRRGGBB.
constexpr Rgb Hex(std::uint32_t rgb)
{
    return { static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
        static_cast<std::uint8_t>(rgb) };
}

constexpr Rgb Grey(int level)
{
    const auto v = static_cast<std::uint8_t>(level);
    return { v, v, v };
}

// A true-colour picture; (0, 0) is the top-left pixel.
class Image {
public:
    Image(int width, int height, Rgb fill);

    int width() const { return width_; }
    int height() const { return height_; }
    Rgb at(int x, int y) const { return pixels_[Index(x, y)]; }
    void set(int x, int y, Rgb colour) { pixels_[Index(x, y)] = colour; }

private:
    std::size_t Index(int x, int y) const;

    int width_;
    int height_;
    std::vector<Rgb> pixels_;
};

// A 16-colour icon image: a palette index per pixel, and which pixels are
// transparent (the AND mask).
struct IconImage {
    int size = 0;
    std::vector<std::uint8_t> index;
    std::vector<bool> transparent;
};

using Palette16 = std::array<Rgb, 16>;

// A Windows bitmap file of 8 bits per pixel: the picture's colours (256 at
// most) as its palette, and its bottom-up rows run-length encoded (BI_RLE8),
// which every Windows reads.
Bytes EncodeBmp(const Image& image);

// A Windows icon file holding the images in the order given, each 4 bits per
// pixel with the palette and an AND mask.
Bytes EncodeIco(const std::vector<IconImage>& images, const Palette16& palette);

} // namespace artgen
