#include "AnsiText.h"

#include <limits>

namespace {

// Without this flag the system maps a missing character to a look-alike
// ("a" for "ā"); with it the character becomes the code page's default one.
constexpr DWORD kDefaultCharForMissing = WC_NO_BEST_FIT_CHARS;
// Code pages that take no conversion flags (UTF-8 as the ANSI code page, UTF-7
// and a few others) refuse the one above; every character fits them anyway.
constexpr DWORD kNoFlags = 0;

int ConvertedSize(UINT codePage, DWORD flags, std::wstring_view text)
{
    return WideCharToMultiByte(
        codePage, flags, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
}

} // namespace

std::string AnsiCopy(std::wstring_view line, UINT codePage)
{
    line = line.substr(0, line.find(L'\0'));
    // The conversion takes an int length; a longer line is cut at that bound.
    line = line.substr(0, static_cast<std::size_t>(std::numeric_limits<int>::max()));
    if (line.empty())
        return {};

    DWORD flags = kDefaultCharForMissing;
    int size = ConvertedSize(codePage, flags, line);
    if (size == 0 && GetLastError() == ERROR_INVALID_FLAGS) {
        flags = kNoFlags;
        size = ConvertedSize(codePage, flags, line);
    }
    if (size <= 0)
        return {};

    std::string copy(static_cast<std::size_t>(size), '\0');
    const int written = WideCharToMultiByte(
        codePage, flags, line.data(), static_cast<int>(line.size()), copy.data(), size, nullptr, nullptr);
    copy.resize(static_cast<std::size_t>(written > 0 ? written : 0));
    return copy;
}
