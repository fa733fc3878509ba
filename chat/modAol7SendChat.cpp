#include "modAol7SendChat.h"

#include "AnsiText.h"

#include <windows.h>

namespace {

// The client's window classes (the system compares class names without case).
constexpr char kFrameClass[] = "AOL Frame25";
constexpr char kMdiAreaClass[] = "MDIClient";
constexpr char kRoomClass[] = "AOL Child";
constexpr char kInputBoxClass[] = "RICHCNTL";
constexpr char kIconClass[] = "_AOL_Icon";

// The send button is the room's sixth icon: one search from the first child,
// then five more, each starting after the last one found.
constexpr int kFurtherIconSearches = 5;

constexpr UINT kSendFlags = SMTO_NORMAL | SMTO_ABORTIFHUNG;
constexpr WPARAM kNoButtons = 0;
constexpr LPARAM kAtOrigin = 0; // press at client point (0, 0)
constexpr WPARAM kSpaceBar = VK_SPACE;
constexpr LPARAM kNoKeyData = 0;
constexpr WPARAM kUnused = 0;

// Sends like SendMessageA, except that a client that does not answer within
// the timeout, or that the system already counts as hung, is given up on.
// The result is of no interest.
void Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, message, wParam, lParam, kSendFlags, kSendTimeoutMs, &result);
}

HWND FindChild(HWND parent, HWND after, const char* className)
{
    return FindWindowExA(parent, after, className, nullptr);
}

} // namespace

void SendChat(std::wstring_view line)
{
    const winutil::HeapText<char> text = AnsiCopy(line);

    HWND frame = FindWindowA(kFrameClass, nullptr);
    HWND mdiArea = FindChild(frame, nullptr, kMdiAreaClass);
    HWND room = FindChild(mdiArea, nullptr, kRoomClass);
    HWND inputBox = FindChild(room, nullptr, kInputBoxClass);
    Send(inputBox, WM_SETTEXT, kUnused, reinterpret_cast<LPARAM>(text.c_str()));

    // Past the last icon a search yields no window, and the search after that
    // starts again from the room's first child.
    HWND button = FindChild(room, nullptr, kIconClass);
    for (int i = 0; i < kFurtherIconSearches; ++i)
        button = FindChild(room, button, kIconClass);

    Send(button, WM_LBUTTONDOWN, kNoButtons, kAtOrigin);
    Send(button, WM_KEYUP, kSpaceBar, kNoKeyData);
}
