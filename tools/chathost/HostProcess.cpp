#include "HostProcess.h"

#include <algorithm>

namespace chathost {
namespace {

constexpr wchar_t kProgram[] = L"chathost.exe";
constexpr wchar_t kLogPrefix[] = L"chl";
constexpr DWORD kPollMs = 10;
constexpr DWORD kKillWaitMs = 5000;
constexpr UINT kKilledExitCode = 1;
constexpr UINT kUniqueName = 0;

std::wstring NewLogPath()
{
    wchar_t folder[MAX_PATH + 1] = {};
    wchar_t path[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH, folder);
    GetTempFileNameW(folder, kLogPrefix, kUniqueName, path);
    return path;
}

// Unsigned arithmetic keeps the difference right across the tick count's wrap.
bool Elapsed(DWORD start, DWORD timeoutMs)
{
    return GetTickCount() - start >= timeoutMs;
}

} // namespace

std::wstring ProgramFolder()
{
    std::wstring path(MAX_PATH, L'\0');
    DWORD length = 0;
    while ((length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()))) == path.size())
        path.resize(path.size() * 2);
    path.resize(length);
    return path.substr(0, path.find_last_of(L"\\/") + 1);
}

std::size_t CountEntries(const std::vector<LogEntry>& log, LogKind kind)
{
    return static_cast<std::size_t>(
        std::count_if(log.begin(), log.end(), [kind](const LogEntry& e) { return e.kind == kind; }));
}

HostProcess::HostProcess(std::wstring_view options)
    : logPath_(NewLogPath())
{
    // The job ends the host together with this process, should it end first.
    job_ = CreateJobObjectW(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(job_, JobObjectExtendedLimitInformation, &limits, sizeof limits);

    const std::wstring program = ProgramFolder() + kProgram;
    std::wstring commandLine = L"\"" + program + L"\" --log \"" + logPath_ + L"\" ";
    commandLine += options;

    STARTUPINFOW startup {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info {};
    if (CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
            &startup, &info)) {
        AssignProcessToJobObject(job_, info.hProcess);
        ResumeThread(info.hThread);
        CloseHandle(info.hThread);
        process_ = info.hProcess;
    }
}

HostProcess::~HostProcess()
{
    Kill();
    if (job_)
        CloseHandle(job_);
    DeleteFileW(logPath_.c_str());
}

bool HostProcess::WaitUntilReady(DWORD timeoutMs)
{
    return CountEntries(WaitForEntries(LogKind::Ready, 1, timeoutMs), LogKind::Ready) > 0;
}

std::vector<LogEntry> HostProcess::WaitForEntries(LogKind kind, std::size_t count, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        std::vector<LogEntry> log = Log();
        if (CountEntries(log, kind) >= count || !process_ || Elapsed(start, timeoutMs))
            return log;
        if (WaitForSingleObject(process_, kPollMs) == WAIT_OBJECT_0)
            return Log();
    }
}

void HostProcess::Kill()
{
    if (!process_)
        return;
    TerminateProcess(process_, kKilledExitCode);
    WaitForSingleObject(process_, kKillWaitMs);
    CloseHandle(process_);
    process_ = nullptr;
}

} // namespace chathost
