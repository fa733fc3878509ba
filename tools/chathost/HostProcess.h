#pragma once

#include "ChatLog.h"

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

// The stand-in chat host run as a program of its own, for tests and
// benchmarks in another process: started from chathost.exe in the folder of
// the running program with a log file of its own, and ended (killed, if need
// be) when the object goes, or when the starting process ends.
namespace chathost {

inline constexpr DWORD kReadyTimeoutMs = 15000;

class HostProcess {
public:
    // Options as the program takes them, e.g. L"--hang-after 1".
    explicit HostProcess(std::wstring_view options = {});
    ~HostProcess();
    HostProcess(const HostProcess&) = delete;
    HostProcess& operator=(const HostProcess&) = delete;

    bool Started() const { return process_ != nullptr; }
    // Waits for the host's "ready" line; false if it ended or took too long.
    bool WaitUntilReady(DWORD timeoutMs = kReadyTimeoutMs);
    // Waits until the log holds at least `count` entries of the kind; returns
    // the whole log as it then stands (fewer entries after the timeout).
    std::vector<LogEntry> WaitForEntries(LogKind kind, std::size_t count, DWORD timeoutMs);
    std::vector<LogEntry> Log() const { return ReadLog(logPath_); }
    const std::wstring& LogPath() const { return logPath_; }
    // Ends the host at once, whatever it is doing.
    void Kill();

private:
    std::wstring logPath_;
    HANDLE job_ = nullptr;
    HANDLE process_ = nullptr;
};

// The folder that holds the running program, with a trailing backslash.
std::wstring ProgramFolder();

// How many entries of the kind the log holds.
std::size_t CountEntries(const std::vector<LogEntry>& log, LogKind kind);

} // namespace chathost
