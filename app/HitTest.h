#pragma once

#include <windows.h>

namespace design {

// The controls drawn on the main window's surface that can take the mouse.
// Text1 is a child window of its own and takes its clicks itself; the lines
// are drawing only and let the mouse through to whatever lies beneath.
enum class Control { None, Label3, Label2, Label1, Image3, Image2, Image1 };

// Which control is under a point of the window's client area (in pixels),
// the topmost one where several overlap. A label's box takes the mouse all
// over, its transparent ground included.
Control HitTest(POINT client);

} // namespace design
