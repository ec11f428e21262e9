#pragma once
// Opens the desktop of the machine the program runs on.

#include <memory>
#include <string>

#include "desktop/desktop.h"

namespace inkrelay {

// The X11 back end connects to displayName (empty: the DISPLAY of the environment); Win32
// ignores it. RuntimeError(68) when no display can be opened or it cannot fake input.
std::unique_ptr<Desktop> OpenPlatformDesktop(const std::string& displayName = {});

}  // namespace inkrelay
