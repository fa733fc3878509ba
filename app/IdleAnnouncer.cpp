// Idling on and off, and the announcements it makes in the chat room.
#include "Form1.h"

#include "vexo32.h"

#include <algorithm>

namespace {

constexpr wchar_t kBanner[] = L"Kestavine Idle 1.0";
constexpr std::wstring_view kReasonPrefix = L"Idleing Reason: ";

} // namespace

void Form1::OnImage2Click()
{
    SetLabel1Caption(design::kEnabled);
    SetTimer1Enabled(true);
    sendChat_(kBanner);
}

void Form1::OnImage3Click()
{
    SetLabel1Caption(design::kNotEnabled);
    SetTimer1Enabled(false);
}

void Form1::OnTimer1Tick()
{
    // A tick that falls due while one is still running (a host slow to take
    // its messages, a period shorter than the wait) is dropped: ticks nested
    // inside each other's waits would never unwind.
    if (ticking_)
        return;
    ticking_ = true;
    sendChat_(kBanner);
    // The window stays live meanwhile: a STOP click here still lets this
    // tick's reason line go out.
    WaitSeconds(options_.reasonDelaySeconds);
    // Closed during the wait: the program is ending, and the window is gone.
    if (!Unloaded())
        sendChat_(ReasonLine().view());
    ticking_ = false;
}

// The prefix and the reason box's text as it stands, untrimmed and unchecked.
// Empty only when the heap has no room for the line.
winutil::HeapText<wchar_t> Form1::ReasonLine() const
{
    const int length = GetWindowTextLengthW(text1_);
    winutil::HeapText<wchar_t> line(kReasonPrefix.size() + static_cast<std::size_t>(length));
    if (!line.data())
        return line;
    wchar_t* reason = std::copy(kReasonPrefix.begin(), kReasonPrefix.end(), line.data());
    line.Truncate(kReasonPrefix.size() + static_cast<std::size_t>(GetWindowTextW(text1_, reason, length + 1)));
    return line;
}
