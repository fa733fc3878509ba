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

void Form1::OnLabel3Click()
{
    if (closing_)
        return; // the close already running ends the program
    closing_ = true;
    close_animation::Run(*this);
}
