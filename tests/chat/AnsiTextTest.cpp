// The ANSI copy of a line in code pages other than the system's own.
#include "AnsiText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Copy(std::wstring_view line, UINT codePage)
{
    return std::string(AnsiCopy(line, codePage).view());
}

TEST(AnsiCopy, LongDoubleByteLineConvertsWhole)
{
    // Two bytes a character in code page 932: a copy sized by the character
    // count would be cut in half.
    const std::wstring kana(40000, L'\u3042');
    const std::string copy = Copy(kana + L"!", 932);
    ASSERT_EQ(copy.size(), 80001u);
    EXPECT_EQ(copy.substr(0, 2), "\x82\xa0");
    EXPECT_EQ(copy.back(), '!');
}

TEST(AnsiCopy, CodePagesThatTakeNoFlagsStillConvert)
{
    // UTF-8 may be the system's ANSI code page; it refuses the no-best-fit flag.
    EXPECT_EQ(Copy(L"caf\u00e9 \u3042", CP_UTF8), "caf\xc3\xa9 \xe3\x81\x82");
}

TEST(AnsiCopy, ReadsNoFurtherThanTheLineItIsGiven)
{
    // A view into a longer string: only the viewed part, no read past its end.
    const std::wstring whole = L"Idle reason";
    EXPECT_EQ(Copy(std::wstring_view(whole).substr(0, 4), 1252), "Idle");
    EXPECT_EQ(Copy(std::wstring(L"before\0after", 12), 1252), "before");
}

} // namespace
