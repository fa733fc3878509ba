#include "ChatLog.h"

#include <charconv>
#include <cstdio>

namespace chathost {
namespace {

constexpr std::string_view kReady = "ready";
constexpr std::string_view kSent = "sent";
constexpr std::string_view kHung = "hung";
constexpr char kQuote = '"';
constexpr char kEscape = '\\';
constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kDelete = 0x7F;
constexpr std::size_t kNumberLength = 32;
constexpr std::size_t kHexDigits = 2;
constexpr int kHexBase = 16;
constexpr std::size_t kReadChunk = 4096;

std::string ToUtf8(std::wstring_view text)
{
    if (text.empty())
        return {};
    const int size
        = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
    return bytes;
}

std::wstring FromUtf8(std::string_view bytes)
{
    if (bytes.empty())
        return {};
    const int size = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), size);
    return text;
}

std::string Escape(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (c == kEscape) {
            out += "\\\\";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (u < kFirstPrintable || u == kDelete) {
            char hex[kNumberLength];
            std::snprintf(hex, sizeof hex, "\\x%02X", u);
            out += hex;
        } else {
            out += c;
        }
    }
    return out;
}

std::optional<std::string> Unescape(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != kEscape) {
            out += text[i];
            continue;
        }
        if (++i == text.size())
            return std::nullopt;
        switch (text[i]) {
        case '\\':
            out += kEscape;
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case 't':
            out += '\t';
            break;
        case 'x': {
            unsigned value = 0;
            const char* first = text.data() + i + 1;
            if (text.size() - i - 1 < kHexDigits)
                return std::nullopt;
            const auto [end, error] = std::from_chars(first, first + kHexDigits, value, kHexBase);
            if (error != std::errc {} || end != first + kHexDigits)
                return std::nullopt;
            out += static_cast<char>(value);
            i += kHexDigits;
            break;
        }
        default:
            return std::nullopt;
        }
    }
    return out;
}

std::optional<double> ParseSeconds(std::string_view text)
{
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc {} || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

} // namespace

double MonotonicSeconds()
{
    LARGE_INTEGER frequency;
    LARGE_INTEGER now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::string FormatLogLine(const LogEntry& entry)
{
    if (entry.kind == LogKind::Ready)
        return std::string(kReady);
    char seconds[kNumberLength];
    std::snprintf(seconds, sizeof seconds, "%.3f", entry.seconds);
    std::string line(entry.kind == LogKind::Sent ? kSent : kHung);
    line += ' ';
    line += seconds;
    if (entry.kind == LogKind::Sent) {
        line += ' ';
        line += kQuote;
        line += Escape(ToUtf8(entry.text));
        line += kQuote;
    }
    return line;
}

std::optional<LogEntry> ParseLogLine(std::string_view line)
{
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    if (line == kReady)
        return LogEntry { LogKind::Ready, 0, {} };

    const std::size_t space = line.find(' ');
    if (space == std::string_view::npos)
        return std::nullopt;
    const std::string_view kind = line.substr(0, space);
    const std::string_view rest = line.substr(space + 1);
    if (kind == kHung) {
        const auto seconds = ParseSeconds(rest);
        if (!seconds)
            return std::nullopt;
        return LogEntry { LogKind::Hung, *seconds, {} };
    }
    if (kind != kSent)
        return std::nullopt;

    const std::size_t open = rest.find(kQuote);
    const std::size_t close = rest.rfind(kQuote);
    if (open == std::string_view::npos || open == 0 || close == open || rest[open - 1] != ' ')
        return std::nullopt;
    const auto seconds = ParseSeconds(rest.substr(0, open - 1));
    const auto text = Unescape(rest.substr(open + 1, close - open - 1));
    if (!seconds || !text || close != rest.size() - 1)
        return std::nullopt;
    return LogEntry { LogKind::Sent, *seconds, FromUtf8(*text) };
}

std::vector<LogEntry> ReadLog(const std::wstring& path)
{
    std::vector<LogEntry> entries;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return entries;
    std::string contents;
    char buffer[kReadChunk];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        contents.append(buffer, got);
    CloseHandle(file);

    std::size_t start = 0;
    for (std::size_t end; (end = contents.find('\n', start)) != std::string::npos; start = end + 1) {
        if (auto entry = ParseLogLine(std::string_view(contents).substr(start, end - start)))
            entries.push_back(std::move(*entry));
    }
    return entries;
}

LogWriter::LogWriter(const std::wstring& path)
    : file_(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr))
{
}

LogWriter::~LogWriter()
{
    if (IsOpen())
        CloseHandle(file_);
}

void LogWriter::Write(const LogEntry& entry)
{
    if (!IsOpen())
        return;
    const std::string line = FormatLogLine(entry) + '\n';
    DWORD written = 0;
    WriteFile(file_, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

} // namespace chathost
