#pragma once
// The desktop the program drives: pointer, buttons, keys, screen pixels and ticks. One back end
// per platform (src/platform) and a simulated one (src/sim); the core only sees this interface,
// in its own words: what a platform calls its calls and flags stays inside its back end.

#include <cstdint>
#include <memory>
#include <span>

#include "runtime_error.h"

namespace inkrelay {

struct ScreenPoint {
    int16_t X = 0;
    int16_t Y = 0;
    friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

struct ScreenSize {
    int32_t Width = 0;
    int32_t Height = 0;
};

// The buttons as the user knows them: on a left-handed mouse the left button is the one under
// the right finger. Back ends map them to the device's own buttons.
enum class MouseButton { Left, Right };

// One button event, for what keeps them in order: the simulated desktop's log, recordings.
enum class MouseAction { LeftDown, LeftUp, RightDown, RightUp };

constexpr MouseAction ActionOf(MouseButton button, bool press) {
    if (button == MouseButton::Left)
        return press ? MouseAction::LeftDown : MouseAction::LeftUp;
    return press ? MouseAction::RightDown : MouseAction::RightUp;
}
constexpr MouseButton ButtonOf(MouseAction action) {
    return action == MouseAction::LeftDown || action == MouseAction::LeftUp ? MouseButton::Left
                                                                            : MouseButton::Right;
}
constexpr bool IsPress(MouseAction action) {
    return action == MouseAction::LeftDown || action == MouseAction::RightDown;
}

// The keys polled.
enum class Key { LeftButton, RightButton, Escape };

// What a back end can reach, known once it is open.
struct DesktopCapabilities {
    // False where input and screen reads reach only some windows: the X server of a Wayland
    // session sees only the windows shown through it, not the compositor's own.
    bool ReachesEveryWindow = true;
};

// Colour read where nothing can be read; negative as a signed value.
inline constexpr uint32_t ClrInvalid = 0xFFFFFFFFu;

// What every ReadRegion checks first: a negative side, or an out too small for the rectangle,
// is an invalid argument (5).
inline void CheckRegionArguments(int32_t width, int32_t height, std::span<uint32_t> out) {
    if (width < 0 || height < 0 || int64_t{width} * height > static_cast<int64_t>(out.size()))
        throw RuntimeError(ErrorCode::InvalidArgument);
}

// The whole screen opened for reading, held for one capture or drawing run; released when
// destroyed, so the error path releases it too.
class ScreenReader {
  public:
    virtual ~ScreenReader() = default;
    // Colour 0x00BBGGRR of the screen pixel, or ClrInvalid off the screen or when unreadable.
    virtual uint32_t ReadPixel(int32_t x, int32_t y) = 0;
    // The width x height rectangle at (left, top) in one request, row by row into out, which
    // holds at least width * height colours; ClrInvalid for the pixels off the screen. Width and
    // height of 0 read nothing. For many pixels at once (the magnifier, batched checks).
    virtual void ReadRegion(int32_t left, int32_t top, int32_t width, int32_t height,
                            std::span<uint32_t> out) = 0;
};

class Desktop {
  public:
    virtual ~Desktop() = default;

    virtual DesktopCapabilities Capabilities() { return {}; }

    // Bits per pixel of the screen.
    virtual int32_t ColourBits() = 0;
    // The screen's size in pixels.
    virtual ScreenSize ScreenPixels() = 0;
    // The pointer stands at (x, y) before the next call; with a button held this is a drag.
    virtual void MovePointer(int16_t x, int16_t y) = 0;
    virtual ScreenPoint PointerPosition() = 0;
    // One button event at the pointer, delivered to the window under it as if from the mouse;
    // the back end checks that the system took it (RuntimeError(68) when not).
    virtual void PressButton(MouseButton button) = 0;
    virtual void ReleaseButton(MouseButton button) = 0;
    // Whether the key is down now, whichever window has the focus.
    virtual bool IsKeyDown(Key key) = 0;
    // The whole screen for reading; RuntimeError(68) when it cannot be had.
    virtual std::unique_ptr<ScreenReader> OpenScreen() = 0;
    virtual void Sleep(uint32_t milliseconds) = 0;
    // Milliseconds since the system started, wrapping as a signed 32-bit value.
    virtual int32_t TickCount() = 0;
};

// A recorded button event given again.
inline void Replay(Desktop& desktop, MouseAction action) {
    if (IsPress(action))
        desktop.PressButton(ButtonOf(action));
    else
        desktop.ReleaseButton(ButtonOf(action));
}

}  // namespace inkrelay
