#include "ResourceModule.h"
#include "resource.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <set>
#include <vector>

namespace artwork_tests {
namespace {

constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kNavy = 0x0D146F;
constexpr std::uint32_t kYellow = 0xFFFF00;
constexpr std::uint32_t kOlive = 0x808000;
// The ground an icon is drawn on in these tests: no colour of the icon.
constexpr std::uint32_t kGround = 0xFF00FF;

// What a picture looks like once drawn, as 0xRRGGBB values.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> rgb;

    std::uint32_t at(int x, int y) const { return rgb.at(static_cast<std::size_t>(y * width + x)); }
};

int Grey(std::uint32_t rgb)
{
    return static_cast<int>(rgb & 0xFF);
}
bool IsGrey(std::uint32_t rgb)
{
    return (rgb >> 16) == (rgb & 0xFF) && ((rgb >> 8) & 0xFF) == (rgb & 0xFF);
}

// A 32-bit top-down DIB section of the given size filled with one colour,
// selected into a memory DC; the drawing is read back from its bits.
class Canvas {
public:
    Canvas(int width, int height, std::uint32_t fill)
        : width_(width)
        , height_(height)
    {
        BITMAPINFO info {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc_ = CreateCompatibleDC(nullptr);
        dib_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
        old_ = SelectObject(dc_, dib_);
        std::fill(bits_, bits_ + width * height, fill);
    }
    ~Canvas()
    {
        SelectObject(dc_, old_);
        DeleteObject(dib_);
        DeleteDC(dc_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC dc() const { return dc_; }
    Pixels Read() const
    {
        GdiFlush();
        Pixels pixels { width_, height_, {} };
        for (int i = 0; i < width_ * height_; ++i)
            pixels.rgb.push_back(bits_[i] & 0xFFFFFF); // BGRA in memory: 0x00RRGGBB as a number
        return pixels;
    }

private:
    int width_;
    int height_;
    HDC dc_ = nullptr;
    HBITMAP dib_ = nullptr;
    HGDIOBJ old_ = nullptr;
    std::uint32_t* bits_ = nullptr;
};

// Loads a picture as the window does (a device-dependent bitmap) and copies
// it with BitBlt; width 0 when it does not load.
Pixels DrawPicture(HMODULE module, int id)
{
    HBITMAP bitmap = static_cast<HBITMAP>(LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, 0));
    if (bitmap == nullptr)
        return {};
    BITMAP bm {};
    GetObjectW(bitmap, sizeof(bm), &bm);
    Canvas canvas(bm.bmWidth, bm.bmHeight, kGround);
    HDC source = CreateCompatibleDC(canvas.dc());
    HGDIOBJ old = SelectObject(source, bitmap);
    BitBlt(canvas.dc(), 0, 0, bm.bmWidth, bm.bmHeight, source, 0, 0, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
    DeleteObject(bitmap);
    return canvas.Read();
}

struct Box {
    int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1; // inclusive
};

Box BoxOf(const Pixels& p, std::uint32_t colour)
{
    Box box;
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
            if (p.at(x, y) == colour) {
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x);
                box.top = std::min(box.top, y);
                box.bottom = std::max(box.bottom, y);
            }
        }
    }
    return box;
}

// What the title strip and the two switches share: a black ground, a grey
// highlight over the top five rows that is darker at its ends, and the
// white lettering centred in rows 5 to 15.
void ExpectStrip(const Pixels& p, int width)
{
    ASSERT_EQ(p.width, width);
    ASSERT_EQ(p.height, 20);
    for (std::uint32_t rgb : p.rgb)
        ASSERT_TRUE(IsGrey(rgb)) << std::hex << rgb;

    const int middle = width / 2;
    for (int y = 0; y < 5; ++y)
        EXPECT_NE(p.at(middle, y), kBlack) << "highlight row " << y;
    EXPECT_EQ(p.at(0, 0), kBlack) << "rounded left end";
    EXPECT_EQ(p.at(width - 1, 0), kBlack) << "rounded right end";
    for (int y = 0; y < 5; ++y)
        EXPECT_EQ(p.at(0, y), p.at(width - 1, y)) << "the ends mirror each other in row " << y;

    const Box text = BoxOf(p, kWhite);
    EXPECT_EQ(text.top, 5);
    EXPECT_EQ(text.bottom, 15);
    EXPECT_LE(std::abs(text.left - (width - 1 - text.right)), 1) << "text centred";
    for (int y = 5; y < 20; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t rgb = p.at(x, y);
            ASSERT_TRUE(rgb == kBlack || rgb == kWhite) << "below the highlight at " << x << "," << y;
        }
    }
}

using PictureTest = ResourceTest;

TEST_P(PictureTest, BackgroundIsOneFlatNavy)
{
    const Pixels p = DrawPicture(module_.handle(), IDB_BACKGROUND);
    ASSERT_EQ(p.width, 300);
    ASSERT_EQ(p.height, 300);
    EXPECT_EQ(std::set<std::uint32_t>(p.rgb.begin(), p.rgb.end()), std::set<std::uint32_t> { kNavy });
}

TEST_P(PictureTest, TitleStripGlossesItsTopRowsAndCarriesTheName)
{
    const Pixels p = DrawPicture(module_.handle(), IDB_TITLE);
    ExpectStrip(p, 300);
    if (HasFatalFailure())
        return;
    // Brightest in rows 1 and 2.
    const int dimmest = std::min(Grey(p.at(150, 1)), Grey(p.at(150, 2)));
    for (int y : { 0, 3, 4 })
        EXPECT_LT(Grey(p.at(150, y)), dimmest) << "row " << y;
    // The band fades out about 7 px from either side, and runs all the way between.
    for (int x = 0; x < 5; ++x) {
        for (int y = 0; y < 5; ++y) {
            EXPECT_EQ(p.at(x, y), kBlack) << x << "," << y;
            EXPECT_EQ(p.at(299 - x, y), kBlack) << 299 - x << "," << y;
        }
    }
    for (int x = 10; x < 290; ++x)
        ASSERT_NE(p.at(x, 1), kBlack) << "row 1 at " << x;
    // "KESTAVINE IDLE 1.0" spans far more than the five-letter switch words.
    const Box text = BoxOf(p, kWhite);
    EXPECT_GT(text.right - text.left, 100);
}

TEST_P(PictureTest, SwitchesShowTheirWordOnTheSameGround)
{
    const Pixels start = DrawPicture(module_.handle(), IDB_START);
    const Pixels stop = DrawPicture(module_.handle(), IDB_STOP);
    ExpectStrip(start, 65);
    ExpectStrip(stop, 65);
    if (HasFatalFailure())
        return;
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 65; ++x)
            ASSERT_EQ(start.at(x, y), stop.at(x, y)) << "same highlight at " << x << "," << y;
    }
    EXPECT_NE(start.rgb, stop.rgb);
    // The cap is elliptical: it reaches further out lower down.
    auto reach = [&](int y) {
        int x = 0;
        while (x < 32 && start.at(x, y) == kBlack)
            ++x;
        return x;
    };
    EXPECT_GT(reach(0), reach(2));
    EXPECT_GT(reach(2), reach(4));
}

struct IconEntry {
    int width, height, colours, bits, id;
};

std::vector<IconEntry> IconGroup(HMODULE module)
{
    const auto raw = RawResource(module, RT_GROUP_ICON, MAKEINTRESOURCEW(IDI_KESTAVINE));
    std::vector<IconEntry> entries;
    if (raw.size() < 6 || raw[2] != 1)
        return entries;
    const int count = raw[4] | raw[5] << 8;
    for (int i = 0; i < count && 6u + 14u * (i + 1) <= raw.size(); ++i) {
        const std::uint8_t* e = raw.data() + 6 + 14 * i;
        entries.push_back({ e[0], e[1], e[2], e[6] | e[7] << 8, e[12] | e[13] << 8 });
    }
    return entries;
}

Pixels DrawIcon(HMODULE module, int size)
{
    HICON icon = static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(IDI_KESTAVINE), IMAGE_ICON, size, size, 0));
    if (icon == nullptr)
        return {};
    ICONINFO info {};
    BITMAP colour {};
    GetIconInfo(icon, &info);
    GetObjectW(info.hbmColor, sizeof(colour), &colour);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    if (colour.bmWidth != size || colour.bmHeight != size) {
        DestroyIcon(icon);
        return {};
    }
    Canvas canvas(size, size, kGround);
    DrawIconEx(canvas.dc(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    DestroyIcon(icon);
    return canvas.Read();
}

using IconTest = ResourceTest;

TEST_P(IconTest, GroupHoldsA32AndA16PixelImageAt16Colours)
{
    const auto entries = IconGroup(module_.handle());
    ASSERT_EQ(entries.size(), 2u);
    std::set<int> sizes;
    for (const IconEntry& e : entries) {
        EXPECT_EQ(e.width, e.height);
        EXPECT_EQ(e.colours, 16);
        EXPECT_EQ(e.bits, 4);
        sizes.insert(e.width);
        // The image itself: 4 bits per pixel, its height counting the AND mask too.
        const auto image = RawResource(module_.handle(), RT_ICON, MAKEINTRESOURCEW(e.id));
        ASSERT_GE(image.size(), sizeof(BITMAPINFOHEADER));
        BITMAPINFOHEADER header;
        std::memcpy(&header, image.data(), sizeof(header));
        EXPECT_EQ(header.biWidth, e.width);
        EXPECT_EQ(header.biHeight, 2 * e.width);
        EXPECT_EQ(header.biBitCount, 4);
    }
    EXPECT_EQ(sizes, (std::set<int> { 16, 32 }));
}

TEST_P(IconTest, ShowsAYellowTrefoilOnABlackDisc)
{
    for (int size : { 32, 16 }) {
        SCOPED_TRACE(size);
        const Pixels p = DrawIcon(module_.handle(), size);
        ASSERT_EQ(p.width, size) << "no " << size << " px image";
        const int c = size / 2;
        const int q = size / 4;
        // Transparent outside the disc, black at its rim and in its middle (no centre dot).
        EXPECT_EQ(p.at(0, 0), kGround);
        EXPECT_EQ(p.at(size - 1, size - 1), kGround);
        EXPECT_EQ(p.at(c, 0), kBlack);
        EXPECT_EQ(p.at(c, c - 1), kBlack);
        // One blade up, one lower left, one lower right, black gaps between.
        EXPECT_EQ(p.at(c, q - 1), kYellow) << "upper blade";
        EXPECT_EQ(p.at(q, c + 1 + size / 16), kYellow) << "lower left blade";
        EXPECT_EQ(p.at(size - 1 - q, c + 1 + size / 16), kYellow) << "lower right blade";
        EXPECT_EQ(p.at(c, c + q), kBlack) << "gap below";
        EXPECT_EQ(p.at(q - 1, c - q + 1), kBlack) << "gap upper left";
        EXPECT_EQ(p.at(size - q, c - q + 1), kBlack) << "gap upper right";

        std::set<std::uint32_t> colours(p.rgb.begin(), p.rgb.end());
        const std::set<std::uint32_t> expected = size == 16
            ? std::set<std::uint32_t> { kGround, kBlack, kYellow, kOlive }
            : std::set<std::uint32_t> { kGround, kBlack, kYellow };
        EXPECT_EQ(colours, expected);
    }
}

INSTANTIATE_TEST_SUITE_P(Resources, PictureTest, testing::Values(Source::OwnModule, Source::Program), SourceName);
INSTANTIATE_TEST_SUITE_P(Resources, IconTest, testing::Values(Source::OwnModule, Source::Program), SourceName);

} // namespace
} // namespace artwork_tests
