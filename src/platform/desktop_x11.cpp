// The desktop of an X11 display: XTest fakes the pointer and buttons, XGetImage reads the screen.

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
#include <bit>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>

#include "platform_desktop.h"
#include "runtime_error.h"

namespace inkrelay {
namespace {

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};
using DisplayPtr = std::unique_ptr<Display, DisplayCloser>;

struct ImageDestroyer {
    void operator()(XImage* image) const { XDestroyImage(image); }
};
using ImagePtr = std::unique_ptr<XImage, ImageDestroyer>;

[[noreturn]] void Unavailable() {
    throw RuntimeError(ErrorCode::DeviceUnavailable);
}

// Catches the X errors of the requests made while it lives. Xlib's default handler prints the
// error and exits the process, which an unreadable pixel must not do. The handler is
// process-wide, so the desktop is meant for one thread.
class ErrorTrap {
  public:
    explicit ErrorTrap(Display* display) : display_(display) {
        // Errors of earlier requests belong to the handler that was in place when they were made.
        XSync(display_, False);
        failed_ = false;
        previous_ = XSetErrorHandler(&Record);
    }
    ~ErrorTrap() {
        XSync(display_, False);
        XSetErrorHandler(previous_);
    }
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;

    bool Failed() {
        // Errors arrive asynchronously; the round trip makes sure they have been seen.
        XSync(display_, False);
        return failed_;
    }

  private:
    static int Record(Display*, XErrorEvent*) {
        failed_ = true;
        return 0;
    }
    static inline bool failed_ = false;
    Display* display_;
    int (*previous_)(Display*, XErrorEvent*) = nullptr;
};

// Scales a channel of mask's width to 0..255, so a 5-bit full channel reads as 255.
uint32_t Channel8(unsigned long pixel, unsigned long mask) {
    if (mask == 0) {
        return 0;
    }
    const int shift = std::countr_zero(mask);
    const unsigned long top = mask >> shift;
    const unsigned long value = (pixel & mask) >> shift;
    return static_cast<uint32_t>((value * 255 + top / 2) / top);
}

class X11ScreenDc final : public ScreenDc {
  public:
    // Borrows the desktop's connection, so it must not outlive the desktop.
    explicit X11ScreenDc(Display* display) : display_(display) {}

    uint32_t GetPixel(int32_t x, int32_t y) override {
        const int screen = DefaultScreen(display_);
        if (x < 0 || y < 0 || x >= DisplayWidth(display_, screen) ||
            y >= DisplayHeight(display_, screen)) {
            return ClrInvalid;
        }
        unsigned long pixel = 0;
        {
            // The bounds come from the connection setup; a screen resized since then makes
            // XGetImage fail with BadMatch instead.
            ErrorTrap trap(display_);
            ImagePtr image(
                XGetImage(display_, RootWindow(display_, screen), x, y, 1, 1, AllPlanes, ZPixmap));
            if (!image || trap.Failed()) {
                return ClrInvalid;
            }
            pixel = XGetPixel(image.get(), 0, 0);
        }
        return ToColourRef(pixel, screen);
    }

    void ReadRegion(int32_t left, int32_t top, int32_t width, int32_t height,
                    std::span<uint32_t> out) override {
        CheckRegionArguments(width, height, out);
        std::fill_n(out.begin(), int64_t{width} * height, ClrInvalid);
        const int screen = DefaultScreen(display_);
        // Only the part on the screen is asked for; XGetImage fails for a rectangle beyond it.
        const int64_t x0 = std::max<int64_t>(left, 0);
        const int64_t y0 = std::max<int64_t>(top, 0);
        const int64_t x1 = std::min<int64_t>(int64_t{left} + width, DisplayWidth(display_, screen));
        const int64_t y1 =
            std::min<int64_t>(int64_t{top} + height, DisplayHeight(display_, screen));
        if (x0 >= x1 || y0 >= y1)
            return;
        ErrorTrap trap(display_);
        ImagePtr image(XGetImage(display_, RootWindow(display_, screen), static_cast<int>(x0),
                                 static_cast<int>(y0), static_cast<unsigned>(x1 - x0),
                                 static_cast<unsigned>(y1 - y0), AllPlanes, ZPixmap));
        if (!image || trap.Failed())
            return;
        for (int64_t y = y0; y < y1; ++y)
            for (int64_t x = x0; x < x1; ++x)
                out[static_cast<size_t>((y - top) * width + (x - left))] = ToColourRef(
                    XGetPixel(image.get(), static_cast<int>(x - x0), static_cast<int>(y - y0)),
                    screen);
    }

  private:
    uint32_t ToColourRef(unsigned long pixel, int screen) {
        const Visual* visual = DefaultVisual(display_, screen);
        if (visual->c_class == TrueColor) {
            return Channel8(pixel, visual->red_mask) | Channel8(pixel, visual->green_mask) << 8 |
                   Channel8(pixel, visual->blue_mask) << 16;
        }
        // Other visual classes hold the pixel's colour in the colormap, not in its bits.
        XColor colour{};
        colour.pixel = pixel;
        ErrorTrap trap(display_);
        XQueryColor(display_, DefaultColormap(display_, screen), &colour);
        if (trap.Failed()) {
            return ClrInvalid;
        }
        return uint32_t{colour.red} >> 8 | (uint32_t{colour.green} >> 8) << 8 |
               (uint32_t{colour.blue} >> 8) << 16;
    }

    Display* display_;
};

class X11Desktop final : public Desktop {
  public:
    explicit X11Desktop(DisplayPtr display)
        : display_(std::move(display)), screen_(DefaultScreen(display_.get())) {}

    int32_t ColourBits() override {
        // The depth, not the bits per pixel: a 24-bit visual is stored in 32 bits per pixel.
        return DefaultDepth(display_.get(), screen_);
    }

    ScreenSize ScreenPixels() override {
        return {DisplayWidth(display_.get(), screen_), DisplayHeight(display_.get(), screen_)};
    }

    void SetCursorPos(int16_t x, int16_t y) override {
        if (!XTestFakeMotionEvent(display_.get(), screen_, x, y, CurrentTime)) {
            Unavailable();
        }
        // Xlib only buffers the fake motion; sync so the server has moved the pointer before any
        // client, this one or another, reads it back.
        XSync(display_.get(), False);
    }

    ScreenPoint GetCursorPos() override {
        const PointerState state = QueryPointer();
        return {static_cast<int16_t>(state.X), static_cast<int16_t>(state.Y)};
    }

    void MouseEvent(MouseAction action) override {
        unsigned int button = 1;
        Bool press = True;
        switch (action) {
            case MouseAction::LeftDown: break;
            case MouseAction::LeftUp: press = False; break;
            case MouseAction::RightDown: button = 3; break;
            case MouseAction::RightUp:
                button = 3;
                press = False;
                break;
        }
        if (!XTestFakeButtonEvent(display_.get(), button, press, CurrentTime)) {
            Unavailable();
        }
        // Delivered to the window under the pointer only once the buffered request is sent.
        XSync(display_.get(), False);
    }

    bool KeyDown(Key key) override {
        switch (key) {
            case Key::LeftButton: return (QueryPointer().Mask & Button1Mask) != 0;
            case Key::RightButton: return (QueryPointer().Mask & Button3Mask) != 0;
            case Key::Escape: return EscapeDown();
        }
        return false;
    }

    std::unique_ptr<ScreenDc> GetDC() override {
        return std::make_unique<X11ScreenDc>(display_.get());
    }

    void Sleep(uint32_t milliseconds) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }

    int32_t GetTickCount() override {
        const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now().time_since_epoch());
        // A 32-bit tick counter read as signed: wraps to negative after about 24.8 days.
        return std::bit_cast<int32_t>(static_cast<uint32_t>(elapsed.count()));
    }

  private:
    struct PointerState {
        int X = 0;
        int Y = 0;
        unsigned int Mask = 0;
    };

    PointerState QueryPointer() {
        Window root = None;
        Window child = None;
        int rootX = 0;
        int rootY = 0;
        int windowX = 0;
        int windowY = 0;
        unsigned int mask = 0;
        // False only says the pointer is on another screen; root coordinates and mask still hold.
        // A failed request leaves the outputs untouched, which root == None detects.
        XQueryPointer(display_.get(), RootWindow(display_.get(), screen_), &root, &child, &rootX,
                      &rootY, &windowX, &windowY, &mask);
        if (root == None) {
            Unavailable();
        }
        return {rootX, rootY, mask};
    }

    bool EscapeDown() {
        // 0 when no key of the current keyboard mapping produces Escape.
        const KeyCode code = XKeysymToKeycode(display_.get(), XK_Escape);
        if (code == 0) {
            return false;
        }
        char keys[32] = {};
        XQueryKeymap(display_.get(), keys);
        return (static_cast<unsigned char>(keys[code / 8]) >> (code % 8) & 1u) != 0;
    }

    DisplayPtr display_;
    int screen_;
};

}  // namespace

std::unique_ptr<Desktop> OpenPlatformDesktop(const std::string& displayName) {
    DisplayPtr display(XOpenDisplay(displayName.empty() ? nullptr : displayName.c_str()));
    if (!display) {
        Unavailable();
    }
    int eventBase = 0;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    if (!XTestQueryExtension(display.get(), &eventBase, &errorBase, &major, &minor)) {
        Unavailable();
    }
    return std::make_unique<X11Desktop>(std::move(display));
}

}  // namespace inkrelay
