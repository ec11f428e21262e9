#pragma once
// The desktop the program drives: pointer, buttons, keys, screen pixels and ticks. One back end
// per platform (src/platform) and a simulated one (src/sim); the core only sees this interface.

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

// Button events with the values of mouse_event's flags.
enum class MouseAction : uint32_t { LeftDown = 2, LeftUp = 4, RightDown = 8, RightUp = 16 };

// The keys polled, with their virtual-key codes.
enum class Key : int32_t { LeftButton = 1, RightButton = 2, Escape = 27 };

// Colour read where nothing can be read; negative as a signed value.
inline constexpr uint32_t ClrInvalid = 0xFFFFFFFFu;

// What every ReadRegion checks first: a negative side, or an out too small for the rectangle,
// is an invalid argument (5).
inline void CheckRegionArguments(int32_t width, int32_t height, std::span<uint32_t> out) {
    if (width < 0 || height < 0 || int64_t{width} * height > static_cast<int64_t>(out.size()))
        throw RuntimeError(ErrorCode::InvalidArgument);
}

// A device context of the whole screen, held for one capture or drawing run; released when
// destroyed, so the error path releases it too.
class ScreenDc {
  public:
    virtual ~ScreenDc() = default;
    // Colour 0x00BBGGRR of the screen pixel, or ClrInvalid off the screen or when unreadable.
    virtual uint32_t GetPixel(int32_t x, int32_t y) = 0;
    // The width x height rectangle at (left, top) in one request, row by row into out, which
    // holds at least width * height colours; ClrInvalid for the pixels off the screen. Width and
    // height of 0 read nothing. For many pixels at once (the magnifier, batched checks).
    virtual void ReadRegion(int32_t left, int32_t top, int32_t width, int32_t height,
                            std::span<uint32_t> out) = 0;
};

class Desktop {
  public:
    virtual ~Desktop() = default;

    // Bits per pixel of the screen (GetDeviceCaps BITSPIXEL).
    virtual int32_t ColourBits() = 0;
    // The screen's size in pixels.
    virtual ScreenSize ScreenPixels() = 0;
    // The pointer stands at (x, y) before the next call; with a button held this is a drag.
    virtual void SetCursorPos(int16_t x, int16_t y) = 0;
    virtual ScreenPoint GetCursorPos() = 0;
    // One button event at the pointer, delivered to the window under it as if from the mouse.
    virtual void MouseEvent(MouseAction action) = 0;
    // Whether the key is down now, whichever window has the focus (bit 15 of GetAsyncKeyState).
    virtual bool KeyDown(Key key) = 0;
    // A device context of the whole screen; RuntimeError(68) when none can be had.
    virtual std::unique_ptr<ScreenDc> GetDC() = 0;
    virtual void Sleep(uint32_t milliseconds) = 0;
    // Milliseconds since the system started, wrapping as a signed 32-bit value.
    virtual int32_t GetTickCount() = 0;
};

}  // namespace inkrelay
