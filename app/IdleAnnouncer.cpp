// Idling on and off, and the announcements it makes in the chat room.
#include "Form1.h"

#include "vexo32.h"

namespace {

constexpr wchar_t kBanner[] = L"Kestavine Idle 1.0";
constexpr wchar_t kReasonPrefix[] = L"Idleing Reason: ";
constexpr wchar_t kEnabled[] = L"Enabled";
constexpr wchar_t kNotEnabled[] = L"Not Enabled";

} // namespace

void Form1::OnImage2Click()
{
    SetLabel1Caption(kEnabled);
    SetTimer1Enabled(true);
    sendChat_(kBanner);
}

void Form1::OnImage3Click()
{
    SetLabel1Caption(kNotEnabled);
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
        sendChat_(kReasonPrefix + Text1Text());
    ticking_ = false;
}
