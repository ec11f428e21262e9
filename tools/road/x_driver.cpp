#include "x_driver.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <thread>

#include "desktop_x11.h"
#include "runtime_error.h"

namespace inkrelay::road {

namespace {

constexpr auto PollEvery = std::chrono::milliseconds(4);

// A window may vanish between listing and asking about it; such an error is no fault here.
int errorsSeen = 0;
int CountError(Display*, XErrorEvent*) {
    ++errorsSeen;
    return 0;
}

class ToleratedErrors {
  public:
    explicit ToleratedErrors(Display* display)
        : display_(display), previous_(XSetErrorHandler(CountError)), before_(errorsSeen) {}
    ~ToleratedErrors() {
        XSync(display_, False);
        XSetErrorHandler(previous_);
    }
    ToleratedErrors(const ToleratedErrors&) = delete;
    ToleratedErrors& operator=(const ToleratedErrors&) = delete;
    bool Failed() {
        XSync(display_, False);
        return errorsSeen != before_;
    }

  private:
    Display* display_;
    XErrorHandler previous_;
    int before_;
};

struct XFreeDeleter {
    void operator()(void* data) const {
        if (data != nullptr)
            XFree(data);
    }
};

std::string PropertyText(Display* display, Window window, Atom property, Atom type) {
    Atom actualType = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* raw = nullptr;
    if (XGetWindowProperty(display, window, property, 0, 4096, False, type, &actualType, &format,
                           &count, &after, &raw) != Success)
        return {};
    const std::unique_ptr<unsigned char, XFreeDeleter> data(raw);
    if (data == nullptr || format != 8 || actualType != type)
        return {};
    return {reinterpret_cast<const char*>(data.get()), count};
}

std::string NameOf(Display* display, Window window) {
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    std::string name =
        PropertyText(display, window, XInternAtom(display, "_NET_WM_NAME", False), utf8);
    if (name.empty())
        name = PropertyText(display, window, XA_WM_NAME, utf8);
    if (name.empty())
        name = PropertyText(display, window, XA_WM_NAME, XA_STRING);
    return name;
}

std::vector<Window> ClientList(Display* display) {
    const Window root = DefaultRootWindow(display);
    Atom actualType = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* raw = nullptr;
    std::vector<Window> windows;
    if (XGetWindowProperty(display, root, XInternAtom(display, "_NET_CLIENT_LIST", False), 0, 4096,
                           False, XA_WINDOW, &actualType, &format, &count, &after,
                           &raw) == Success) {
        const std::unique_ptr<unsigned char, XFreeDeleter> data(raw);
        if (data != nullptr && format == 32) {
            const auto* ids = reinterpret_cast<const unsigned long*>(data.get());
            windows.assign(ids, ids + count);
        }
    }
    if (!windows.empty())
        return windows;
    Window rootReturn = 0, parent = 0;
    Window* children = nullptr;
    unsigned int childCount = 0;
    if (XQueryTree(display, root, &rootReturn, &parent, &children, &childCount) != 0) {
        const std::unique_ptr<Window, XFreeDeleter> owned(children);
        windows.assign(children, children + childCount);
    }
    return windows;
}

}  // namespace

bool WaitUntil(const std::function<bool()>& done, Duration timeout) {
    const auto deadline = Clock::now() + timeout;
    while (!done()) {
        if (Clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(PollEvery);
    }
    return true;
}

XDriver::XDriver(const std::string& displayName) : display_(XOpenDisplay(displayName.c_str())) {
    if (display_ == nullptr)
        throw std::runtime_error("cannot connect to the X display " + displayName);
    int event = 0, error = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(display_, &event, &error, &major, &minor)) {
        XCloseDisplay(display_);
        throw std::runtime_error("the X display " + displayName + " has no XTest");
    }
    try {
        desktop_ = OpenX11Desktop(display_);
    } catch (const RuntimeError&) {
        XCloseDisplay(display_);
        throw std::runtime_error("the X11 back end cannot open " + displayName);
    }
}

XDriver::~XDriver() {
    desktop_.reset();
    XCloseDisplay(display_);
}

int XDriver::ScreenWidth() const {
    return DisplayWidth(display_, DefaultScreen(display_));
}
int XDriver::ScreenHeight() const {
    return DisplayHeight(display_, DefaultScreen(display_));
}
int XDriver::Depth() const {
    return DefaultDepth(display_, DefaultScreen(display_));
}

std::vector<TopLevel> XDriver::Windows() {
    std::vector<TopLevel> found;
    const Window root = DefaultRootWindow(display_);
    for (const Window window : ClientList(display_)) {
        ToleratedErrors errors(display_);
        XWindowAttributes attributes{};
        if (XGetWindowAttributes(display_, window, &attributes) == 0 || errors.Failed() ||
            attributes.map_state != IsViewable)
            continue;
        std::string name = NameOf(display_, window);
        int x = 0, y = 0;
        Window child = 0;
        XTranslateCoordinates(display_, window, root, 0, 0, &x, &y, &child);
        if (errors.Failed() || name.empty())
            continue;
        found.push_back({window, std::move(name), {x, y, attributes.width, attributes.height}});
    }
    return found;
}

std::optional<TopLevel> XDriver::FindWindow(std::string_view name) {
    for (TopLevel& window : Windows())
        if (window.Name == name)
            return window;
    return std::nullopt;
}

TopLevel XDriver::WaitForWindow(std::string_view name, Duration timeout,
                                const std::function<bool(const TopLevel&)>& accept) {
    std::optional<TopLevel> found;
    const bool shown = WaitUntil(
        [&] {
            for (TopLevel& window : Windows()) {
                if (window.Name == name && (!accept || accept(window))) {
                    found = std::move(window);
                    return true;
                }
            }
            return false;
        },
        timeout);
    if (!shown)
        throw std::runtime_error("no window \"" + std::string(name) + "\" appeared");
    return *found;
}

bool XDriver::WindowManagerRunning() {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    const Atom check = XInternAtom(display_, "_NET_SUPPORTING_WM_CHECK", False);
    const bool announced =
        XGetWindowProperty(display_, DefaultRootWindow(display_), check, 0, 1, False, XA_WINDOW,
                           &type, &format, &count, &after, &data) == Success &&
        count == 1;
    if (data != nullptr)
        XFree(data);
    return announced;
}

bool XDriver::HasFocus(unsigned long id) {
    ToleratedErrors errors(display_);
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(display_, &focus, &revert);
    const Window root = DefaultRootWindow(display_);
    while (focus != 0 && focus != root && focus != PointerRoot) {
        if (focus == id)
            return true;
        Window parent = 0, top = 0;
        Window* children = nullptr;
        unsigned count = 0;
        if (XQueryTree(display_, focus, &top, &parent, &children, &count) == 0)
            return false;
        if (children != nullptr)
            XFree(children);
        focus = parent;
    }
    return false;
}

bool XDriver::Viewable(unsigned long id) {
    ToleratedErrors errors(display_);
    XWindowAttributes attributes{};
    const bool known = XGetWindowAttributes(display_, id, &attributes) != 0;
    return known && !errors.Failed() && attributes.map_state == IsViewable;
}

void XDriver::WaitUntilGone(unsigned long id, Duration timeout) {
    if (!WaitUntil([&] { return !Viewable(id); }, timeout))
        throw std::runtime_error("window " + std::to_string(id) + " stayed on the screen");
}

bool XDriver::Focus(unsigned long id, Duration timeout) {
    {
        ToleratedErrors errors(display_);
        XSetInputFocus(display_, id, RevertToParent, CurrentTime);
    }
    return WaitUntil(
        [&] {
            Window focus = 0;
            int revert = 0;
            XGetInputFocus(display_, &focus, &revert);
            return focus == id;
        },
        timeout);
}

void XDriver::MoveWindow(unsigned long id, Point to) {
    XMoveWindow(display_, id, to.X, to.Y);
    Flush();
    const Window root = DefaultRootWindow(display_);
    const bool moved = WaitUntil(
        [&] {
            int x = 0, y = 0;
            Window child = 0;
            XTranslateCoordinates(display_, id, root, 0, 0, &x, &y, &child);
            return x == to.X && y == to.Y;
        },
        Duration(5000));
    if (!moved)
        throw std::runtime_error("window " + std::to_string(id) + " did not move");
}

void XDriver::AskToClose(unsigned long id) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = id;
    event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display_, id, False, NoEventMask, &event);
    Flush();
}

void XDriver::MoveTo(Point p) {
    desktop_->MovePointer(static_cast<int16_t>(p.X), static_cast<int16_t>(p.Y));
}

void XDriver::HoldServer(bool held) {
    if (held)
        XGrabServer(display_);
    else
        XUngrabServer(display_);
    Flush();
}

void XDriver::Press(MouseButton button) {
    desktop_->PressButton(button);
}

void XDriver::Release(MouseButton button) {
    desktop_->ReleaseButton(button);
}

std::vector<unsigned char> XDriver::PointerMapping() {
    unsigned char map[256] = {};
    const int count = XGetPointerMapping(display_, map, static_cast<int>(sizeof map));
    return {map, map + std::clamp(count, 0, static_cast<int>(sizeof map))};
}

void XDriver::SetPointerMapping(const std::vector<unsigned char>& mapping) {
    std::vector<unsigned char> map = mapping;
    if (!WaitUntil(
            [&] {
                return XSetPointerMapping(display_, map.data(), static_cast<int>(map.size())) ==
                       MappingSuccess;
            },
            std::chrono::seconds(5)))
        throw std::runtime_error("the server kept the pointer mapping busy");
    // The back end reads the mapping again whenever the screen is opened.
    desktop_->OpenScreen();
}

void XDriver::Click(Point p, MouseButton button) {
    MoveTo(p);
    Press(button);
    Release(button);
}

unsigned XDriver::KeycodeOf(unsigned long keysym, bool& shifted) {
    const KeyCode code = XKeysymToKeycode(display_, keysym);
    if (code == 0)
        throw std::runtime_error("no key for keysym " + std::to_string(keysym));
    shifted = XkbKeycodeToKeysym(display_, code, 0, 0) != keysym &&
              XkbKeycodeToKeysym(display_, code, 0, 1) == keysym;
    return code;
}

void XDriver::Key(unsigned keycode, bool down) {
    XTestFakeKeyEvent(display_, keycode, down ? True : False, CurrentTime);
    Flush();
}

void XDriver::KeyDown(std::string_view keysymName) {
    const KeySym keysym = XStringToKeysym(std::string(keysymName).c_str());
    if (keysym == NoSymbol)
        throw std::runtime_error("no keysym " + std::string(keysymName));
    bool shifted = false;
    Key(KeycodeOf(keysym, shifted), true);
}

void XDriver::KeyUp(std::string_view keysymName) {
    const KeySym keysym = XStringToKeysym(std::string(keysymName).c_str());
    if (keysym == NoSymbol)
        throw std::runtime_error("no keysym " + std::string(keysymName));
    bool shifted = false;
    Key(KeycodeOf(keysym, shifted), false);
}

void XDriver::SetKeyRepeat(bool on) {
    XKeyboardControl control{};
    control.auto_repeat_mode = on ? AutoRepeatModeOn : AutoRepeatModeOff;
    XChangeKeyboardControl(display_, KBAutoRepeatMode, &control);
    Flush();
}

void XDriver::Chord(const std::vector<std::string_view>& keys) {
    for (const std::string_view key : keys) KeyDown(key);
    for (auto key = keys.rbegin(); key != keys.rend(); ++key) KeyUp(*key);
}

void XDriver::Type(std::string_view text) {
    bool shiftUnused = false;
    const unsigned shift = KeycodeOf(XK_Shift_L, shiftUnused);
    for (const char c : text) {
        if (c < 0x20 || c > 0x7E)
            throw std::runtime_error("only printable ASCII can be typed");
        // Latin-1 keysyms are the characters' codes.
        bool shifted = false;
        const unsigned code = KeycodeOf(static_cast<unsigned long>(c), shifted);
        if (shifted)
            Key(shift, true);
        Key(code, true);
        Key(code, false);
        if (shifted)
            Key(shift, false);
    }
}

ScreenImage XDriver::Grab(Rect region) {
    ScreenImage grabbed{region.Width, region.Height, {}};
    grabbed.Pixels.resize(static_cast<size_t>(region.Width) * static_cast<size_t>(region.Height));
    desktop_->OpenScreen()->ReadRegion(region.X, region.Y, region.Width, region.Height,
                                       grabbed.Pixels);
    if (std::ranges::find(grabbed.Pixels, ClrInvalid) != grabbed.Pixels.end())
        throw std::runtime_error("cannot read the screen at " + std::to_string(region.X) + "," +
                                 std::to_string(region.Y));
    return grabbed;
}

uint32_t XDriver::PixelAt(Point p) {
    return Grab({p.X, p.Y, 1, 1}).Pixels[0];
}

void XDriver::WaitForChange(Rect region, const ScreenImage& before, Duration timeout,
                            std::string_view what) {
    if (!WaitUntil([&] { return Grab(region) != before; }, timeout))
        throw std::runtime_error("the screen did not change: " + std::string(what));
}

void XDriver::Flush() {
    XSync(display_, False);
}

}  // namespace inkrelay::road
