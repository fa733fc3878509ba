#pragma once

#include "CloseAnimation.h"
#include "Form1Design.h"
#include "Gdi.h"
#include "HeapText.h"
#include "HitTest.h"
#include "TopmostWatch.h"

#include <windows.h>

#include <string_view>

// The program's only window: a borderless, always-on-top strip with a reason
// box, START and STOP pictures, a status label and its own "-" and "X".
// Everything but Text1 is drawn on the window's own surface, and the mouse is
// routed to those drawn controls by hit-testing in z-order. The idling state
// lives in the controls themselves: Timer1's enabled flag and Label1's caption.
class Form1 final : public close_animation::ShrinkingWindow {
public:
    // Puts one line into the host client's chat room.
    using ChatSender = void (*)(std::wstring_view line);

    // The designed timing; tests and soaks run it faster.
    struct Options {
        unsigned timer1IntervalMs = design::kTimer1IntervalMs;
        double reasonDelaySeconds = design::kReasonDelaySeconds;
    };

    Form1(HINSTANCE instance, ChatSender sendChat, Options options);
    Form1(HINSTANCE instance, ChatSender sendChat)
        : Form1(instance, sendChat, Options {})
    {
    }
    ~Form1();
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // Start-up: creates the window hidden, runs its load handler, then shows
    // it. False when the window or its pictures cannot be created.
    bool Load();

    HWND hWnd() const { return hwnd_; }
    HWND Text1() const { return text1_; }
    std::wstring_view Label1Caption() const { return label1Caption_; }
    bool Timer1Enabled() const { return timer1Enabled_; }
    int HeightTwips() const override;
    void SetHeightTwips(int twips) override;
    int WidthTwips() const override;
    void SetWidthTwips(int twips) override;
    void Unload() override;
    bool Unloaded() const override { return unloaded_; }
    void DoEvents() override;

private:
    // The handlers: the load, START and STOP, the timer's tick, and the chrome.
    void OnLoad();
    void OnImage2Click();
    void OnImage3Click();
    void OnTimer1Tick();
    void OnImage1Click();
    void OnLabel2MouseDown();
    void OnLabel3Click();
    void OnMoved();

    // What the handlers work with.
    void SetLabel1Caption(const wchar_t* caption);
    void SetTimer1Enabled(bool enabled);
    void Minimize();
    winutil::HeapText<wchar_t> ReasonLine() const;

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool CreateResources();
    void CreateText1();
    void OnPaint();
    void Paint(HDC dc) const;
    void OnButtonDown(bool left, POINT at);
    void OnLeftButtonUp(POINT at);
    void OnClick(design::Control control);
    void InvalidateDesignRect(const design::TwipsRect& area);
    RECT OuterRect() const;
    void SetOuterSize(int widthPixels, int heightPixels);

    HINSTANCE instance_;
    ChatSender sendChat_;
    Options options_;
    HWND hwnd_ = nullptr;
    HWND text1_ = nullptr;
    bool unloaded_ = false;
    bool closing_ = false;
    bool ticking_ = false;
    bool timer1Enabled_ = false;
    const wchar_t* label1Caption_ = design::kNotEnabled;
    design::Control pressed_ = design::Control::None;
    // Where the window was shown, as long as nobody may have moved it yet.
    POINT shownAt_ {};
    bool keepsShownPlace_ = false;
    winutil::TopmostWatch topmostWatch_;

    gdi::Font defaultFont_;
    gdi::Font label2Font_;
    gdi::Font label3Font_;
    gdi::Bitmap background_;
    gdi::Bitmap image1_;
    gdi::Bitmap image2_;
    gdi::Bitmap image3_;
};
