#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The windows of the stand-in chat host, built the same way by the chathost
// program and by tests that want them in their own process: a top-level frame
// of class "AOL Frame25" holding a system MDI area ("MDIClient") whose MDI
// children are of class "AOL Child". A chat room holds an input box (the
// system RichEdit under the class name "RICHCNTL"), a read-only transcript
// (a second "RICHCNTL", created after the input box) and a row of system
// push buttons under the class name "_AOL_Icon". Clicking the room's sixth
// icon sends the input box's text: the room adds it to the transcript with the
// time of day, clears the input box and reports the line.
namespace chathost {

inline constexpr int kDefaultIconCount = 8;
inline constexpr int kSendIcon = 6; // counted from 1, in child order

struct HostConfig {
    int iconCount = kDefaultIconCount; // icons of the room and of the decoy
    // A window of class "AOL Child" that is not a chat room, on top of the
    // room (first in the MDI area's child order), with its own input box and
    // icons; clicking its icons sends nothing.
    bool decoy = false;
    bool show = true;
};

// What happens in the host's windows, for the program's log and for tests.
// Every member may be left empty.
struct HostEvents {
    // An input box or an icon is about to handle a message.
    std::function<void(HWND child, UINT message, WPARAM wParam, LPARAM lParam)> childMessage;
    // The room sent the text its input box held.
    std::function<void(std::wstring_view line)> lineSent;
    // The frame window was destroyed.
    std::function<void()> closed;
};

// The windows of one "AOL Child" window; all null when it was not built.
struct ChildWindows {
    HWND window = nullptr;
    HWND inputBox = nullptr;
    HWND transcript = nullptr; // the room's only
    std::vector<HWND> icons;
};

class ChildWindow;

class ChatHost {
public:
    // Builds the windows on the calling thread, which must then handle their
    // messages. Throws std::runtime_error when they cannot be made.
    explicit ChatHost(const HostConfig& config, HostEvents events = {});
    ~ChatHost();
    ChatHost(const ChatHost&) = delete;
    ChatHost& operator=(const ChatHost&) = delete;

    HWND Frame() const { return frame_; }
    HWND MdiArea() const { return mdiArea_; }
    ChildWindows Room() const;
    ChildWindows Decoy() const;

private:
    static LRESULT CALLBACK FrameProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT OnFrameMessage(HWND, UINT, WPARAM, LPARAM);
    void OnFrameCreate(HWND frame);

    HostEvents events_;
    HWND frame_ = nullptr;
    HWND mdiArea_ = nullptr;
    std::unique_ptr<ChildWindow> room_;
    std::unique_ptr<ChildWindow> decoy_;
};

// The text a window holds, read in this process.
std::wstring WindowText(HWND window);

} // namespace chathost
