// The X11 desktop against a private Xvfb; a second client connection observes what it did.

// Before Xlib, whose None and Bool macros break gtest's declarations.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <memory>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "code_of.h"
#include "platform_desktop.h"
#include "runtime_error.h"
#include "screen_shrink.h"
#include "xvfb_server.h"

namespace inkrelay {
namespace {

using test::CodeOf;
using test::XvfbServer;

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};
using DisplayPtr = std::unique_ptr<Display, DisplayCloser>;

DisplayPtr Connect(const XvfbServer& server) {
    DisplayPtr display(XOpenDisplay(server.DisplayName().c_str()));
    if (!display) {
        throw std::runtime_error("cannot connect to " + server.DisplayName());
    }
    return display;
}

// Polls until done() holds or five seconds pass.
template <typename Done>
bool WaitUntil(Done done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

int32_t OpenErrorCode(const std::string& displayName) {
    try {
        OpenPlatformDesktop(displayName);
    } catch (const RuntimeError& error) {
        return error.Code();
    }
    return 0;
}

// A mapped window of one background colour, made by the observing client.
Window ShowWindow(Display* display, int x, int y, int width, int height, unsigned long pixel,
                  long eventMask = NoEventMask) {
    const Window window =
        XCreateSimpleWindow(display, DefaultRootWindow(display), x, y, static_cast<unsigned>(width),
                            static_cast<unsigned>(height), 0, 0, pixel);
    XSelectInput(display, window, eventMask | StructureNotifyMask);
    XMapWindow(display, window);
    XEvent event;
    if (!WaitUntil([&] { return XCheckTypedWindowEvent(display, window, MapNotify, &event); })) {
        throw std::runtime_error("the test window was not mapped within five seconds");
    }
    return window;
}

// Draws pixels, width to a row, onto the root window at (x, y); the server has drawn them on
// return.
void PutPixels(Display* display, int x, int y, int width,
               const std::vector<unsigned long>& pixels) {
    const int height = static_cast<int>(pixels.size()) / width;
    const int screen = DefaultScreen(display);
    const auto destroy = [](XImage* image) { XDestroyImage(image); };
    std::unique_ptr<XImage, decltype(destroy)> image(
        XCreateImage(display, DefaultVisual(display, screen), DefaultDepth(display, screen),
                     ZPixmap, 0, nullptr, width, height, 32, 0),
        destroy);
    if (!image) {
        throw std::runtime_error("XCreateImage failed");
    }
    // XDestroyImage frees the data with free().
    image->data = static_cast<char*>(std::calloc(image->bytes_per_line, height));
    if (image->data == nullptr) {
        throw std::bad_alloc();
    }
    for (size_t i = 0; i < pixels.size(); ++i) {
        XPutPixel(image.get(), static_cast<int>(i) % width, static_cast<int>(i) / width, pixels[i]);
    }
    XPutImage(display, DefaultRootWindow(display), DefaultGC(display, screen), image.get(), 0, 0, x,
              y, static_cast<unsigned>(width), static_cast<unsigned>(height));
    XSync(display, False);
}

std::optional<XEvent> NextEvent(Display* display, Window window, long mask) {
    XEvent event;
    if (WaitUntil([&] { return XCheckWindowEvent(display, window, mask, &event) == True; })) {
        return event;
    }
    return std::nullopt;
}

struct ScreenMode {
    int Width;
    int Height;
    int Depth;
};

void PrintTo(const ScreenMode& mode, std::ostream* out) {
    *out << mode.Width << "x" << mode.Height << "x" << mode.Depth;
}

class DesktopX11Depth : public ::testing::TestWithParam<ScreenMode> {};

TEST_P(DesktopX11Depth, ReportsDepthAndSize) {
    const ScreenMode screen = GetParam();
    XvfbServer server(screen.Width, screen.Height, screen.Depth);
    auto desktop = OpenPlatformDesktop(server.DisplayName());
    EXPECT_EQ(desktop->ColourBits(), screen.Depth);
    EXPECT_EQ(desktop->ScreenPixels().Width, screen.Width);
    EXPECT_EQ(desktop->ScreenPixels().Height, screen.Height);
}

INSTANTIATE_TEST_SUITE_P(Screens, DesktopX11Depth,
                         ::testing::Values(ScreenMode{320, 200, 24}, ScreenMode{640, 480, 16},
                                           ScreenMode{200, 150, 8}),
                         [](const auto& info) {
                             return "Depth" + std::to_string(info.param.Depth);
                         });

class DesktopX11 : public ::testing::Test {
  protected:
    static constexpr int Width = 320;
    static constexpr int Height = 200;
    XvfbServer server_{Width, Height, 24};
    std::unique_ptr<Desktop> desktop_ = OpenPlatformDesktop(server_.DisplayName());
    DisplayPtr observer_ = Connect(server_);

    ScreenPoint ObservedPointer() {
        Window root = None;
        Window child = None;
        int rootX = 0, rootY = 0, x = 0, y = 0;
        unsigned mask = 0;
        XQueryPointer(observer_.get(), DefaultRootWindow(observer_.get()), &root, &child, &rootX,
                      &rootY, &x, &y, &mask);
        return {static_cast<int16_t>(rootX), static_cast<int16_t>(rootY)};
    }
};

TEST_F(DesktopX11, MovesTheServersPointerAndReadsItBack) {
    for (const ScreenPoint to : {ScreenPoint{10, 20}, ScreenPoint{Width - 1, 0},
                                 ScreenPoint{0, Height - 1}, ScreenPoint{123, 45}}) {
        desktop_->MovePointer(to.X, to.Y);
        // Another client first: the move must have reached the server, not sit in a buffer.
        EXPECT_EQ(ObservedPointer(), to) << to.X << "," << to.Y;
        EXPECT_EQ(desktop_->PointerPosition(), to) << to.X << "," << to.Y;
    }
}

TEST_F(DesktopX11, PointerIsClampedAtTheScreenEdges) {
    desktop_->MovePointer(Width + 50, Height + 70);
    EXPECT_EQ(desktop_->PointerPosition(), (ScreenPoint{Width - 1, Height - 1}));
    desktop_->MovePointer(-5, -7);
    EXPECT_EQ(desktop_->PointerPosition(), (ScreenPoint{0, 0}));
    desktop_->MovePointer(INT16_MAX, 30);
    EXPECT_EQ(desktop_->PointerPosition(), (ScreenPoint{Width - 1, 30}));
}

TEST_F(DesktopX11, ButtonEventsSetTheButtonState) {
    EXPECT_FALSE(desktop_->IsKeyDown(Key::LeftButton));
    EXPECT_FALSE(desktop_->IsKeyDown(Key::RightButton));
    desktop_->PressButton(MouseButton::Left);
    EXPECT_TRUE(desktop_->IsKeyDown(Key::LeftButton));
    EXPECT_FALSE(desktop_->IsKeyDown(Key::RightButton));
    desktop_->PressButton(MouseButton::Right);
    desktop_->ReleaseButton(MouseButton::Left);
    EXPECT_FALSE(desktop_->IsKeyDown(Key::LeftButton));
    EXPECT_TRUE(desktop_->IsKeyDown(Key::RightButton));
    desktop_->ReleaseButton(MouseButton::Right);
    EXPECT_FALSE(desktop_->IsKeyDown(Key::RightButton));
    EXPECT_FALSE(desktop_->IsKeyDown(Key::Escape));
}

// Windows see the user's buttons whatever the server's mapping; a left-handed one (3 2 1) swaps
// the device's, which is what XTest presses. The mapping is read again with every screen opened,
// as each capture and run opens one.
class DesktopX11Mapping : public DesktopX11, public ::testing::WithParamInterface<bool> {};

TEST_P(DesktopX11Mapping, ButtonEventsReachTheWindowUnderThePointerAsTheUsersButtons) {
    if (GetParam()) {
        unsigned char map[256] = {};
        const int count = XGetPointerMapping(observer_.get(), map, sizeof map);
        ASSERT_GE(count, 3);
        std::swap(map[0], map[2]);
        ASSERT_EQ(XSetPointerMapping(observer_.get(), map, count), MappingSuccess);
        desktop_->OpenScreen();
    }
    const long mask = ButtonPressMask | ButtonReleaseMask;
    const Window window = ShowWindow(observer_.get(), 50, 60, 40, 30, 0, mask);
    desktop_->MovePointer(62, 75);
    const struct {
        MouseAction Action;
        int Type;
        unsigned Button;
    } cases[] = {{MouseAction::LeftDown, ButtonPress, 1},
                 {MouseAction::LeftUp, ButtonRelease, 1},
                 {MouseAction::RightDown, ButtonPress, 3},
                 {MouseAction::RightUp, ButtonRelease, 3}};
    for (const auto& c : cases) {
        Replay(*desktop_, c.Action);
        const std::optional<XEvent> event = NextEvent(observer_.get(), window, mask);
        ASSERT_TRUE(event.has_value()) << "no event for action " << static_cast<int>(c.Action);
        EXPECT_EQ(event->type, c.Type);
        EXPECT_EQ(event->xbutton.button, c.Button);
        EXPECT_EQ(event->xbutton.x, 12);
        EXPECT_EQ(event->xbutton.y, 15);
        EXPECT_EQ(desktop_->IsKeyDown(ButtonOf(c.Action) == MouseButton::Left ? Key::LeftButton
                                                                              : Key::RightButton),
                  IsPress(c.Action));
    }
}

INSTANTIATE_TEST_SUITE_P(Mappings, DesktopX11Mapping, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "LeftHanded" : "Usual"; });

TEST_F(DesktopX11, EscapeIsDownWhileTheKeyIsHeld) {
    Display* display = observer_.get();
    const KeyCode escape = XKeysymToKeycode(display, XK_Escape);
    ASSERT_NE(escape, 0);
    EXPECT_FALSE(desktop_->IsKeyDown(Key::Escape));
    XTestFakeKeyEvent(display, escape, True, CurrentTime);
    XSync(display, False);
    EXPECT_TRUE(WaitUntil([&] { return desktop_->IsKeyDown(Key::Escape); }));
    EXPECT_FALSE(desktop_->IsKeyDown(Key::LeftButton));
    XTestFakeKeyEvent(display, escape, False, CurrentTime);
    XSync(display, False);
    EXPECT_TRUE(WaitUntil([&] { return !desktop_->IsKeyDown(Key::Escape); }));
}

TEST_F(DesktopX11, TicksFollowTheRealClock) {
    const int32_t before = desktop_->TickCount();
    const auto start = std::chrono::steady_clock::now();
    desktop_->Sleep(60);
    const auto slept = std::chrono::steady_clock::now() - start;
    const uint32_t ticks =
        static_cast<uint32_t>(desktop_->TickCount()) - static_cast<uint32_t>(before);
    EXPECT_GE(slept, std::chrono::milliseconds(60));
    EXPECT_GE(ticks, 60u);
    EXPECT_LT(ticks, 5000u);
}

TEST_F(DesktopX11, OffScreenReadsAreInvalidAndDoNotEndTheProcess) {
    // Runs under Xlib's default error handler, which would exit on an untrapped error.
    auto dc = desktop_->OpenScreen();
    for (auto [x, y] : std::vector<std::pair<int32_t, int32_t>>{
             {-1, 0}, {0, -1}, {Width, 0}, {0, Height}, {INT32_MIN, INT32_MAX}, {Width, Height}}) {
        EXPECT_EQ(dc->ReadPixel(x, y), ClrInvalid) << x << "," << y;
    }
    EXPECT_NE(dc->ReadPixel(Width - 1, Height - 1), ClrInvalid);
    EXPECT_NE(dc->ReadPixel(0, 0), ClrInvalid);
}

int errorsSeen = 0;
int CountError(Display*, XErrorEvent*) {
    ++errorsSeen;
    return 0;
}

TEST_F(DesktopX11, ReadsLeaveTheProgramsErrorHandlerInPlace) {
    auto dc = desktop_->OpenScreen();
    errorsSeen = 0;
    const auto previous = XSetErrorHandler(&CountError);
    EXPECT_NE(dc->ReadPixel(3, 4), ClrInvalid);
    EXPECT_EQ(dc->ReadPixel(-3, 4), ClrInvalid);
    EXPECT_EQ(errorsSeen, 0);
    EXPECT_EQ(XSetErrorHandler(previous), &CountError);
}

struct Rect {
    int32_t Left, Top, Width, Height;
};

void PrintTo(const Rect& r, std::ostream* out) {
    *out << r.Width << "x" << r.Height << " at " << r.Left << "," << r.Top;
}

constexpr uint32_t Sentinel = 0x5A5A5A5A;

TEST_F(DesktopX11, ReadRegionGivesThePaintedPixelsAndInvalidOffTheScreen) {
    ASSERT_EQ(DefaultVisual(observer_.get(), 0)->red_mask, 0xFF0000u);
    // 0x00BBGGRR, different for every pixel, so a shifted or transposed read shows.
    const auto colour = [](int64_t x, int64_t y) -> uint32_t {
        if (x < 0 || y < 0 || x >= Width || y >= Height) {
            return ClrInvalid;
        }
        return static_cast<uint32_t>((x & 0xFF) | y << 8 | (x >> 8 | ((x + y) & 0x7F) << 1) << 16);
    };
    std::vector<unsigned long> screen;
    for (int y = 0; y < Height; ++y) {
        for (int x = 0; x < Width; ++x) {
            const uint32_t c = colour(x, y);
            screen.push_back((c & 0xFF) << 16 | (c & 0xFF00) | c >> 16);
        }
    }
    PutPixels(observer_.get(), 0, 0, Width, screen);

    auto dc = desktop_->OpenScreen();
    for (const Rect& r : {Rect{5, 7, 21, 13}, Rect{Width - 10, Height - 4, 21, 13},
                          Rect{-6, -3, 21, 13}, Rect{-2, 50, Width + 4, 3}, Rect{Width, 0, 4, 4},
                          Rect{INT32_MAX - 5, INT32_MAX - 1, 8, 3}, Rect{INT32_MIN, 0, 2, 2}}) {
        SCOPED_TRACE(::testing::PrintToString(r));
        std::vector<uint32_t> expected;
        for (int32_t row = 0; row < r.Height; ++row) {
            for (int32_t column = 0; column < r.Width; ++column) {
                expected.push_back(colour(int64_t{r.Left} + column, int64_t{r.Top} + row));
            }
        }
        // One colour past the rectangle shows a write beyond it.
        expected.push_back(Sentinel);
        std::vector<uint32_t> out(expected.size(), Sentinel);
        dc->ReadRegion(r.Left, r.Top, r.Width, r.Height, out);
        EXPECT_EQ(out, expected);
    }
}

TEST_F(DesktopX11, ReadRegionChecksItsArgumentsBeforeReading) {
    auto dc = desktop_->OpenScreen();
    std::vector<uint32_t> out(6, Sentinel);
    const auto code = [&](Rect r, std::span<uint32_t> to) {
        return CodeOf([&] { dc->ReadRegion(r.Left, r.Top, r.Width, r.Height, to); });
    };
    EXPECT_EQ(code({0, 0, 0, 0}, {}), 0);
    EXPECT_EQ(code({10, 10, 0, 5}, out), 0);
    EXPECT_EQ(code({INT32_MIN, INT32_MAX, 5, 0}, out), 0);
    for (const Rect& r : {Rect{0, 0, 7, 1}, Rect{0, 0, -1, 2}, Rect{0, 0, INT32_MAX, INT32_MAX}}) {
        EXPECT_EQ(code(r, out), ErrorCode::InvalidArgument) << ::testing::PrintToString(r);
    }
    EXPECT_EQ(out, std::vector<uint32_t>(6, Sentinel));
    dc->ReadRegion(0, 0, 3, 2, out);
    EXPECT_EQ(std::ranges::count(out, Sentinel), 0);
}

TEST_F(DesktopX11, ADcKeptPastItsDesktopStillReads) {
    auto dc = desktop_->OpenScreen();
    desktop_.reset();
    EXPECT_NE(dc->ReadPixel(1, 1), ClrInvalid);
}

TEST(DesktopX11Errors, AShrunkScreenReadsInvalidWithoutEndingTheProcess) {
    XvfbServer server(320, 200, 24);
    DisplayPtr observer = Connect(server);
    errorsSeen = 0;
    const auto previous = XSetErrorHandler(&CountError);
    {
        auto first = OpenPlatformDesktop(server.DisplayName());
        auto desktop = OpenPlatformDesktop(server.DisplayName());
        auto dc = desktop->OpenScreen();
        // Closed out of order: the handler stays while any desktop is open.
        first.reset();
        if (!test::ShrinkScreen(observer.get(), 160, 100)) {
            XSetErrorHandler(previous);
            GTEST_SKIP() << "this Xvfb cannot change its screen size";
        }
        // The observer's errors still reach the program's handler.
        EXPECT_EQ(errorsSeen, 0);
        // The desktop still knows the old size, so it asks for the pixel and gets BadMatch.
        EXPECT_EQ(dc->ReadPixel(200, 150), ClrInvalid);
        EXPECT_NE(dc->ReadPixel(10, 10), ClrInvalid);
        EXPECT_EQ(errorsSeen, 0);
        XMapWindow(observer.get(), 0x7FFFFFF0);
        XSync(observer.get(), False);
        EXPECT_EQ(errorsSeen, 1);
    }
    EXPECT_EQ(XSetErrorHandler(previous), &CountError);
}

// Paints one row of pixels at (100, 30) on the server's black root and has a desktop read it with
// a column of the root on each side.
std::vector<uint32_t> PaintAndReadRow(const XvfbServer& server, Display* observer,
                                      const std::vector<unsigned long>& pixels) {
    auto desktop = OpenPlatformDesktop(server.DisplayName());
    PutPixels(observer, 100, 30, static_cast<int>(pixels.size()), pixels);
    std::vector<uint32_t> row(pixels.size() + 2, Sentinel);
    desktop->OpenScreen()->ReadRegion(99, 30, static_cast<int32_t>(row.size()), 1, row);
    return row;
}

TEST(DesktopX11Pixels, ReadsASixteenBitRegionScaledToFullRange) {
    XvfbServer server(320, 200, 16, {"-br"});
    EXPECT_EQ(PaintAndReadRow(server, Connect(server).get(),
                              {0xF800, 0x07E0, 0x001F, 0xFFFF, 0x0000, 0x8408, 0x0821}),
              (std::vector<uint32_t>{0, 0x0000FF, 0x00FF00, 0xFF0000, 0xFFFFFF, 0, 0x428284,
                                     0x080408, 0}));
}

TEST(DesktopX11Pixels, ReadsAColormappedRegionThroughTheColormap) {
    XvfbServer server(320, 200, 8, {"-cc", "3", "-br"});
    DisplayPtr observer = Connect(server);
    ASSERT_EQ(DefaultVisual(observer.get(), 0)->c_class, PseudoColor);
    std::vector<unsigned long> pixels;
    std::vector<uint32_t> expected{0};
    for (const uint32_t rgb : {0x1280E4u, 0xFF0040u, 0x00C001u}) {
        XColor colour{};
        colour.red = static_cast<unsigned short>(rgb >> 8 & 0xFF00);
        colour.green = static_cast<unsigned short>(rgb & 0xFF00);
        colour.blue = static_cast<unsigned short>(rgb << 8 & 0xFF00);
        ASSERT_TRUE(XAllocColor(observer.get(), DefaultColormap(observer.get(), 0), &colour));
        pixels.push_back(colour.pixel);
        expected.push_back(uint32_t{colour.red} >> 8 | (uint32_t{colour.green} >> 8) << 8 |
                           (uint32_t{colour.blue} >> 8) << 16);
    }
    // The first entry again after the others.
    pixels.push_back(pixels[0]);
    expected.insert(expected.end(), {expected[1], 0});
    EXPECT_EQ(PaintAndReadRow(server, observer.get(), pixels), expected);
}

struct Painted {
    unsigned long Pixel;
    uint32_t ColourRef;
};

// Paints each colour as a window at (100, 30) on a black root and reads it back.
void ExpectPaintedColoursReadBack(int depth, const std::vector<Painted>& colours) {
    XvfbServer server(320, 200, depth, {"-br"});
    auto desktop = OpenPlatformDesktop(server.DisplayName());
    DisplayPtr observer = Connect(server);
    auto dc = desktop->OpenScreen();
    for (const Painted& colour : colours) {
        SCOPED_TRACE(::testing::Message()
                     << "depth " << depth << " pixel 0x" << std::hex << colour.Pixel);
        const Window window = ShowWindow(observer.get(), 100, 30, 20, 10, colour.Pixel);
        XSync(observer.get(), False);
        EXPECT_TRUE(WaitUntil([&] { return dc->ReadPixel(105, 35) == colour.ColourRef; }))
            << "read 0x" << std::hex << dc->ReadPixel(105, 35) << ", want 0x" << colour.ColourRef;
        EXPECT_EQ(dc->ReadPixel(119, 39), colour.ColourRef);
        // Just outside the window, and (y, x) of a point inside it, are the root's black.
        EXPECT_EQ(dc->ReadPixel(99, 35), 0u);
        EXPECT_EQ(dc->ReadPixel(105, 29), 0u);
        EXPECT_EQ(dc->ReadPixel(35, 105), 0u);
        XDestroyWindow(observer.get(), window);
        XSync(observer.get(), False);
    }
}

TEST(DesktopX11Pixels, ReadsTrueColourAs0x00BBGGRR) {
    ExpectPaintedColoursReadBack(
        24,
        {{0x123456, 0x563412}, {0xFF0000, 0x0000FF}, {0x0000FF, 0xFF0000}, {0x00FF00, 0x00FF00}});
}

TEST(DesktopX11Pixels, ScalesSixteenBitChannelsToFullRange) {
    // 5-6-5 bits: 16/31 -> 132, 32/63 -> 130, 8/31 -> 66.
    ExpectPaintedColoursReadBack(16, {{0xF800, 0x0000FF},
                                      {0x07E0, 0x00FF00},
                                      {0x001F, 0xFF0000},
                                      {(16u << 11) | (32u << 5) | 8u, 0x428284},
                                      {0xFFFF, 0xFFFFFF}});
}

TEST(DesktopX11Pixels, ReadsColormappedScreensThroughTheColormap) {
    // -cc 3: PseudoColor, where a pixel is an index into the colormap.
    XvfbServer server(320, 200, 8, {"-cc", "3"});
    DisplayPtr observer = Connect(server);
    ASSERT_NE(DefaultVisual(observer.get(), 0)->c_class, TrueColor);
    XColor colour{};
    colour.red = 0x1200;
    colour.green = 0x8000;
    colour.blue = 0xE400;
    ASSERT_TRUE(XAllocColor(observer.get(), DefaultColormap(observer.get(), 0), &colour));
    const uint32_t expected = uint32_t{colour.red} >> 8 | (uint32_t{colour.green} >> 8) << 8 |
                              (uint32_t{colour.blue} >> 8) << 16;
    ShowWindow(observer.get(), 100, 30, 20, 10, colour.pixel);
    XSync(observer.get(), False);

    auto desktop = OpenPlatformDesktop(server.DisplayName());
    auto dc = desktop->OpenScreen();
    EXPECT_TRUE(WaitUntil([&] { return dc->ReadPixel(105, 35) == expected; }))
        << "read 0x" << std::hex << dc->ReadPixel(105, 35) << ", want 0x" << expected;
}

TEST(DesktopX11Open, UnreachableDisplaysAreDeviceUnavailable) {
    EXPECT_EQ(OpenErrorCode("not a display name"), ErrorCode::DeviceUnavailable);
    // A stopped server's number may be taken again at once by a test running beside this one;
    // servers here take the lowest free numbers, so a high one stays free.
    EXPECT_EQ(OpenErrorCode(":65000"), ErrorCode::DeviceUnavailable);
}

// The session's words for Wayland, as a desktop session sets them for the programs it starts.
TEST(DesktopX11Open, AWaylandSessionIsDeclaredAsReachingOnlySomeWindows) {
    XvfbServer server(64, 64, 24);
    struct Saved {
        const char* Name;
        std::optional<std::string> Value;
        ~Saved() {
            if (Value)
                setenv(Name, Value->c_str(), 1);
            else
                unsetenv(Name);
        }
    };
    const auto saved = [](const char* name) {
        const char* value = std::getenv(name);
        return Saved{name, value ? std::optional<std::string>(value) : std::nullopt};
    };
    const Saved display = saved("WAYLAND_DISPLAY"), session = saved("XDG_SESSION_TYPE");
    const auto reaches = [&](const char* wayland, const char* type) {
        wayland ? setenv("WAYLAND_DISPLAY", wayland, 1) : unsetenv("WAYLAND_DISPLAY");
        type ? setenv("XDG_SESSION_TYPE", type, 1) : unsetenv("XDG_SESSION_TYPE");
        return OpenPlatformDesktop(server.DisplayName())->Capabilities().ReachesEveryWindow;
    };
    EXPECT_TRUE(reaches(nullptr, nullptr));
    EXPECT_TRUE(reaches(nullptr, "x11"));
    EXPECT_TRUE(reaches("", "tty"));
    EXPECT_FALSE(reaches("wayland-0", nullptr));
    EXPECT_FALSE(reaches(nullptr, "wayland"));
}

TEST(DesktopX11Open, ADisplayWithoutXTestIsDeviceUnavailable) {
    XvfbServer server(64, 64, 24, {"-tst"});
    DisplayPtr observer = Connect(server);
    int event = 0, error = 0, major = 0, minor = 0;
    ASSERT_FALSE(XTestQueryExtension(observer.get(), &event, &error, &major, &minor));
    EXPECT_EQ(OpenErrorCode(server.DisplayName()), ErrorCode::DeviceUnavailable);
}

TEST(XvfbServerStart, FailsFastWithXvfbsOwnWords) {
    const auto start = std::chrono::steady_clock::now();
    try {
        XvfbServer server(64, 64, 24, {"-no-such-option"});
        FAIL() << "started on " << server.DisplayName();
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find("-no-such-option"), std::string::npos)
            << error.what();
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

// Sets an environment variable for one scope and puts the old value back.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        Set(value);
    }
    ~ScopedEnv() { Set(old_ ? old_->c_str() : nullptr); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    void Set(const char* value) {
        if (value != nullptr) {
            setenv(name_, value, 1);
        } else {
            unsetenv(name_);
        }
    }

    const char* name_;
    std::optional<std::string> old_;
};

TEST(DesktopX11Open, AnEmptyNameUsesTheDisplayOfTheEnvironment) {
    XvfbServer server(333, 222, 24);
    {
        ScopedEnv display("DISPLAY", server.DisplayName().c_str());
        auto desktop = OpenPlatformDesktop();
        EXPECT_EQ(desktop->ScreenPixels().Width, 333);
        EXPECT_EQ(desktop->ScreenPixels().Height, 222);
    }
    ScopedEnv none("DISPLAY", nullptr);
    EXPECT_EQ(OpenErrorCode(""), ErrorCode::DeviceUnavailable);
}

}  // namespace
}  // namespace inkrelay
