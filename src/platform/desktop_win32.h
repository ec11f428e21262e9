#pragma once
// The Win32 back end with the input injection it uses given, so that a test can refuse events.

#include <windows.h>

#include <memory>

#include "desktop/desktop.h"

namespace inkrelay {

// SendInput's shape: the events given, the number the system took.
using InputSender = UINT(WINAPI*)(UINT count, LPINPUT inputs, int size);

std::unique_ptr<Desktop> OpenWin32Desktop(InputSender send);

// The one pointer event the back end sends for a move (buttonFlags 0) or a button at a point:
// absolute coordinates on the virtual screen, so that it lands there whatever moved the pointer
// meanwhile. For replays that must send exactly what a run sends.
INPUT PointerInput(ScreenPoint at, DWORD buttonFlags);

}  // namespace inkrelay
