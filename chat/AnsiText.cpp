#include "AnsiText.h"

#include <algorithm>
#include <limits>

namespace {

// Without this flag the system maps a missing character to a look-alike
// ("a" for "ā"); with it the character becomes the code page's default one.
constexpr DWORD kDefaultCharForMissing = WC_NO_BEST_FIT_CHARS;
// Code pages that take no conversion flags (UTF-8 as the ANSI code page, UTF-7
// and a few others) refuse the one above; every character fits them anyway.
constexpr DWORD kNoFlags = 0;

int Convert(UINT codePage, DWORD flags, std::wstring_view text, char* out, int outSize)
{
    return WideCharToMultiByte(
        codePage, flags, text.data(), static_cast<int>(text.size()), out, outSize, nullptr, nullptr);
}

} // namespace

winutil::HeapText<char> AnsiCopy(std::wstring_view line, UINT codePage)
{
    // The conversion takes an int length; a longer line is cut at that bound.
    const std::size_t length
        = std::min({ line.find(L'\0'), line.size(), static_cast<std::size_t>(std::numeric_limits<int>::max()) });
    line = std::wstring_view(line.data(), length);
    if (line.empty())
        return {};

    DWORD flags = kDefaultCharForMissing;
    int size = Convert(codePage, flags, line, nullptr, 0);
    if (size == 0 && GetLastError() == ERROR_INVALID_FLAGS) {
        flags = kNoFlags;
        size = Convert(codePage, flags, line, nullptr, 0);
    }
    if (size <= 0)
        return {};

    winutil::HeapText<char> copy(static_cast<std::size_t>(size));
    if (!copy.data())
        return copy;
    const int written = Convert(codePage, flags, line, copy.data(), size);
    copy.Truncate(static_cast<std::size_t>(written > 0 ? written : 0));
    return copy;
}
