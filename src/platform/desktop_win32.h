#pragma once
// The Win32 back end with the input injection it uses given, so that a test can refuse events.

#include <windows.h>

#include <memory>

#include "desktop/desktop.h"

namespace inkrelay {

// SendInput's shape: the events given, the number the system took.
using InputSender = UINT(WINAPI*)(UINT count, LPINPUT inputs, int size);

std::unique_ptr<Desktop> OpenWin32Desktop(InputSender send);

}  // namespace inkrelay
