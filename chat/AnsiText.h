#pragma once

#include "HeapText.h"

#include <windows.h>

#include <string_view>

// The copy of a line that goes to another program's window as ANSI text: the
// line in the given code page (the system's ANSI code page by default), sized
// by the conversion itself, so a line of any length converts whole in a
// double-byte code page as well. A character the code page cannot show becomes
// its default character (no "best fit" look-alike). The line ends at its first
// NUL: a zero-terminated string cannot carry the rest, so it is not sent.
winutil::HeapText<char> AnsiCopy(std::wstring_view line, UINT codePage = CP_ACP);
