// The window's own chrome, since it has no frame: start-up placement, move,
// minimise and the shrinking close.
#include "Form1.h"

#include "vexo32.h"

void Form1::OnLoad()
{
    KeepOnTop(hwnd_);
    StartWindowDrag(hwnd_);
}

void Form1::OnImage1Click()
{
    StartWindowDrag(hwnd_);
}

void Form1::OnLabel2MouseDown()
{
    Minimize();
}

void Form1::OnMoved()
{
    // Before the user first presses a button on the window, nothing moves it.
    // Yet under Wine 8 a window manager that frames the window as it is first
    // shown can leave the system believing the window moved: Wine reads where
    // the new frame is before the window manager has placed it, and the
    // window's clicks then go where the system believes it is. So the first
    // such move is put back, once; a window manager that does want the window
    // elsewhere answers with its own place.
    if (!keepsShownPlace_ || IsIconic(hwnd_))
        return;
    RECT at;
    GetWindowRect(hwnd_, &at);
    if (at.left == shownAt_.x && at.top == shownAt_.y)
        return;
    keepsShownPlace_ = false;
    SetWindowPos(hwnd_, nullptr, shownAt_.x, shownAt_.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form1::OnLabel3Click()
{
    if (closing_)
        return; // the close already running ends the program
    closing_ = true;
    close_animation::Run(*this);
}
