// SendChat against the stand-in host's real windows, built in this process.
#include "ChatHostWindows.h"
#include "modAol7SendChat.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using chathost::ChatHost;
using chathost::HostConfig;

// One message of those SendChat sends, as an input box or icon got it.
struct Arrival {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    std::wstring text; // WM_SETTEXT only

    bool operator==(const Arrival&) const = default;
    static Arrival Text(HWND box, std::wstring text) { return { box, WM_SETTEXT, 0, 0, std::move(text) }; }
    static Arrival Press(HWND icon) { return { icon, WM_LBUTTONDOWN, 0, 0, {} }; }
    static Arrival Release(HWND icon) { return { icon, WM_KEYUP, VK_SPACE, 0, {} }; }
};

// A host in this process that records what reaches its windows.
struct RecordingHost {
    explicit RecordingHost(HostConfig config)
        : host(config,
            { .childMessage =
                    [this](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
                        if (message == WM_SETTEXT)
                            arrivals.push_back(Arrival::Text(window, reinterpret_cast<const wchar_t*>(lParam)));
                        else if (message == WM_LBUTTONDOWN || message == WM_KEYUP)
                            arrivals.push_back({ window, message, wParam, lParam, {} });
                    },
                .lineSent = [this](std::wstring_view line) { sent.emplace_back(line); },
                .closed = {} })
    {
    }

    std::vector<Arrival> arrivals;
    std::vector<std::wstring> sent;
    ChatHost host;
};

TEST(SendChatInProcess, PressesTheIconTheSearchesEndOn)
{
    // With fewer than six icons the search after the last one yields none and
    // the next starts again from the first: 3 icons end on the second, 4 on
    // the first, 0, 1, 2 and 5 on none.
    const int expectedIcon[] = { 0, 0, 0, 2, 1, 0, 6, 6, 6 };
    for (int icons = 0; icons <= 8; ++icons) {
        SCOPED_TRACE(icons);
        RecordingHost recorder({ .iconCount = icons });
        const chathost::ChildWindows room = recorder.host.Room();
        ASSERT_EQ(room.icons.size(), static_cast<std::size_t>(icons));

        SendChat(L"Kestavine Idle 1.0");

        const int icon = expectedIcon[icons];
        std::vector<Arrival> expected { Arrival::Text(room.inputBox, L"Kestavine Idle 1.0") };
        if (icon != 0) {
            expected.push_back(Arrival::Press(room.icons[icon - 1]));
            expected.push_back(Arrival::Release(room.icons[icon - 1]));
        }
        if (icon == chathost::kSendIcon)
            expected.push_back(Arrival::Text(room.inputBox, L"")); // the room clears its input box
        EXPECT_EQ(recorder.sent.size(), icon == chathost::kSendIcon ? 1u : 0u);
        EXPECT_EQ(recorder.arrivals, expected);
    }
}

TEST(SendChatInProcess, WritesIntoTheFirstChildEvenWhenItIsNoChatRoom)
{
    RecordingHost recorder({ .decoy = true });
    const chathost::ChildWindows decoy = recorder.host.Decoy();
    const chathost::ChildWindows room = recorder.host.Room();

    SendChat(L"Idleing Reason: lunch");

    const std::vector<Arrival> expected { Arrival::Text(decoy.inputBox, L"Idleing Reason: lunch"),
        Arrival::Press(decoy.icons[5]), Arrival::Release(decoy.icons[5]) };
    EXPECT_EQ(recorder.arrivals, expected);
    EXPECT_TRUE(recorder.sent.empty());
}

TEST(SendChatInProcess, TextArrivesAsTheAnsiCodePageCarriesIt)
{
    RecordingHost recorder({ .iconCount = 8 });
    const chathost::ChildWindows room = recorder.host.Room();
    // Under code page 1252: "é" and "€" are in it, "ā" (no best-fit "a")
    // and the kana are not; a line ends at its first NUL; an empty line
    // clears what the box held and is sent.
    ASSERT_EQ(GetACP(), 1252u);
    SendChat(std::wstring(L"  caf\u00e9 \u20ac5 \u0101\u3042  \0after", 20));
    SetWindowTextW(room.inputBox, L"half-typed draft");
    SendChat(L"");

    EXPECT_EQ(recorder.sent, (std::vector<std::wstring> { L"  caf\u00e9 \u20ac5 ??  ", L"" }));
}

} // namespace
