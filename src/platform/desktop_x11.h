#pragma once
// The X11 back end over a connection its caller already has, so that the two share one stream
// of requests: a driver that grabs the server still has its pointer and buttons carried out.

#include <memory>

#include "desktop/desktop.h"

// Xlib's Display, without its macros.
struct _XDisplay;

namespace inkrelay {

// The connection stays the caller's: open for the desktop's life and closed by the caller after.
// RuntimeError(68) when it is null or the server has no XTest.
std::unique_ptr<Desktop> OpenX11Desktop(_XDisplay* borrowed);

}  // namespace inkrelay
