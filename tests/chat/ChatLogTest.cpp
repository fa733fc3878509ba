// The stand-in host's log: one line an event, the text exactly as sent, read
// by other processes while it is being written.
#include "ChatLog.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using chathost::LogEntry;
using chathost::LogKind;

TEST(ChatLog, SentTextComesBackExactlyAndDamagedLinesAreNoEvents)
{
    const std::wstring texts[] = { L"", L"  Kestavine Idle 1.0  ", L"say \"hi\"\"", L"back\\slash \\n",
        L"two\nlines\r\tand \x01 \x7f", L"caf\u00e9 \u3042 \U0001F600" };
    for (const std::wstring& text : texts) {
        const std::string line = chathost::FormatLogLine({ LogKind::Sent, 8123.4567, text });
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << line;
        const auto entry = chathost::ParseLogLine(line);
        ASSERT_TRUE(entry) << line;
        EXPECT_EQ(entry->kind, LogKind::Sent);
        EXPECT_TRUE(entry->text == text) << line;
        EXPECT_NEAR(entry->seconds, 8123.457, 1e-9);
    }
    for (const char* damaged : { "sent 1.0 \"open", "sent x \"a\"", "sent 1.0 \"a\" tail", "sent 1.0 \"bad \\q\"" })
        EXPECT_FALSE(chathost::ParseLogLine(damaged)) << damaged;
}

TEST(ChatLog, ReadsTheCompleteLinesOfAFileBeingWritten)
{
    wchar_t folder[MAX_PATH + 1] = {};
    wchar_t path[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH, folder);
    GetTempFileNameW(folder, L"chl", 0, path);
    {
        chathost::LogWriter writer(path);
        ASSERT_TRUE(writer.IsOpen());
        writer.Write({ LogKind::Ready, 0, {} });
        writer.Write({ LogKind::Sent, 10.0, L"first" });
        // Another process reads while the file is still open.
        const auto log = chathost::ReadLog(path);
        ASSERT_EQ(log.size(), 2u);
        EXPECT_EQ(log[1].text, L"first");
    }
    HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, "sent 11.000 \"half", 17, &written, nullptr);
    CloseHandle(file);
    EXPECT_EQ(chathost::ReadLog(path).size(), 2u) << "a line not yet ended is no event";
    DeleteFileW(path);
}

} // namespace
