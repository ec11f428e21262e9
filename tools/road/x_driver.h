#pragma once
// A person at an X display, as a program: finds top-level windows by name, moves the pointer and
// presses buttons through the program's own X11 back end (so the user's button mapping is
// honoured the same way), presses keys through XTest, types ASCII and reads the screen's pixels
// through the back end. Every wait polls until a deadline. Throws std::runtime_error on a fault
// of the connection or a missed deadline, with what was awaited.

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "desktop/desktop.h"

// Xlib's Display, without its macros in every file that drives a screen.
struct _XDisplay;

namespace inkrelay::road {

using Clock = std::chrono::steady_clock;
using Duration = std::chrono::milliseconds;

// In ints, so that the tests can compute places freely; the back end gets them as screen points.
struct Point {
    int X = 0;
    int Y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Rect {
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;
};

struct TopLevel {
    unsigned long Id = 0;  // the X window
    std::string Name;
    Rect Frame;  // in root coordinates
};

// Pixels of a screen region, 0x00BBGGRR (red in the low byte), row by row.
struct ScreenImage {
    int Width = 0;
    int Height = 0;
    std::vector<uint32_t> Pixels;
    uint32_t At(int x, int y) const {
        return Pixels[static_cast<size_t>(y) * static_cast<size_t>(Width) + static_cast<size_t>(x)];
    }
    friend bool operator==(const ScreenImage&, const ScreenImage&) = default;
};

// Polls done every few milliseconds until it holds (true) or timeout has passed (false).
bool WaitUntil(const std::function<bool()>& done, Duration timeout);

class XDriver {
  public:
    explicit XDriver(const std::string& displayName);
    ~XDriver();
    XDriver(const XDriver&) = delete;
    XDriver& operator=(const XDriver&) = delete;

    int ScreenWidth() const;
    int ScreenHeight() const;
    int Depth() const;

    // Viewable top-level windows, bottom to top: the window manager's client list where there is
    // one, else the root's children that have a name.
    std::vector<TopLevel> Windows();
    std::optional<TopLevel> FindWindow(std::string_view name);
    // The first viewable window with the name that accept() takes.
    TopLevel WaitForWindow(std::string_view name, Duration timeout,
                           const std::function<bool(const TopLevel&)>& accept = {});
    // Until the window is unmapped or destroyed.
    void WaitUntilGone(unsigned long id, Duration timeout);
    bool Viewable(unsigned long id);
    // Whether a window manager has announced itself on the root window.
    bool WindowManagerRunning();
    // Whether the keyboard focus is on the window or on one of its children.
    bool HasFocus(unsigned long id);

    // Gives the window the keyboard focus and waits until it has it, as a window manager does
    // for a click or a new dialog: without one, a program's own request for the focus may be
    // refused as older than the last change, and keys sent meanwhile are lost.
    // False when the window did not get it in time, or is gone.
    bool Focus(unsigned long id, Duration timeout);

    // As a user drags a window aside.
    void MoveWindow(unsigned long id, Point to);
    // What a window manager sends for the close button: WM_DELETE_WINDOW.
    void AskToClose(unsigned long id);

    void MoveTo(Point p);
    void Press(MouseButton button);
    void Release(MouseButton button);
    void Click(Point p, MouseButton button = MouseButton::Left);

    // Keys by keysym name, e.g. "Escape", "Return", "Control_L", "a".
    void KeyDown(std::string_view keysymName);
    void KeyUp(std::string_view keysymName);
    // The server's key repeat for held keys, on or off.
    void SetKeyRepeat(bool on);
    // Presses the modifiers in order, taps the key, releases them in reverse: {"Alt_L", "s"}.
    void Chord(const std::vector<std::string_view>& keys);
    // Printable ASCII, with Shift where the keymap needs it.
    void Type(std::string_view text);

    // While held, only this client's requests are carried out; input it fakes still goes out.
    void HoldServer(bool held);

    // The server's pointer mapping, the logical button of each device button from button 1;
    // setting it waits while a button is held, as the server refuses it then.
    std::vector<unsigned char> PointerMapping();
    void SetPointerMapping(const std::vector<unsigned char>& mapping);

    ScreenImage Grab(Rect region);
    uint32_t PixelAt(Point p);

    // Until the region's pixels differ from before.
    void WaitForChange(Rect region, const ScreenImage& before, Duration timeout,
                       std::string_view what);

  private:
    unsigned KeycodeOf(unsigned long keysym, bool& shifted);
    void Key(unsigned keycode, bool down);
    void Flush();

    _XDisplay* display_;
    std::unique_ptr<Desktop> desktop_;
};

}  // namespace inkrelay::road
