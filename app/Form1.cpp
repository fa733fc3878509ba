#include "Form1.h"

#include "MessagePump.h"
#include "resource.h"

#include <windowsx.h>

using design::Control;
using design::HitTest;

namespace {

constexpr wchar_t kClassName[] = L"KestavineIdleForm1";
constexpr UINT_PTR kTimer1Id = 1;
constexpr int kText1Id = 1;

// No caption, no system menu, no sizing border; the minimise box only lets the
// system minimise the window. It keeps its taskbar button, so a minimised
// window can be brought back from there.
constexpr DWORD kStyle = WS_POPUP | WS_CLIPCHILDREN | WS_MINIMIZEBOX;
constexpr DWORD kExStyle = WS_EX_APPWINDOW;
constexpr DWORD kText1Style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_CENTER | ES_AUTOHSCROLL;

int FontHeight(const design::Font& font)
{
    return -MulDiv(font.hundredthsOfPoint, 96, 7200);
}

gdi::Font CreateDesignFont(const design::Font& font)
{
    return gdi::Font(
        CreateFontW(FontHeight(font), 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, font.face));
}

gdi::Bitmap LoadPicture(HINSTANCE instance, int id)
{
    return gdi::Bitmap(static_cast<HBITMAP>(LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, 0)));
}

bool RegisterForm1Class(HINSTANCE instance, WNDPROC windowProc)
{
    WNDCLASSEXW wc {};
    if (GetClassInfoExW(instance, kClassName, &wc))
        return true;
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_KESTAVINE), IMAGE_ICON,
        GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), LR_SHARED));
    wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_KESTAVINE), IMAGE_ICON,
        GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    wc.lpszClassName = kClassName;
    return RegisterClassExW(&wc) != 0;
}

} // namespace

Form1::Form1(HINSTANCE instance, ChatSender sendChat, Options options)
    : instance_(instance)
    , sendChat_(sendChat)
    , options_(options)
{
}

Form1::~Form1()
{
    if (hwnd_)
        DestroyWindow(hwnd_);
}

bool Form1::CreateResources()
{
    defaultFont_ = CreateDesignFont(design::kDefaultFont);
    label2Font_ = CreateDesignFont(design::kLabel2Font);
    label3Font_ = CreateDesignFont(design::kLabel3Font);
    background_ = LoadPicture(instance_, IDB_BACKGROUND);
    image1_ = LoadPicture(instance_, IDB_TITLE);
    image2_ = LoadPicture(instance_, IDB_START);
    image3_ = LoadPicture(instance_, IDB_STOP);
    return defaultFont_ && label2Font_ && label3Font_ && background_ && image1_ && image2_ && image3_;
}

bool Form1::Load()
{
    if (hwnd_ || unloaded_)
        return false; // one window per run: an unloaded Form1 is never recreated
    if (!RegisterForm1Class(instance_, &Form1::WindowProc) || !CreateResources())
        return false;

    // With no frame the outer size is the client size.
    const RECT r = design::kForm1.Pixels();
    CreateWindowExW(kExStyle, kClassName, design::kCaption, kStyle, r.left, r.top, r.right - r.left, r.bottom - r.top,
        nullptr, nullptr, instance_, this);
    if (!hwnd_)
        return false;
    CreateText1();
    if (!text1_) {
        Unload();
        return false;
    }

    OnLoad();
    topmostWatch_.Watch(hwnd_);
    shownAt_ = { r.left, r.top };
    keepsShownPlace_ = true;

    ShowWindow(hwnd_, SW_SHOWNORMAL);
    UpdateWindow(hwnd_);
    SetFocus(text1_);
    return true;
}

void Form1::CreateText1()
{
    const RECT r = design::kText1.Pixels();
    text1_ = CreateWindowExW(0, L"EDIT", design::kText1Text, kText1Style, r.left, r.top, r.right - r.left,
        r.bottom - r.top, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kText1Id)), instance_, nullptr);
    if (!text1_)
        return;
    SendMessageW(text1_, WM_SETFONT, reinterpret_cast<WPARAM>(defaultFont_.get()), FALSE);
    // As long a reason as the user cares to type or paste.
    SendMessageW(text1_, EM_SETLIMITTEXT, 0, 0);
}

LRESULT CALLBACK Form1::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Form1*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Form1*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        self->text1_ = nullptr;
        self->unloaded_ = true;
        self->timer1Enabled_ = false;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    return self->HandleMessage(message, wParam, lParam);
}

LRESULT Form1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    const POINT at { GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam) };
    switch (message) {
    case WM_ERASEBKGND:
        return 1; // painting covers every pixel
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_CTLCOLOREDIT:
        SetTextColor(reinterpret_cast<HDC>(wParam), design::kWhite);
        SetBkColor(reinterpret_cast<HDC>(wParam), design::kBlack);
        return reinterpret_cast<LRESULT>(GetStockObject(BLACK_BRUSH));
    case WM_SETFOCUS:
        // Text1 is the only control that takes the keyboard.
        if (text1_)
            SetFocus(text1_);
        return 0;
    case WM_LBUTTONDOWN:
        OnButtonDown(true, at);
        return 0;
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
        OnButtonDown(false, at);
        return message == WM_XBUTTONDOWN ? TRUE : 0;
    case WM_LBUTTONUP:
        OnLeftButtonUp(at);
        return 0;
    case WM_WINDOWPOSCHANGED:
        OnMoved();
        return DefWindowProcW(hwnd_, message, wParam, lParam);
    case WM_CAPTURECHANGED:
        pressed_ = Control::None;
        return 0;
    case WM_TIMER:
        if (wParam == kTimer1Id && timer1Enabled_)
            OnTimer1Tick();
        return 0;
    case WM_CLOSE:
        // The system's own close (Alt+F4, the taskbar) ends the program at once.
        Unload();
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(hwnd_, message, wParam, lParam);
    }
}

void Form1::OnButtonDown(bool left, POINT at)
{
    const Control control = HitTest(at);
    keepsShownPlace_ = false; // from now on the user may move the window
    if (control == Control::Label2) {
        OnLabel2MouseDown();
        return;
    }
    if (left && control != Control::None) {
        // A click is a press and a release on the same control.
        pressed_ = control;
        SetCapture(hwnd_);
    }
}

void Form1::OnLeftButtonUp(POINT at)
{
    const Control pressed = pressed_;
    pressed_ = Control::None;
    if (pressed == Control::None)
        return;
    ReleaseCapture();
    if (HitTest(at) == pressed)
        OnClick(pressed);
}

void Form1::OnClick(Control control)
{
    switch (control) {
    case Control::Image2:
        OnImage2Click();
        break;
    case Control::Image3:
        OnImage3Click();
        break;
    case Control::Image1:
        OnImage1Click();
        break;
    case Control::Label3:
        OnLabel3Click();
        break;
    default:
        break; // Label1 and the background have no handler
    }
}

void Form1::SetLabel1Caption(const wchar_t* caption)
{
    label1Caption_ = caption;
    InvalidateDesignRect(design::kLabel1);
}

void Form1::SetTimer1Enabled(bool enabled)
{
    if (!hwnd_ || enabled == timer1Enabled_)
        return; // enabling a running timer keeps its period as it is
    if (enabled)
        timer1Enabled_ = SetTimer(hwnd_, kTimer1Id, options_.timer1IntervalMs, nullptr) != 0;
    else {
        KillTimer(hwnd_, kTimer1Id);
        timer1Enabled_ = false;
    }
}

RECT Form1::OuterRect() const
{
    RECT r {};
    if (hwnd_)
        GetWindowRect(hwnd_, &r);
    return r;
}

int Form1::HeightTwips() const
{
    const RECT r = OuterRect();
    return twips::FromPixels(r.bottom - r.top);
}

int Form1::WidthTwips() const
{
    const RECT r = OuterRect();
    return twips::FromPixels(r.right - r.left);
}

void Form1::SetOuterSize(int widthPixels, int heightPixels)
{
    // A minimised window cannot be sized.
    if (!hwnd_ || IsIconic(hwnd_))
        return;
    SetWindowPos(hwnd_, nullptr, 0, 0, widthPixels, heightPixels, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form1::SetHeightTwips(int value)
{
    const RECT r = OuterRect();
    SetOuterSize(r.right - r.left, twips::ToPixels(value));
}

void Form1::SetWidthTwips(int value)
{
    const RECT r = OuterRect();
    SetOuterSize(twips::ToPixels(value), r.bottom - r.top);
}

void Form1::Minimize()
{
    if (hwnd_)
        ShowWindow(hwnd_, SW_MINIMIZE);
}

void Form1::Unload()
{
    if (!hwnd_)
        return;
    SetTimer1Enabled(false);
    DestroyWindow(hwnd_); // WM_NCDESTROY marks the form unloaded; WM_DESTROY ends the program
}

void Form1::DoEvents()
{
    winutil::HandlePendingEvents();
}

void Form1::InvalidateDesignRect(const design::TwipsRect& area)
{
    if (!hwnd_)
        return;
    const RECT r = area.Pixels();
    InvalidateRect(hwnd_, &r, FALSE);
}
