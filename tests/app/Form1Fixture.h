#pragma once

#include "Form1.h"
#include "TestWindow.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

// The real main window in this process, driven with posted input as the
// system delivers it. Its chat lines are recorded instead of sent, so a test
// sees exactly what went out and when.
class Form1Fixture : public ::testing::Test {
protected:
    struct SentLine {
        std::wstring text;
        double at; // seconds since the fixture started
    };

    void SetUp() override { ASSERT_TRUE(Open()); }

    bool Open(Form1::Options options = {}, Form1::ChatSender sender = &Record)
    {
        form_.reset();
        testsupport::DrainQueue();
        current_ = this;
        form_ = std::make_unique<Form1>(GetModuleHandleW(nullptr), sender, options);
        return form_->Load();
    }

    // The window sends through a plain function; it records into the running test.
    static void Record(std::wstring_view line)
    {
        current_->sent_.push_back({ std::wstring(line), current_->clock_.Seconds() });
        if (current_->onSend_)
            current_->onSend_(current_->sent_.back());
    }

    HWND hwnd() const { return form_->hWnd(); }

    void PostClick(POINT at) const { testsupport::PostClick(hwnd(), at); }

    void Click(POINT at)
    {
        PostClick(at);
        form_->DoEvents();
    }

    static void Pump(double seconds)
    {
        testsupport::PumpUntil([] { return false; }, seconds);
    }

    static bool QuitPosted()
    {
        MSG msg;
        return PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != 0;
    }

    static constexpr POINT kStart { 30, 80 };
    static constexpr POINT kStop { 260, 80 };
    static constexpr POINT kMinimise { 272, 8 };
    static constexpr POINT kClose { 296, 28 }; // the "X" box's transparent ground
    static constexpr POINT kStatus { 150, 40 };

    static inline Form1Fixture* current_ = nullptr;
    const testsupport::Stopwatch clock_;
    std::unique_ptr<Form1> form_;
    std::vector<SentLine> sent_;
    std::function<void(const SentLine&)> onSend_;
};
