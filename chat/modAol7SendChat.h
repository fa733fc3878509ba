#pragma once

#include <string_view>

// Puts one line into the chat room open in the host client and presses the
// room's send button, as if the user had typed the line and clicked "Send".
// The client's windows are found by class on every call: its main window, the
// MDI area, the first "AOL Child" window there (taken as the room), that
// room's first "RICHCNTL" (the input box) and its sixth "_AOL_Icon" child.
// The input box gets the line as ANSI text (see AnsiCopy: the line ends at a
// NUL, a character outside the code page becomes its default character), then
// the button gets a mouse press and a space-bar release.
//
// No window is checked: a window that is not there yields no handle and the
// walk goes on, so with no client running nothing happens. Each message waits
// for the client at most kSendTimeoutMs, and not at all once the system counts
// the client's thread as hung, so a hung client costs this thread about that
// long once and never stalls it.
void SendChat(std::wstring_view line);

// Longest wait for the client to handle one message. The system counts a
// thread as hung after it has fetched no message for 5 s; waiting a little
// longer than that makes the first blocked message the only one that waits
// (the next ones find the client hung and return at once: with exactly 5 s the
// two clocks race, and a second message could wait its full time too), and a
// client that is merely busy for less than that still gets every message.
inline constexpr unsigned kSendTimeoutMs = 5500;
