// The ANSI copy of a line: sized by the conversion, in any code page.
#include "AnsiText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr UINT kWesternEurope = 1252;
constexpr UINT kJapanese = 932; // double-byte
constexpr UINT kUtf8 = CP_UTF8;

char DefaultChar(UINT codePage)
{
    CPINFO info {};
    GetCPInfo(codePage, &info);
    return static_cast<char>(info.DefaultChar[0]);
}

std::string Copy(std::wstring_view line, UINT codePage)
{
    return std::string(AnsiCopy(line, codePage).view());
}

std::wstring Back(const std::string& bytes, UINT codePage)
{
    std::wstring text(bytes.size(), L'\0');
    text.resize(static_cast<std::size_t>(MultiByteToWideChar(
        codePage, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), static_cast<int>(text.size()))));
    return text;
}

TEST(AnsiCopy, LongDoubleByteLineConvertsWhole)
{
    // Two bytes a character: a buffer sized by the character count overflows.
    const std::wstring kana(40000, L'\u3042');
    const std::string copy = Copy(kana + L"!", kJapanese);
    EXPECT_EQ(copy.size(), 80001u);
    EXPECT_EQ(Back(copy, kJapanese), kana + L"!");
}

TEST(AnsiCopy, MissingCharactersBecomeTheDefaultCharacter)
{
    // No best-fit look-alikes: "ā" is not sent as "a".
    EXPECT_EQ(Copy(L"\u0101 caf\u00e9 \u3042", kWesternEurope),
        std::string(1, DefaultChar(kWesternEurope)) + " caf\xe9 " + DefaultChar(kWesternEurope));
    EXPECT_EQ(Copy(L"\u0101\u3042", kJapanese), std::string(1, DefaultChar(kJapanese)) + "\x82\xa0");
}

TEST(AnsiCopy, CodePagesThatTakeNoFlagsStillConvert)
{
    // UTF-8 may be the system's ANSI code page; it refuses the no-best-fit flag.
    EXPECT_EQ(Copy(L"caf\u00e9 \u3042", kUtf8), "caf\xc3\xa9 \xe3\x81\x82");
}

TEST(AnsiCopy, LineEndsAtItsFirstNul)
{
    EXPECT_EQ(Copy(std::wstring(L"before\0after", 12), kWesternEurope), "before");
    EXPECT_EQ(Copy(std::wstring(L"\0after", 6), kWesternEurope), "");
    EXPECT_EQ(Copy(L"", kWesternEurope), "");
    // A view into a longer string: only the viewed part, no read past its end.
    const std::wstring whole = L"Idle reason";
    EXPECT_EQ(Copy(std::wstring_view(whole).substr(0, 4), kWesternEurope), "Idle");
}

} // namespace
