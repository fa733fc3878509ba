// The stand-in host's log: one line an event, the text exactly as sent.
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

} // namespace
