#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The stand-in chat host's log: UTF-8, one event a line, each line written
// (and so visible to other processes) as the event happens.
//
//   ready                       the windows exist; look for them now
//   sent 8123.457 "the line"    the room sent a line
//   hung 8125.002               the host stopped answering messages
//
// Times are seconds of the system's monotonic clock (the same in every
// process) with millisecond precision. The sent text stands between the first
// and the last quote of the line, exactly as sent, leading and trailing blanks
// and quotes included; only a backslash and control characters are escaped
// (\\, \n, \r, \t, \xHH), so a line of the log is always one event.
namespace chathost {

enum class LogKind { Ready, Sent, Hung };

struct LogEntry {
    LogKind kind = LogKind::Ready;
    double seconds = 0;
    std::wstring text; // sent lines only
};

// Seconds of the monotonic clock that the log's time stamps use.
double MonotonicSeconds();

// One line of the log, without its line end.
std::string FormatLogLine(const LogEntry& entry);
std::optional<LogEntry> ParseLogLine(std::string_view line);

// The entries of a log file so far; a last line not yet complete is left out.
std::vector<LogEntry> ReadLog(const std::wstring& path);

// Appends events to a new log file, each with one unbuffered write.
class LogWriter {
public:
    explicit LogWriter(const std::wstring& path);
    ~LogWriter();
    LogWriter(const LogWriter&) = delete;
    LogWriter& operator=(const LogWriter&) = delete;

    bool IsOpen() const { return file_ != INVALID_HANDLE_VALUE; }
    void Write(const LogEntry& entry);

private:
    HANDLE file_ = INVALID_HANDLE_VALUE;
};

} // namespace chathost
