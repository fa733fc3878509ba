// The resources of the program that ships, read from the built program beside
// this test: its pictures, icon, version record and manifest.
#include "resource.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kTransparent = 0xFF00FF; // no colour of the icon

HMODULE Program()
{
    static const HMODULE module = [] {
        wchar_t path[MAX_PATH] {};
        GetModuleFileNameW(nullptr, path, MAX_PATH);
        std::wstring program(path);
        program.replace(program.find_last_of(L"\\/") + 1, std::wstring::npos, L"Kestavine Idle 1.0.exe");
        return LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    }();
    return module;
}

std::vector<std::uint8_t> Raw(LPCWSTR type, LPCWSTR name)
{
    HRSRC info = FindResourceW(Program(), name, type);
    if (!info)
        return {};
    const auto* bytes = static_cast<const std::uint8_t*>(LockResource(LoadResource(Program(), info)));
    return { bytes, bytes + SizeofResource(Program(), info) };
}

// A bitmap's pixels as 0xRRGGBB values, the top row first.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> rgb;

    std::uint32_t at(int x, int y) const { return rgb.at(static_cast<std::size_t>(y * width + x)); }
};

Pixels Read(HBITMAP bitmap)
{
    BITMAP bm {};
    if (!bitmap || !GetObjectW(bitmap, sizeof bm, &bm))
        return {};
    Pixels p { bm.bmWidth, bm.bmHeight,
        std::vector<std::uint32_t>(static_cast<std::size_t>(bm.bmWidth * bm.bmHeight)) };
    BITMAPINFO info {};
    info.bmiHeader = { sizeof(BITMAPINFOHEADER), bm.bmWidth, -bm.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0 };
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, static_cast<UINT>(bm.bmHeight), p.rgb.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    for (std::uint32_t& c : p.rgb)
        c &= 0xFFFFFF;
    return p;
}

// Loaded as the window loads it.
Pixels Picture(int id)
{
    HBITMAP bitmap = static_cast<HBITMAP>(LoadImageW(Program(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, 0));
    Pixels pixels = Read(bitmap);
    DeleteObject(bitmap);
    return pixels;
}

TEST(Resources, PicturesAreTheDesignedSizesAndColours)
{
    const Pixels background = Picture(IDB_BACKGROUND);
    EXPECT_EQ(background.width, 300);
    EXPECT_EQ(background.height, 300);
    EXPECT_EQ(
        std::set<std::uint32_t>(background.rgb.begin(), background.rgb.end()), std::set<std::uint32_t> { 0x0D146F })
        << "one flat navy";

    const Pixels title = Picture(IDB_TITLE);
    const Pixels start = Picture(IDB_START);
    const Pixels stop = Picture(IDB_STOP);
    EXPECT_NE(start.rgb, stop.rgb);
    const std::pair<const Pixels*, int> strips[] = { { &title, 300 }, { &start, 65 }, { &stop, 65 } };
    for (const auto& [strip, width] : strips) {
        SCOPED_TRACE(width);
        ASSERT_EQ(strip->width, width);
        ASSERT_EQ(strip->height, 20);
        int top = 20, bottom = -1, left = width, right = -1;
        for (int y = 0; y < 20; ++y) {
            for (int x = 0; x < width; ++x) {
                const std::uint32_t c = strip->at(x, y);
                ASSERT_TRUE((c >> 16) == (c & 0xFF) && ((c >> 8) & 0xFF) == (c & 0xFF)) << "greyscale";
                if (y < 5)
                    continue;
                ASSERT_TRUE(c == kBlack || c == kWhite) << "black below the highlight, at " << x << "," << y;
                if (c == kWhite) {
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
            }
        }
        EXPECT_NE(strip->at(width / 2, 1), kBlack) << "the glossy highlight";
        EXPECT_EQ(std::pair(top, bottom), std::pair(5, 15)) << "the lettering in rows 5 to 15";
        EXPECT_LE(std::abs(left - (width - 1 - right)), 1) << "the lettering centred";
    }
}

TEST(Resources, IconIsAYellowTrefoilOnABlackDiscAtBothSizes)
{
    const auto group = Raw(RT_GROUP_ICON, MAKEINTRESOURCEW(IDI_KESTAVINE));
    ASSERT_GE(group.size(), 6u + 2 * 14);
    ASSERT_EQ(group[4], 2) << "two images";
    for (int i = 0; i < 2; ++i) {
        const std::uint8_t* entry = group.data() + 6 + 14 * i;
        EXPECT_EQ(entry[0], i == 0 ? 32 : 16);
        EXPECT_EQ(entry[2], 16) << "16 colours";
        EXPECT_EQ(entry[6], 4) << "4 bits a pixel";
    }
    for (int size : { 32, 16 }) {
        SCOPED_TRACE(size);
        HICON icon = static_cast<HICON>(
            LoadImageW(Program(), MAKEINTRESOURCEW(IDI_KESTAVINE), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
        ICONINFO info {};
        ASSERT_TRUE(icon && GetIconInfo(icon, &info));
        const Pixels colour = Read(info.hbmColor);
        const Pixels mask = Read(info.hbmMask); // white where the icon is transparent
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
        ASSERT_EQ(colour.width, size);
        std::set<std::uint32_t> colours;
        for (std::size_t i = 0; i < colour.rgb.size(); ++i)
            colours.insert(mask.rgb[i] == kWhite ? kTransparent : colour.rgb[i]);
        std::set<std::uint32_t> expected { kTransparent, kBlack, 0xFFFF00 };
        if (size == 16)
            expected.insert(0x808000); // olive softens the small blades
        EXPECT_EQ(colours, expected);
        EXPECT_EQ(mask.at(0, 0), kWhite) << "transparent outside the disc";
        EXPECT_EQ(colour.at(size / 2, size / 2 - 1), kBlack) << "no centre dot";
    }
}

// The blocks of a version record in order, each as its key, indented a space
// for each block it lies in, and its value (a text value with its terminator,
// so that a length with anything added or cut shows). Every length is checked
// against the block it lies in; a wrong one ends the reading.
using Blocks = std::vector<std::pair<std::wstring, std::wstring>>;
bool ReadBlocks(const std::wstring& words, std::size_t at, Blocks& blocks, const std::wstring& indent = L"")
{
    const std::size_t end = at + words.at(at) / 2;
    const std::size_t keyEnd = words.find(L'\0', at + 3);
    const std::size_t value = (keyEnd + 2) & ~std::size_t { 1 },
                      length = words.at(at + 2) ? words.at(at + 1) : words.at(at + 1) / 2;
    if (end > words.size() || keyEnd >= end || value + length > end) {
        ADD_FAILURE() << "a block runs past its end";
        return false;
    }
    blocks.emplace_back(indent + words.substr(at + 3, keyEnd - at - 3), words.substr(value, length));
    for (std::size_t p = (value + length + 1) & ~std::size_t { 1 }; p < end;
         p = (p + words.at(p) / 2 + 1) & ~std::size_t { 1 })
        if (!ReadBlocks(words, p, blocks, indent + L' '))
            return false;
    return true;
}

TEST(Resources, VersionRecordHoldsExactlyTheDesignedValuesInOrder)
{
    const auto raw = Raw(RT_VERSION, MAKEINTRESOURCEW(VS_VERSION_INFO));
    Blocks blocks;
    ReadBlocks(std::wstring(reinterpret_cast<const wchar_t*>(raw.data()), raw.size() / 2), 0, blocks);
    ASSERT_FALSE(blocks.empty());
    ASSERT_EQ(blocks[0].second.size() * 2, sizeof(VS_FIXEDFILEINFO));
    VS_FIXEDFILEINFO fixed;
    std::memcpy(&fixed, blocks[0].second.data(), sizeof fixed);
    // The signature, the file's and the product's version 1.0.0.0, and the type of file.
    EXPECT_EQ((std::vector<DWORD> { fixed.dwSignature, fixed.dwFileVersionMS, fixed.dwFileVersionLS,
                  fixed.dwProductVersionMS, fixed.dwProductVersionLS, fixed.dwFileType }),
        (std::vector<DWORD> { 0xFEEF04BD, 0x00010000, 0, 0x00010000, 0, VFT_APP }));
    blocks[0].second.clear();
    using namespace std::string_literals;
    EXPECT_EQ(blocks,
        (Blocks { { L"VS_VERSION_INFO", L"" }, { L" StringFileInfo", L"" },
            { L"  040904B0", L"" }, // US English, Unicode
            { L"   CompanyName", L" Durvo Productions\0"s }, { L"   ProductName", L"Project1\0"s },
            { L"   FileVersion", L"1.00\0"s }, { L"   ProductVersion", L"1.00\0"s },
            { L"   InternalName", L"Kestavine Idle 1.0\0"s }, { L"   OriginalFilename", L"Kestavine Idle 1.0.exe\0"s },
            { L" VarFileInfo", L"" }, { L"  Translation", L"\x0409\x04B0" } }));
}

// The manifest asks for no elevation and no scaling. Windows XP's loader
// knows only the elements of its own time in the assembly namespace and
// refuses the program over any other there (such as a trustInfo with no
// namespace of its own); it skips elements of other namespaces. A namespace
// declared again where it is already in scope can restart an unpatched XP SP2.
TEST(Resources, ManifestAsksForNoElevationNorScalingAndIsOneWindowsXpLoads)
{
    const auto raw = Raw(RT_MANIFEST, MAKEINTRESOURCEW(1)); // the one Windows reads when it starts the program
    const std::string manifest(raw.begin(), raw.end());
    EXPECT_TRUE(std::regex_search(manifest, std::regex(R"(<requestedExecutionLevel\s+level="asInvoker")")));
    EXPECT_TRUE(std::regex_search(manifest, std::regex(R"(<dpiAware\b[^>]*>\s*false\s*</dpiAware>)")));
    EXPECT_TRUE(std::regex_search(manifest, std::regex(R"(<dpiAwareness\b[^>]*>\s*unaware\s*</dpiAwareness>)")));

    const std::string assembly = "urn:schemas-microsoft-com:asm.v1";
    const std::set<std::string> xpElements { "assembly", "assemblyIdentity", "comClass",
        "comInterfaceExternalProxyStub", "comInterfaceProxyStub", "dependency", "dependentAssembly", "description",
        "file", "noInherit", "noInheritable", "typelib", "windowClass" };
    const std::regex tag(R"((<|</)([\w.-]+:)?([\w.-]+)([^>]*?)(/?)>)");
    const std::regex xmlns(R"re(xmlns(:[\w.-]+)?\s*=\s*"([^"]*)")re");

    // Namespaces in scope, by prefix ("" the default), one map for each open element.
    std::vector<std::map<std::string, std::string>> scopes(1);
    int elements = 0;
    for (std::sregex_iterator it(manifest.begin(), manifest.end(), tag), end; it != end; ++it) {
        const std::smatch& m = *it;
        if (m[1] == "</") {
            ASSERT_GT(scopes.size(), 1u) << "</" << m[3] << "> closes no element";
            scopes.pop_back();
            continue;
        }
        const std::string name = m[2].str() + m[3].str();
        auto scope = scopes.back();
        const std::string declarations = m[4];
        for (std::sregex_iterator d(declarations.begin(), declarations.end(), xmlns); d != end; ++d) {
            const std::string uri = (*d)[2];
            for (const auto& [prefix, inScope] : scope)
                EXPECT_NE(inScope, uri) << "<" << name << "> declares a namespace already in scope";
            scope[(*d)[1].length() ? (*d)[1].str().substr(1) : ""] = uri;
        }
        const std::string prefix = m[2].length() ? m[2].str().substr(0, m[2].length() - 1) : "";
        EXPECT_TRUE(scope.count(prefix)) << "<" << name << "> in no namespace";
        if (scope[prefix] == assembly) {
            EXPECT_TRUE(xpElements.count(m[3].str())) << "<" << name << "> in the assembly namespace, unknown to XP";
        }
        ++elements;
        if (m[5] != "/")
            scopes.push_back(scope);
    }
    EXPECT_GE(elements, 12);
    EXPECT_EQ(scopes.size(), 1u) << "every element closed";
}

} // namespace
