// The desktop of an X11 display: XTest fakes the pointer and buttons, XGetImage reads the screen.

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
#include <bit>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "desktop_x11.h"
#include "platform_desktop.h"
#include "runtime_error.h"

namespace inkrelay {
namespace {

// A borrowed connection is its lender's to close.
struct DisplayCloser {
    bool Owned = true;
    void operator()(Display* display) const {
        if (Owned) {
            XCloseDisplay(display);
        }
    }
};
using DisplayPtr = std::unique_ptr<Display, DisplayCloser>;

struct ImageDestroyer {
    void operator()(XImage* image) const { XDestroyImage(image); }
};
using ImagePtr = std::unique_ptr<XImage, ImageDestroyer>;

[[noreturn]] void Unavailable() {
    throw RuntimeError(ErrorCode::DeviceUnavailable);
}

// Records the X errors of one desktop's connection. Xlib's default handler prints the error and
// exits the process, which an unreadable pixel must not do. The handler is process-wide, so it is
// installed while any desktop is open and passes errors of other connections to the one it
// replaced. Errors arrive on the thread using the connection, so a log needs no lock of its own.
class ErrorLog {
  public:
    explicit ErrorLog(Display* display) : display_(display) {
        const std::lock_guard lock(mutex_);
        open_.reserve(open_.size() + 1);
        if (open_.empty()) {
            // Never keep our own handler as the one to pass on to: that would loop.
            const XErrorHandler replaced = XSetErrorHandler(&Handle);
            if (replaced != &Handle) {
                previous_ = replaced;
            }
        }
        open_.push_back(this);
    }
    ~ErrorLog() {
        const std::lock_guard lock(mutex_);
        std::erase(open_, this);
        if (open_.empty()) {
            // A handler the program set after ours stays; it may hand errors on to ours, which
            // still passes them to previous_.
            const XErrorHandler current = XSetErrorHandler(previous_);
            if (current != &Handle) {
                XSetErrorHandler(current);
            }
        }
    }
    ErrorLog(const ErrorLog&) = delete;
    ErrorLog& operator=(const ErrorLog&) = delete;

    // Errors of the requests made from now on count; those of earlier ones are dropped.
    void Watch() {
        first_ = XNextRequest(display_);
        failed_ = false;
    }
    // Whether a watched request failed. Only complete once its reply has come or an XSync has
    // run, since Xlib calls the handler while it reads the server's answers.
    bool Failed() const { return failed_; }

  private:
    static int Handle(Display* display, XErrorEvent* event) {
        XErrorHandler pass = nullptr;
        {
            const std::lock_guard lock(mutex_);
            const auto log = std::ranges::find(open_, display, &ErrorLog::display_);
            if (log == open_.end()) {
                pass = previous_;
            } else if (static_cast<long>(event->serial - (*log)->first_) >= 0) {
                // Serials wrap; the difference from a recent request does not.
                (*log)->failed_ = true;
            }
        }
        return pass != nullptr ? pass(display, event) : 0;
    }

    static inline std::mutex mutex_;
    static inline std::vector<ErrorLog*> open_;
    static inline XErrorHandler previous_ = nullptr;

    Display* display_;
    unsigned long first_ = 0;
    bool failed_ = false;
};

// One colour channel of a TrueColor pixel, scaled to 0..255 so that a full 5-bit channel reads
// as 255.
struct Channel {
    explicit Channel(unsigned long mask)
        : Shift(mask == 0 ? 0 : std::countr_zero(mask)), Top(mask >> Shift) {}

    uint32_t Of(unsigned long pixel) const {
        const uint64_t value = pixel >> Shift & Top;
        if (Top == 255 || Top == 0) {
            return static_cast<uint32_t>(value);
        }
        return static_cast<uint32_t>((value * 255 + Top / 2) / Top);
    }

    int Shift;
    uint64_t Top;
};

// How the screen's pixels become 0x00BBGGRR, worked out once from the default visual.
struct PixelFormat {
    PixelFormat(const Visual& visual, Colormap colormap)
        : TrueColour(visual.c_class == TrueColor),
          Red(visual.red_mask),
          Green(visual.green_mask),
          Blue(visual.blue_mask),
          Map(colormap) {}

    uint32_t ColourRef(unsigned long pixel) const {
        return Red.Of(pixel) | Green.Of(pixel) << 8 | Blue.Of(pixel) << 16;
    }

    // Other visual classes hold a pixel's colour in the colormap, not in its bits.
    bool TrueColour;
    Channel Red;
    Channel Green;
    Channel Blue;
    Colormap Map;
};

// The display connection a desktop and its DCs share, so a DC kept past its desktop still holds
// an open connection. The log outlives the connection: closing it syncs, which may report errors.
struct Connection {
    explicit Connection(DisplayPtr display)
        : Errors(display.get()),
          Handle(std::move(display)),
          Screen(DefaultScreen(Handle.get())),
          Root(RootWindow(Handle.get(), Screen)),
          Format(*DefaultVisual(Handle.get(), Screen), DefaultColormap(Handle.get(), Screen)) {}

    Display* Get() const { return Handle.get(); }

    ErrorLog Errors;
    DisplayPtr Handle;
    int Screen;
    Window Root;
    PixelFormat Format;
};

// Calls put(column, row, pixel) for every pixel of image. 32-bit pixels in the host's byte order
// are read straight from the data, the rest through XGetPixel, which knows every layout.
template <typename Put>
void ForEachPixel(const XImage& image, Put put) {
    constexpr int hostOrder = std::endian::native == std::endian::little ? LSBFirst : MSBFirst;
    if (image.bits_per_pixel == 32 && image.byte_order == hostOrder) {
        // The bits above the depth are padding, which XGetPixel masks off too.
        const uint32_t depthMask =
            image.depth >= 32 ? 0xFFFFFFFFu : (uint32_t{1} << image.depth) - 1;
        for (int row = 0; row < image.height; ++row) {
            const char* line = image.data + static_cast<ptrdiff_t>(row) * image.bytes_per_line;
            for (int column = 0; column < image.width; ++column) {
                uint32_t pixel = 0;
                std::memcpy(&pixel, line + static_cast<ptrdiff_t>(column) * 4, sizeof pixel);
                put(column, row, pixel & depthMask);
            }
        }
        return;
    }
    // XGetPixel takes a non-const image but only reads it.
    XImage& readable = const_cast<XImage&>(image);
    for (int row = 0; row < image.height; ++row) {
        for (int column = 0; column < image.width; ++column) {
            put(column, row, XGetPixel(&readable, column, row));
        }
    }
}

class X11Screen final : public ScreenReader {
  public:
    explicit X11Screen(std::shared_ptr<Connection> connection)
        : connection_(std::move(connection)) {}

    uint32_t ReadPixel(int32_t x, int32_t y) override {
        uint32_t colour = ClrInvalid;
        ReadRegion(x, y, 1, 1, std::span(&colour, 1));
        return colour;
    }

    void ReadRegion(int32_t left, int32_t top, int32_t width, int32_t height,
                    std::span<uint32_t> out) override {
        CheckRegionArguments(width, height, out);
        std::fill_n(out.begin(), int64_t{width} * height, ClrInvalid);
        Display* display = connection_->Get();
        // Only the part on the screen is asked for; XGetImage fails for a rectangle beyond it.
        const int64_t x0 = std::max<int64_t>(left, 0);
        const int64_t y0 = std::max<int64_t>(top, 0);
        const int64_t x1 =
            std::min<int64_t>(int64_t{left} + width, DisplayWidth(display, connection_->Screen));
        const int64_t y1 =
            std::min<int64_t>(int64_t{top} + height, DisplayHeight(display, connection_->Screen));
        if (x0 >= x1 || y0 >= y1) {
            return;
        }
        // No XSync around it: XGetImage waits for its reply, and an error (BadMatch once the
        // screen has shrunk below the size the connection was set up with) comes in the reply's
        // place, runs the handler inside _XReply and makes XGetImage return NULL.
        ImagePtr image(XGetImage(display, connection_->Root, static_cast<int>(x0),
                                 static_cast<int>(y0), static_cast<unsigned>(x1 - x0),
                                 static_cast<unsigned>(y1 - y0), AllPlanes, ZPixmap));
        if (!image) {
            return;
        }
        const auto at = [&](int column, int row) -> uint32_t& {
            return out[static_cast<size_t>((y0 - top + row) * width + (x0 - left + column))];
        };
        const PixelFormat& format = connection_->Format;
        if (format.TrueColour) {
            ForEachPixel(*image, [&](int column, int row, unsigned long pixel) {
                at(column, row) = format.ColourRef(pixel);
            });
        } else {
            ReadThroughColormap(*image, at);
        }
    }

  private:
    // One XQueryColors for the distinct pixels of the image, not one request per pixel.
    template <typename At>
    void ReadThroughColormap(const XImage& image, At at) {
        std::vector<unsigned long> pixels;
        pixels.reserve(static_cast<size_t>(image.width) * static_cast<size_t>(image.height));
        ForEachPixel(image, [&](int, int, unsigned long pixel) { pixels.push_back(pixel); });
        std::vector<unsigned long> distinct = pixels;
        std::ranges::sort(distinct);
        distinct.erase(std::ranges::unique(distinct).begin(), distinct.end());
        std::vector<XColor> colours(distinct.size());
        for (size_t i = 0; i < distinct.size(); ++i) {
            colours[i].pixel = distinct[i];
        }
        ErrorLog& errors = connection_->Errors;
        errors.Watch();
        // Leaves the colours untouched and returns no status when the server refuses, so only
        // the error log tells; the reply has been read when it returns, so no XSync is needed.
        XQueryColors(connection_->Get(), connection_->Format.Map, colours.data(),
                     static_cast<int>(colours.size()));
        if (errors.Failed()) {
            return;
        }
        for (int row = 0; row < image.height; ++row) {
            for (int column = 0; column < image.width; ++column) {
                const unsigned long pixel =
                    pixels[static_cast<size_t>(row) * static_cast<size_t>(image.width) +
                           static_cast<size_t>(column)];
                const XColor& colour = colours[static_cast<size_t>(
                    std::ranges::lower_bound(distinct, pixel) - distinct.begin())];
                at(column, row) = uint32_t{colour.red} >> 8 | (uint32_t{colour.green} >> 8) << 8 |
                                  (uint32_t{colour.blue} >> 8) << 16;
            }
        }
    }

    std::shared_ptr<Connection> connection_;
};

class X11Desktop final : public Desktop {
  public:
    X11Desktop(DisplayPtr display, DesktopCapabilities capabilities)
        : connection_(std::make_shared<Connection>(std::move(display))),
          capabilities_(capabilities) {}

    int32_t ColourBits() override {
        // The depth, not the bits per pixel: a 24-bit visual is stored in 32 bits per pixel.
        return DefaultDepth(connection_->Get(), connection_->Screen);
    }

    ScreenSize ScreenPixels() override {
        return {DisplayWidth(connection_->Get(), connection_->Screen),
                DisplayHeight(connection_->Get(), connection_->Screen)};
    }

    void MovePointer(int16_t x, int16_t y) override {
        connection_->Errors.Watch();
        // False only when the server lacks XTest; otherwise the request just waits in Xlib's
        // buffer.
        if (!XTestFakeMotionEvent(connection_->Get(), connection_->Screen, x, y, CurrentTime)) {
            Unavailable();
        }
        SyncFake();
    }

    ScreenPoint PointerPosition() override {
        const PointerState state = QueryPointer();
        return {static_cast<int16_t>(state.X), static_cast<int16_t>(state.Y)};
    }

    void PressButton(MouseButton button) override { FakeButton(button, True); }
    void ReleaseButton(MouseButton button) override { FakeButton(button, False); }

    bool IsKeyDown(Key key) override {
        switch (key) {
            case Key::LeftButton: return (QueryPointer().Mask & Button1Mask) != 0;
            case Key::RightButton: return (QueryPointer().Mask & Button3Mask) != 0;
            case Key::Escape: return EscapeDown();
        }
        return false;
    }

    std::unique_ptr<ScreenReader> OpenScreen() override {
        ReadPointerMapping();
        return std::make_unique<X11Screen>(connection_);
    }

    DesktopCapabilities Capabilities() override { return capabilities_; }

    void Sleep(uint32_t milliseconds) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }

    int32_t TickCount() override {
        const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now().time_since_epoch());
        // A 32-bit tick counter read as signed: wraps to negative after about 24.8 days.
        return std::bit_cast<int32_t>(static_cast<uint32_t>(elapsed.count()));
    }

  private:
    // XTest presses the device's own buttons, which the server's pointer mapping then turns into
    // the buttons windows see: on a left-handed mapping (3 2 1) a fake press of button 1 reaches
    // the applet as button 3, its colour pick-up. So the device button that the mapping turns
    // into the one meant is pressed. The mapping is read again with every screen opened for a
    // capture or a run, so a change between runs is followed at no cost to the drawing.
    void FakeButton(MouseButton button, Bool press) {
        const unsigned int wanted = button == MouseButton::Left ? 1 : 3;
        connection_->Errors.Watch();
        if (!XTestFakeButtonEvent(connection_->Get(), DeviceButtonFor(wanted), press,
                                  CurrentTime)) {
            Unavailable();
        }
        SyncFake();
    }

    unsigned int DeviceButtonFor(unsigned int logical) {
        if (mapping_.empty()) {
            ReadPointerMapping();
        }
        for (size_t device = 0; device < mapping_.size(); ++device) {
            if (mapping_[device] == logical) {
                return static_cast<unsigned int>(device + 1);
            }
        }
        // No device button gives it (switched off by a mapping of 0): the unmapped one, which
        // the server then drops, as it would the user's own press.
        return logical;
    }

    void ReadPointerMapping() {
        unsigned char map[256] = {};
        const int count = XGetPointerMapping(connection_->Get(), map, static_cast<int>(sizeof map));
        mapping_.assign(map, map + std::clamp(count, 0, static_cast<int>(sizeof map)));
    }

    struct PointerState {
        int X = 0;
        int Y = 0;
        unsigned int Mask = 0;
    };

    // XSync, not XFlush, after a faked event. Our own later requests would be ordered after it
    // anyway, but the applet is another client: only the round trip tells that the server has
    // moved the pointer or pressed the button and queued the applet's events before we go on to
    // wait for and read its paint. It also brings back any error of the fake request.
    void SyncFake() {
        XSync(connection_->Get(), False);
        if (connection_->Errors.Failed()) {
            Unavailable();
        }
    }

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
        XQueryPointer(connection_->Get(), connection_->Root, &root, &child, &rootX, &rootY,
                      &windowX, &windowY, &mask);
        if (root == None) {
            Unavailable();
        }
        return {rootX, rootY, mask};
    }

    bool EscapeDown() {
        // 0 when no key of the current keyboard mapping produces Escape.
        const KeyCode code = XKeysymToKeycode(connection_->Get(), XK_Escape);
        if (code == 0) {
            return false;
        }
        char keys[32] = {};
        connection_->Errors.Watch();
        // Returns no status; a refused query leaves keys as they were, so the log tells.
        XQueryKeymap(connection_->Get(), keys);
        if (connection_->Errors.Failed()) {
            Unavailable();
        }
        return (static_cast<unsigned char>(keys[code / 8]) >> (code % 8) & 1u) != 0;
    }

    std::shared_ptr<Connection> connection_;
    DesktopCapabilities capabilities_;
    std::vector<unsigned char> mapping_;  // logical button of each device button, from 1
};

// A Wayland session's X server is a compatibility server inside the compositor: XTest moves its
// pointer and XGetImage reads its windows only, while the compositor's own windows (a browser
// run natively) neither see the pointer nor show in a read.
DesktopCapabilities CapabilitiesOfSession() {
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    const char* session = std::getenv("XDG_SESSION_TYPE");
    const bool onWayland = (wayland != nullptr && *wayland != '\0') ||
                           (session != nullptr && std::string_view(session) == "wayland");
    return {.ReachesEveryWindow = !onWayland};
}

}  // namespace

namespace {

std::unique_ptr<Desktop> OpenOn(DisplayPtr display) {
    int eventBase = 0;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    if (!XTestQueryExtension(display.get(), &eventBase, &errorBase, &major, &minor)) {
        Unavailable();
    }
    return std::make_unique<X11Desktop>(std::move(display), CapabilitiesOfSession());
}

}  // namespace

std::unique_ptr<Desktop> OpenPlatformDesktop(const std::string& displayName) {
    DisplayPtr display(XOpenDisplay(displayName.empty() ? nullptr : displayName.c_str()));
    if (!display) {
        Unavailable();
    }
    return OpenOn(std::move(display));
}

std::unique_ptr<Desktop> OpenX11Desktop(_XDisplay* borrowed) {
    if (borrowed == nullptr) {
        Unavailable();
    }
    return OpenOn(DisplayPtr(borrowed, DisplayCloser{false}));
}

}  // namespace inkrelay
