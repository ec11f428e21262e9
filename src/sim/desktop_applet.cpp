#include "desktop_applet.h"

#include <utility>

namespace inkrelay {

DesktopApplet::DesktopApplet(SimDesktop& desktop, const SimAppletOptions& options)
    : desktop_(desktop), framebuffer_(desktop), applet_(options, framebuffer_) {
    previousOnMouse_ = std::exchange(desktop_.OnMouse, [this](MouseAction action, ScreenPoint at) {
        applet_.Mouse(action, at);
    });
    previousOnMove_ = std::exchange(
        desktop_.OnMove, [this](ScreenPoint to, bool leftHeld) { applet_.Move(to, leftHeld); });
    previousOnCall_ = std::exchange(desktop_.OnCall, [this] {
        applet_.Clock(desktop_.NowMicros());
        applet_.Tick();
    });
}

DesktopApplet::~DesktopApplet() {
    desktop_.OnMouse = std::move(previousOnMouse_);
    desktop_.OnMove = std::move(previousOnMove_);
    desktop_.OnCall = std::move(previousOnCall_);
}

}  // namespace inkrelay
