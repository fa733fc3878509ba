#include "ChatHostWindows.h"

#include <richedit.h>

#include <algorithm>
#include <cwchar>
#include <iterator>
#include <stdexcept>

namespace chathost {
namespace {

constexpr wchar_t kFrameClass[] = L"AOL Frame25";
constexpr wchar_t kMdiAreaClass[] = L"MDIClient";
constexpr wchar_t kChildClass[] = L"AOL Child";
constexpr wchar_t kInputBoxClass[] = L"RICHCNTL";
constexpr wchar_t kIconClass[] = L"_AOL_Icon";
constexpr wchar_t kRichEditLibrary[] = L"msftedit.dll";
constexpr wchar_t kRichEditBaseClass[] = MSFTEDIT_CLASS;
constexpr wchar_t kButtonBaseClass[] = L"BUTTON";

constexpr wchar_t kFrameTitle[] = L"Chat host (stand-in)";
constexpr wchar_t kRoomTitle[] = L"Lobby 12";
constexpr wchar_t kDecoyTitle[] = L"Keyword";

// Placed beside Kestavine Idle's window (x 0..300, y 126..226), not over it.
constexpr int kFrameX = 320;
constexpr int kFrameY = 40;
constexpr int kFrameWidth = 480;
constexpr int kFrameHeight = 360;
constexpr int kRoomInset = 4;
constexpr int kDecoyOffsetX = 48;
constexpr int kDecoyOffsetY = 36;
constexpr int kDecoyWidth = 320;
constexpr int kDecoyHeight = 150;

constexpr int kMargin = 6;
constexpr int kGap = 4;
constexpr int kIconHeight = 24;
constexpr int kIconWidest = 52;
constexpr int kInputHeight = 44;

constexpr UINT kMdiAreaId = 1;
constexpr UINT kFirstMdiChildId = 100;
constexpr int kInputBoxId = 10;
constexpr int kTranscriptId = 11;
constexpr int kFirstIconId = 20;

// Far above the rich edit's default of 32767 characters.
constexpr LPARAM kTextLimit = 1 << 24;
constexpr std::size_t kStampLength = 16;

// Labels of the icons in their order; the sixth sends.
constexpr const wchar_t* kIconLabels[]
    = { L"Notify", L"People", L"Find", L"Style", L"Smile", L"Send", L"Room", L"Help" };
static_assert(std::size(kIconLabels) >= kSendIcon && std::wstring_view(kIconLabels[kSendIcon - 1]) == L"Send");

HINSTANCE Instance()
{
    return GetModuleHandleW(nullptr);
}

// The window procedures the superclassed controls pass their messages on to.
struct BaseProcedures {
    WNDPROC inputBox = nullptr;
    WNDPROC icon = nullptr;
};

const BaseProcedures& RegisterClassesOnce();

} // namespace

enum class ChildKind { Room, Decoy };

// One "AOL Child" window: a chat room or the decoy, with its controls.
class ChildWindow {
public:
    ChildWindow(ChildKind kind, int iconCount, const HostEvents& events)
        : kind_(kind)
        , iconCount_(std::max(iconCount, 0))
        , events_(events)
    {
    }

    HWND Create(HWND mdiArea, RECT bounds);
    const ChildWindows& Windows() const { return windows_; }

    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
    static void ObserveControl(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void OnCreate(HWND window);
    void OnSize(int width, int height);
    void OnCommand(int id, int code);
    void SendInput();
    void AppendToTranscript(std::wstring_view line);

    ChildKind kind_;
    int iconCount_;
    const HostEvents& events_;
    ChildWindows windows_;
};

namespace {

LRESULT CALLBACK InputBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    ChildWindow::ObserveControl(window, message, wParam, lParam);
    return CallWindowProcW(RegisterClassesOnce().inputBox, window, message, wParam, lParam);
}

LRESULT CALLBACK IconProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    ChildWindow::ObserveControl(window, message, wParam, lParam);
    return CallWindowProcW(RegisterClassesOnce().icon, window, message, wParam, lParam);
}

// Registers a system control class again under another name, keeping its
// behaviour; returns the control's own window procedure.
WNDPROC RegisterSuperclass(const wchar_t* baseClass, const wchar_t* newClass, WNDPROC procedure)
{
    WNDCLASSEXW wc {};
    wc.cbSize = sizeof(wc);
    if (!GetClassInfoExW(nullptr, baseClass, &wc))
        throw std::runtime_error("system control class missing");
    const WNDPROC base = wc.lpfnWndProc;
    wc.lpfnWndProc = procedure;
    wc.hInstance = Instance();
    wc.lpszClassName = newClass;
    wc.style &= ~CS_GLOBALCLASS;
    if (!RegisterClassExW(&wc))
        throw std::runtime_error("cannot register a control class");
    return base;
}

void RegisterWindowClass(const wchar_t* name, WNDPROC procedure, int background)
{
    WNDCLASSEXW wc {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = procedure;
    wc.hInstance = Instance();
    wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(background);
    wc.lpszClassName = name;
    if (!RegisterClassExW(&wc))
        throw std::runtime_error("cannot register a window class");
}

const BaseProcedures& RegisterClassesOnce()
{
    static const BaseProcedures procedures = [] {
        if (!LoadLibraryW(kRichEditLibrary))
            throw std::runtime_error("the system rich edit control is missing");
        BaseProcedures p;
        p.inputBox = RegisterSuperclass(kRichEditBaseClass, kInputBoxClass, InputBoxProc);
        p.icon = RegisterSuperclass(kButtonBaseClass, kIconClass, IconProc);
        return p;
    }();
    return procedures;
}

void SetFont(HWND window)
{
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
}

HWND CreateControl(const wchar_t* className, const wchar_t* text, DWORD style, DWORD exStyle, HWND parent, int id)
{
    HWND control = CreateWindowExW(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Instance(), nullptr);
    if (!control)
        throw std::runtime_error("cannot create a control");
    SetFont(control);
    return control;
}

std::wstring IconLabel(int icon)
{
    if (icon <= static_cast<int>(std::size(kIconLabels)))
        return kIconLabels[icon - 1];
    return std::to_wstring(icon);
}

} // namespace

std::wstring WindowText(HWND window)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// ---- ChildWindow ----

HWND ChildWindow::Create(HWND mdiArea, RECT bounds)
{
    MDICREATESTRUCTW mcs {};
    mcs.szClass = kChildClass;
    mcs.szTitle = kind_ == ChildKind::Room ? kRoomTitle : kDecoyTitle;
    mcs.hOwner = Instance();
    mcs.x = bounds.left;
    mcs.y = bounds.top;
    mcs.cx = bounds.right - bounds.left;
    mcs.cy = bounds.bottom - bounds.top;
    mcs.lParam = reinterpret_cast<LPARAM>(this);
    HWND window = reinterpret_cast<HWND>(SendMessageW(mdiArea, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
    if (!window)
        throw std::runtime_error("cannot create an MDI child window");
    return window;
}

LRESULT CALLBACK ChildWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        const auto* mcs = static_cast<const MDICREATESTRUCTW*>(cs->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, mcs->lParam);
    }
    auto* self = reinterpret_cast<ChildWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self) {
        switch (message) {
        case WM_CREATE:
            self->OnCreate(window);
            break;
        case WM_SIZE:
            self->OnSize(LOWORD(lParam), HIWORD(lParam));
            break; // the MDI default handling needs it too
        case WM_COMMAND:
            if (lParam) {
                self->OnCommand(LOWORD(wParam), HIWORD(wParam));
                return 0;
            }
            break;
        case WM_NCDESTROY:
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            self->windows_ = {};
            break;
        default:
            break;
        }
    }
    return DefMDIChildProcW(window, message, wParam, lParam);
}

void ChildWindow::ObserveControl(HWND control, UINT message, WPARAM wParam, LPARAM lParam)
{
    // The controls' parent is an "AOL Child" window, bound to its object.
    const auto* owner = reinterpret_cast<const ChildWindow*>(GetWindowLongPtrW(GetParent(control), GWLP_USERDATA));
    if (owner && owner->events_.childMessage)
        owner->events_.childMessage(control, message, wParam, lParam);
}

void ChildWindow::OnCreate(HWND window)
{
    windows_.window = window;
    // The input box is the first "RICHCNTL" child, the transcript the second.
    windows_.inputBox = CreateControl(
        kInputBoxClass, L"", ES_MULTILINE | ES_AUTOVSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, window, kInputBoxId);
    SendMessageW(windows_.inputBox, EM_EXLIMITTEXT, 0, kTextLimit);
    if (kind_ == ChildKind::Room) {
        windows_.transcript = CreateControl(kInputBoxClass, L"",
            ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY | WS_VSCROLL, WS_EX_CLIENTEDGE, window, kTranscriptId);
        SendMessageW(windows_.transcript, EM_EXLIMITTEXT, 0, kTextLimit);
    }
    for (int icon = 1; icon <= iconCount_; ++icon) {
        windows_.icons.push_back(CreateControl(
            kIconClass, IconLabel(icon).c_str(), BS_PUSHBUTTON | WS_TABSTOP, 0, window, kFirstIconId + icon - 1));
    }
}

void ChildWindow::OnSize(int width, int height)
{
    const int inner = width - 2 * kMargin;
    const int count = static_cast<int>(windows_.icons.size());
    const int iconWidth = count == 0 ? 0 : std::min(kIconWidest, (inner - (count - 1) * kGap) / count);
    const int iconTop = height - kMargin - kIconHeight;
    for (int i = 0; i < count; ++i)
        MoveWindow(windows_.icons[i], kMargin + i * (iconWidth + kGap), iconTop, iconWidth, kIconHeight, TRUE);

    const int inputTop = iconTop - kGap - kInputHeight;
    MoveWindow(windows_.inputBox, kMargin, inputTop, inner, kInputHeight, TRUE);
    if (windows_.transcript)
        MoveWindow(windows_.transcript, kMargin, kMargin, inner, std::max(inputTop - kGap - kMargin, 0), TRUE);
}

void ChildWindow::OnCommand(int id, int code)
{
    const int icon = id - kFirstIconId + 1;
    if (code != BN_CLICKED || icon < 1 || icon > static_cast<int>(windows_.icons.size()))
        return;
    if (kind_ == ChildKind::Room && icon == kSendIcon)
        SendInput();
}

void ChildWindow::SendInput()
{
    const std::wstring line = WindowText(windows_.inputBox);
    SetWindowTextW(windows_.inputBox, L"");
    AppendToTranscript(line);
    if (events_.lineSent)
        events_.lineSent(line);
}

void ChildWindow::AppendToTranscript(std::wstring_view line)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t stamp[kStampLength];
    std::swprintf(stamp, kStampLength, L"[%02u:%02u:%02u] ", now.wHour, now.wMinute, now.wSecond);

    std::wstring entry = GetWindowTextLengthW(windows_.transcript) > 0 ? L"\r\n" : L"";
    entry += stamp;
    entry += line;
    CHARRANGE end { -1, -1 };
    SendMessageW(windows_.transcript, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&end));
    SendMessageW(windows_.transcript, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(entry.c_str()));
    SendMessageW(windows_.transcript, EM_SCROLLCARET, 0, 0);
}

// ---- ChatHost ----

ChatHost::ChatHost(const HostConfig& config, HostEvents events)
    : events_(std::move(events))
{
    static const bool registered = [] {
        RegisterClassesOnce();
        RegisterWindowClass(kFrameClass, &ChatHost::FrameProc, COLOR_APPWORKSPACE);
        RegisterWindowClass(kChildClass, &ChildWindow::Proc, COLOR_BTNFACE);
        return true;
    }();
    (void)registered;

    frame_ = CreateWindowExW(0, kFrameClass, kFrameTitle, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, kFrameX, kFrameY,
        kFrameWidth, kFrameHeight, nullptr, nullptr, Instance(), this);
    if (!frame_ || !mdiArea_)
        throw std::runtime_error("cannot create the chat host's frame");

    RECT area;
    GetClientRect(mdiArea_, &area);
    InflateRect(&area, -kRoomInset, -kRoomInset);
    room_ = std::make_unique<ChildWindow>(ChildKind::Room, config.iconCount, events_);
    room_->Create(mdiArea_, area);
    if (config.decoy) {
        // Made last, so it is active and first in the MDI area's child order.
        decoy_ = std::make_unique<ChildWindow>(ChildKind::Decoy, config.iconCount, events_);
        const RECT bounds { area.left + kDecoyOffsetX, area.top + kDecoyOffsetY,
            area.left + kDecoyOffsetX + kDecoyWidth, area.top + kDecoyOffsetY + kDecoyHeight };
        decoy_->Create(mdiArea_, bounds);
    }
    if (config.show) {
        ShowWindow(frame_, SW_SHOWNORMAL);
        UpdateWindow(frame_);
    }
}

ChatHost::~ChatHost()
{
    if (IsWindow(frame_))
        DestroyWindow(frame_);
}

ChildWindows ChatHost::Room() const
{
    return room_->Windows();
}

ChildWindows ChatHost::Decoy() const
{
    return decoy_ ? decoy_->Windows() : ChildWindows {};
}

LRESULT CALLBACK ChatHost::FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* self = static_cast<ChatHost*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    if (auto* self = reinterpret_cast<ChatHost*>(GetWindowLongPtrW(window, GWLP_USERDATA)))
        return self->OnFrameMessage(window, message, wParam, lParam);
    return DefFrameProcW(window, nullptr, message, wParam, lParam);
}

LRESULT ChatHost::OnFrameMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        OnFrameCreate(window);
        return 0;
    case WM_DESTROY:
        if (events_.closed)
            events_.closed();
        return 0;
    case WM_NCDESTROY:
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        frame_ = nullptr;
        mdiArea_ = nullptr;
        break;
    default:
        break;
    }
    return DefFrameProcW(window, mdiArea_, message, wParam, lParam);
}

void ChatHost::OnFrameCreate(HWND frame)
{
    CLIENTCREATESTRUCT ccs {};
    ccs.idFirstChild = kFirstMdiChildId;
    mdiArea_ = CreateWindowExW(WS_EX_CLIENTEDGE, kMdiAreaClass, nullptr,
        WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL, 0, 0, 0, 0, frame,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kMdiAreaId)), Instance(), &ccs);
    RECT client;
    GetClientRect(frame, &client);
    MoveWindow(mdiArea_, 0, 0, client.right, client.bottom, FALSE);
}

} // namespace chathost
