#include "ResourceModule.h"

#include <cstring>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace artwork_tests {
namespace {

const std::vector<std::pair<std::wstring, std::wstring>> kStrings = {
    { L"CompanyName", L" Durvo Productions" },
    { L"ProductName", L"Project1" },
    { L"FileVersion", L"1.00" },
    { L"ProductVersion", L"1.00" },
    { L"InternalName", L"Kestavine Idle 1.0" },
    { L"OriginalFilename", L"Kestavine Idle 1.0.exe" },
};

// One block of a version record as it is laid out in the file: its key,
// its value (characters for text, bytes otherwise) and its children.
struct Block {
    std::wstring key;
    std::uint16_t valueLength = 0;
    std::uint16_t type = 0;
    std::vector<std::uint8_t> value;
    std::vector<Block> children;

    // A text value up to its terminator.
    std::wstring Text() const
    {
        std::wstring text(value.size() / 2, L'\0');
        std::memcpy(text.data(), value.data(), text.size() * 2);
        return text.substr(0, text.find(L'\0'));
    }
};

std::uint16_t Word(const std::vector<std::uint8_t>& bytes, std::size_t at)
{
    return static_cast<std::uint16_t>(bytes.at(at) | bytes.at(at + 1) << 8);
}

std::size_t Align4(std::size_t at)
{
    return (at + 3) & ~std::size_t { 3 };
}

// Reads the block at 'at'; every length is checked against the block it
// lies in, so a malformed record fails the test instead of misreading.
Block ReadBlock(const std::vector<std::uint8_t>& bytes, std::size_t at)
{
    Block block;
    const std::size_t end = at + Word(bytes, at);
    if (end > bytes.size() || end < at + 6)
        throw std::runtime_error("block length out of range");
    block.valueLength = Word(bytes, at + 2);
    block.type = Word(bytes, at + 4);
    std::size_t p = at + 6;
    for (std::uint16_t ch; (ch = Word(bytes, p)) != 0; p += 2)
        block.key.push_back(static_cast<wchar_t>(ch));
    p = Align4(p + 2);
    const std::size_t valueBytes = block.type == 1 ? 2u * block.valueLength : block.valueLength;
    if (p + valueBytes > end)
        throw std::runtime_error("value runs past its block");
    block.value.assign(
        bytes.begin() + static_cast<std::ptrdiff_t>(p), bytes.begin() + static_cast<std::ptrdiff_t>(p + valueBytes));
    for (p = Align4(p + valueBytes); p < end; p = Align4(p + Word(bytes, p)))
        block.children.push_back(ReadBlock(bytes, p));
    return block;
}

std::vector<std::wstring> Keys(const Block& block)
{
    std::vector<std::wstring> keys;
    for (const Block& child : block.children)
        keys.push_back(child.key);
    return keys;
}

using VersionRecordTest = ResourceTest;

TEST_P(VersionRecordTest, HoldsExactlyTheDesignedStringsInOrder)
{
    const auto raw = RawResource(module_.handle(), RT_VERSION, MAKEINTRESOURCEW(VS_VERSION_INFO));
    ASSERT_FALSE(raw.empty());
    const Block root = ReadBlock(raw, 0);
    EXPECT_EQ(root.key, L"VS_VERSION_INFO");
    EXPECT_EQ(root.value.size(), sizeof(VS_FIXEDFILEINFO));
    ASSERT_EQ(Keys(root), (std::vector<std::wstring> { L"StringFileInfo", L"VarFileInfo" }));

    const Block& stringInfo = root.children[0];
    ASSERT_EQ(Keys(stringInfo), std::vector<std::wstring> { L"040904B0" });
    const Block& table = stringInfo.children[0];
    ASSERT_EQ(table.children.size(), kStrings.size());
    for (std::size_t i = 0; i < kStrings.size(); ++i) {
        const Block& value = table.children[i];
        EXPECT_EQ(value.key, kStrings[i].first);
        EXPECT_EQ(value.Text(), kStrings[i].second) << "value of " << testing::PrintToString(value.key);
        // Nothing added or cut: the stored length is the text and its terminator.
        EXPECT_EQ(value.valueLength, kStrings[i].second.size() + 1);
        EXPECT_TRUE(value.children.empty());
    }

    const Block& varInfo = root.children[1];
    ASSERT_EQ(Keys(varInfo), std::vector<std::wstring> { L"Translation" });
    EXPECT_EQ(varInfo.children[0].value, (std::vector<std::uint8_t> { 0x09, 0x04, 0xB0, 0x04 }));
}

TEST_P(VersionRecordTest, ReadsBackThroughTheVersionApi)
{
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(module_.path().c_str(), &ignored);
    ASSERT_NE(size, 0u) << "error " << GetLastError();
    std::vector<std::uint8_t> info(size);
    ASSERT_TRUE(GetFileVersionInfoW(module_.path().c_str(), 0, size, info.data()));

    void* data = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", &data, &length));
    ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(data);
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u); // 1.0
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00000000u); // .0.0
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00000000u);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation", &data, &length));
    ASSERT_EQ(length, 4u);
    const auto* translation = static_cast<const WORD*>(data);
    EXPECT_EQ(translation[0], 0x0409);
    EXPECT_EQ(translation[1], 1200);

    for (const auto& [name, expected] : kStrings) {
        const std::wstring query = L"\\StringFileInfo\\040904B0\\" + name;
        ASSERT_TRUE(VerQueryValueW(info.data(), query.c_str(), &data, &length)) << testing::PrintToString(name);
        EXPECT_EQ(std::wstring(static_cast<const wchar_t*>(data)), expected);
    }
}

INSTANTIATE_TEST_SUITE_P(Resources, VersionRecordTest, testing::Values(Source::OwnModule, Source::Program), SourceName);

} // namespace
} // namespace artwork_tests
