#pragma once
// Shrinks a running X server's screen through RandR, as a user lowering the resolution does.

#include <X11/Xlib.h>

namespace inkrelay::test {

// Switches the first CRTC off and makes the screen width x height. False when the server has no
// RandR or refuses the CRTC change; a refused size goes to the error handler before it returns.
// Clients connected before keep the old size in their connection setup.
bool ShrinkScreen(Display* dpy, int width, int height);

}  // namespace inkrelay::test
