// The Win32 back end driving a window of this program's own: clicks land where they were sent
// and the screen reads give back what the window painted; with the buttons swapped the user's
// buttons are the ones pressed and polled; an event SendInput refuses is a fault, and a drawing
// run it ends leaves no button held.

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "desktop_win32.h"
#include "draw/drawing_run.h"
#include "platform_desktop.h"
#include "runtime_error.h"
#include "scan/draw_list.h"

namespace {

using inkrelay::ClrInvalid;
using inkrelay::Desktop;
using inkrelay::Key;
using inkrelay::MouseAction;
using inkrelay::MouseButton;
using inkrelay::ScreenPoint;

constexpr uint32_t White = 0xFFFFFF;
constexpr uint32_t Black = 0x000000;
constexpr uint32_t Red = 0x0000FF;          // COLORREF: 0x00BBGGRR
constexpr uint32_t Unwritten = 0x12345678;  // no colour a read gives

// What every pointer event carries besides its buttons: the point it is meant for.
constexpr DWORD PlaceFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;

constexpr int WindowLeft = 40;
constexpr int WindowTop = 30;
constexpr int WindowWidth = 120;
constexpr int WindowHeight = 90;

struct Mark {
    POINT At;
    COLORREF Colour;
};
std::vector<Mark> marks;
// The button messages the window received, in order.
std::vector<UINT> buttonMessages;

LRESULT CALLBACK CanvasProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_LBUTTONUP:
        case WM_RBUTTONUP: buttonMessages.push_back(message); return 0;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN: {
            buttonMessages.push_back(message);
            const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            marks.push_back({at, message == WM_LBUTTONDOWN ? RGB(0, 0, 0) : RGB(255, 0, 0)});
            InvalidateRect(window, nullptr, FALSE);
            return 0;
        }
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC hdc = BeginPaint(window, &paint);
            RECT client;
            GetClientRect(window, &client);
            FillRect(hdc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
            for (const Mark& mark : marks) {
                SetPixel(hdc, mark.At.x, mark.At.y, mark.Colour);
            }
            EndPaint(window, &paint);
            return 0;
        }
        case WM_ERASEBKGND: return 1;  // WM_PAINT fills it
        default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

void PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// Pumps messages until done() holds or ten seconds have passed.
bool PollUntil(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (;;) {
        PumpMessages();
        if (done()) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        // Wakes early for a message; the window surface reaches the screen in between.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

int passed = 0;
int failed = 0;

void Check(bool condition, const std::string& what) {
    if (condition) {
        ++passed;
        std::printf("ok     %s\n", what.c_str());
    } else {
        ++failed;
        std::printf("FAILED %s\n", what.c_str());
    }
    std::fflush(stdout);
}

std::string Hex(uint32_t colour) {
    char text[16];
    std::snprintf(text, sizeof text, "%06X", static_cast<unsigned>(colour));
    return text;
}

// The error code the call raised, or 0.
int32_t CodeOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const inkrelay::RuntimeError& error) {
        return error.Code();
    }
    return 0;
}

HWND OpenCanvas() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = CanvasProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.lpszClassName = L"InkrelayHarnessCanvas";
    if (RegisterClassW(&windowClass) == 0) {
        return nullptr;
    }
    HWND window = CreateWindowExW(WS_EX_TOPMOST, windowClass.lpszClassName, L"canvas",
                                  WS_POPUP | WS_VISIBLE, WindowLeft, WindowTop, WindowWidth,
                                  WindowHeight, nullptr, nullptr, windowClass.hInstance, nullptr);
    if (window != nullptr) {
        SetForegroundWindow(window);
        UpdateWindow(window);
    }
    return window;
}

ScreenPoint ToScreen(HWND window, int x, int y) {
    POINT point{x, y};
    ClientToScreen(window, &point);
    return {static_cast<int16_t>(point.x), static_cast<int16_t>(point.y)};
}

// Presses and releases one button at the point, checking that the back end reports it held.
void Click(Desktop& desktop, ScreenPoint at, MouseAction down, MouseAction up, Key button,
           const std::string& name) {
    desktop.MovePointer(at.X, at.Y);
    Check(PollUntil([&] { return desktop.PointerPosition() == at; }),
          name + ": GetCursorPos gives the point set");
    Replay(desktop, down);
    Check(PollUntil([&] { return desktop.IsKeyDown(button); }), name + ": KeyDown while held");
    Replay(desktop, up);
    Check(PollUntil([&] { return !desktop.IsKeyDown(button); }), name + ": not KeyDown after up");
}

void CheckRegionReads(Desktop& desktop, HWND window, ScreenPoint black, ScreenPoint red) {
    auto dc = desktop.OpenScreen();
    const ScreenPoint corner = ToScreen(window, 0, 0);

    // The whole window in one read, pixel by pixel the same as GetPixel.
    std::vector<uint32_t> region(WindowWidth * WindowHeight, Unwritten);
    dc->ReadRegion(corner.X, corner.Y, WindowWidth, WindowHeight, region);
    int differing = 0;
    for (int y = 0; y < WindowHeight; ++y) {
        for (int x = 0; x < WindowWidth; ++x) {
            differing += region[y * WindowWidth + x] != dc->ReadPixel(corner.X + x, corner.Y + y);
        }
    }
    Check(differing == 0,
          "ReadRegion equals GetPixel over the window (" + std::to_string(differing) + " differ)");
    const auto at = [&](ScreenPoint p) {
        return region[(p.Y - corner.Y) * WindowWidth + (p.X - corner.X)];
    };
    Check(at(black) == Black,
          "ReadRegion: black where the left button went down, got " + Hex(at(black)));
    Check(at(red) == Red, "ReadRegion: red where the right button went down, got " + Hex(at(red)));
    Check(region[0] == White && region.back() == White, "ReadRegion: white around the marks");

    // Across the screen's top-left corner: only the pixels on the screen are read.
    std::vector<uint32_t> corner4(16, Unwritten);
    dc->ReadRegion(-2, -2, 4, 4, corner4);
    bool cornerRight = true;
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            const uint32_t want = x < 2 || y < 2 ? ClrInvalid : dc->ReadPixel(x - 2, y - 2);
            cornerRight = cornerRight && corner4[y * 4 + x] == want;
        }
    }
    Check(cornerRight, "ReadRegion: ClrInvalid off the screen's top-left, pixels on it");

    const auto screen = desktop.ScreenPixels();
    std::vector<uint32_t> beyond(6, Unwritten);
    dc->ReadRegion(screen.Width - 1, screen.Height - 1, 3, 2, beyond);
    Check(beyond[0] == dc->ReadPixel(screen.Width - 1, screen.Height - 1) &&
              beyond[0] != ClrInvalid && beyond[1] == ClrInvalid && beyond[2] == ClrInvalid &&
              beyond[3] == ClrInvalid && beyond[5] == ClrInvalid,
          "ReadRegion: ClrInvalid past the bottom-right corner");

    std::vector<uint32_t> untouched(4, 7);
    dc->ReadRegion(corner.X, corner.Y, 0, 3, untouched);
    Check(untouched == std::vector<uint32_t>(4, 7), "ReadRegion: width 0 writes nothing");
    Check(CodeOf([&] { dc->ReadRegion(corner.X, corner.Y, -1, 2, untouched); }) == 5 &&
              CodeOf([&] { dc->ReadRegion(corner.X, corner.Y, 3, 2, untouched); }) == 5,
          "ReadRegion: a negative side or a short out is invalid argument (5)");
}

void CheckKeys(Desktop& desktop) {
    keybd_event(VK_ESCAPE, 0, 0, 0);
    Check(PollUntil([&] { return desktop.IsKeyDown(Key::Escape); }),
          "IsKeyDown(Escape) while held");
    keybd_event(VK_ESCAPE, 0, KEYEVENTF_KEYUP, 0);
    Check(PollUntil([&] { return !desktop.IsKeyDown(Key::Escape); }), "Escape up again");
}

// What the InputSender stand-in was offered, and what it does with it. SendInput's shape is a
// plain function pointer, so its state lives here; it forwards to SendInput unless told not to.
struct SenderScript {
    std::vector<INPUT> Offered;
    bool SizesRight = true;  // every call gave sizeof(INPUT), without which SendInput takes none
    bool RefuseAll = false;
    DWORD RefuseOnce = 0;  // the first event with exactly these flags is refused; 0 for none
};
SenderScript script;

UINT WINAPI ScriptedSender(UINT count, LPINPUT inputs, int size) {
    script.Offered.insert(script.Offered.end(), inputs, inputs + count);
    script.SizesRight = script.SizesRight && size == static_cast<int>(sizeof(INPUT));
    if (script.RefuseAll) {
        return 0;
    }
    if (script.RefuseOnce != 0 && count == 1 &&
        (inputs[0].mi.dwFlags & ~PlaceFlags) == script.RefuseOnce) {
        script.RefuseOnce = 0;
        return 0;
    }
    return SendInput(count, inputs, size);
}

// The button flags of the mouse events offered, plain moves left out; 0 for an event that is not
// the mouse's.
std::vector<DWORD> OfferedFlags() {
    std::vector<DWORD> flags;
    for (const INPUT& input : script.Offered) {
        if (input.type != INPUT_MOUSE) {
            flags.push_back(0);
        } else if ((input.mi.dwFlags & ~PlaceFlags) != 0) {
            flags.push_back(input.mi.dwFlags & ~PlaceFlags);
        }
    }
    return flags;
}

// The flags of the last event offered, 0 before any.
DWORD LastOffered() {
    const std::vector<DWORD> flags = OfferedFlags();
    return flags.empty() ? 0 : flags.back();
}

// The buttons swapped or not for as long as the object lives, the setting found put back on
// every way out. SwapMouseButton reports only the previous setting, so whether it took is read
// back from SM_SWAPBUTTON.
class ButtonSwap {
  public:
    explicit ButtonSwap(bool swapped) : previous_(SwapMouseButton(swapped ? TRUE : FALSE)) {
        took_ = (GetSystemMetrics(SM_SWAPBUTTON) != 0) == swapped;
    }
    ~ButtonSwap() { SwapMouseButton(previous_); }
    ButtonSwap(const ButtonSwap&) = delete;
    ButtonSwap& operator=(const ButtonSwap&) = delete;

    bool Took() const { return took_; }

  private:
    BOOL previous_;
    bool took_ = false;
};

bool DeviceButtonDown(int virtualKey) {
    return (GetAsyncKeyState(virtualKey) & 0x8000) != 0;
}

// The button message the device's left button brings with the buttons swapped, sent past the
// back end: WM_RBUTTONDOWN where the system turns injected buttons by the swap, as Windows does;
// 0 when nothing arrived.
UINT DeviceLeftMessageWhenSwapped(ScreenPoint at) {
    buttonMessages.clear();
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    if (!SetCursorPos(at.X, at.Y) || SendInput(1, &input, sizeof input) != 1) {
        return 0;
    }
    PollUntil([] { return !buttonMessages.empty(); });
    input.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    if (SendInput(1, &input, sizeof input) == 1) {
        PollUntil([] { return buttonMessages.size() >= 2; });
    }
    return buttonMessages.empty() ? 0 : buttonMessages.front();
}

// The window painted anew, without marks.
void ClearMarks(HWND window) {
    marks.clear();
    buttonMessages.clear();
    InvalidateRect(window, nullptr, FALSE);
    PumpMessages();
}

void CheckSwappedButtons(HWND window) {
    const ButtonSwap swap(true);
    Check(swap.Took(), "SwapMouseButton(TRUE): SM_SWAPBUTTON reads swapped");
    if (!swap.Took()) {
        return;
    }
    ClearMarks(window);
    script = {};
    const auto desktop = inkrelay::OpenWin32Desktop(&ScriptedSender);
    const ScreenPoint left = ToScreen(window, 33, 41);
    const ScreenPoint right = ToScreen(window, 88, 19);

    desktop->MovePointer(left.X, left.Y);
    desktop->PressButton(MouseButton::Left);
    Check(OfferedFlags() == std::vector<DWORD>{MOUSEEVENTF_RIGHTDOWN},
          "swapped: the left press goes out as the device's right button down");
    Check(PollUntil([&] { return desktop->IsKeyDown(Key::LeftButton); }) &&
              DeviceButtonDown(VK_RBUTTON),
          "swapped: IsKeyDown(LeftButton) while the left press holds the device's right button");
    Check(!desktop->IsKeyDown(Key::RightButton),
          "swapped: IsKeyDown(RightButton) is not the held left button");
    desktop->ReleaseButton(MouseButton::Left);
    Check(LastOffered() == MOUSEEVENTF_RIGHTUP,
          "swapped: the left release goes out as the device's right button up");
    Check(PollUntil([&] { return !desktop->IsKeyDown(Key::LeftButton); }),
          "swapped: not IsKeyDown(LeftButton) after the release");

    desktop->MovePointer(right.X, right.Y);
    desktop->PressButton(MouseButton::Right);
    Check(LastOffered() == MOUSEEVENTF_LEFTDOWN,
          "swapped: the right press goes out as the device's left button down");
    Check(PollUntil([&] { return desktop->IsKeyDown(Key::RightButton); }) &&
              !desktop->IsKeyDown(Key::LeftButton),
          "swapped: IsKeyDown(RightButton), not LeftButton, while the right press is held");
    desktop->ReleaseButton(MouseButton::Right);
    Check(LastOffered() == MOUSEEVENTF_LEFTUP && OfferedFlags().size() == 4 && script.SizesRight,
          "swapped: the right release goes out as the device's left button up, four events in all");
    Check(PollUntil([&] { return !desktop->IsKeyDown(Key::RightButton); }),
          "swapped: not IsKeyDown(RightButton) after the release");
    PollUntil([] { return buttonMessages.size() >= 4; });
    const std::vector<UINT> received = buttonMessages;

    // Whether the window can tell: wine 8 hands injected buttons to windows unswapped.
    const UINT deviceLeft = DeviceLeftMessageWhenSwapped(ToScreen(window, 5, 80));
    if (deviceLeft == WM_RBUTTONDOWN) {
        Check(received ==
                  std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP},
              "swapped: the window received the left click as left, the right one as right");
        auto dc = desktop->OpenScreen();
        uint32_t seen = ClrInvalid;
        Check(PollUntil([&] { return (seen = dc->ReadPixel(left.X, left.Y)) == Black; }),
              "swapped: black, a left press's mark, where the left button went down, got " +
                  Hex(seen));
        Check(PollUntil([&] { return (seen = dc->ReadPixel(right.X, right.Y)) == Red; }),
              "swapped: red, a right press's mark, where the right button went down, got " +
                  Hex(seen));
    } else {
        std::printf(
            "note   swapped: this system hands injected buttons to windows unswapped (the device's "
            "left button arrived as %s), so the window cannot show the user's buttons\n",
            deviceLeft == WM_LBUTTONDOWN ? "WM_LBUTTONDOWN" : "no message");
        std::fflush(stdout);
    }
}

// A move reaches the very pixel asked for, at the screen's corners too; and a press goes down
// where the last move aimed even when another process moved the pointer in between, as wine's
// late passing on of X pointer crossings does to a drawing run.
void CheckPressesLandWhereAimed(Desktop& desktop, HWND window) {
    const auto screen = desktop.ScreenPixels();
    const int16_t right = static_cast<int16_t>(screen.Width - 1);
    const int16_t bottom = static_cast<int16_t>(screen.Height - 1);
    for (const ScreenPoint at : {ScreenPoint{0, 0}, ScreenPoint{right, bottom},
                                 ScreenPoint{right, 0}, ToScreen(window, 57, 33)}) {
        desktop.MovePointer(at.X, at.Y);
        Check(PollUntil([&] { return desktop.PointerPosition() == at; }),
              "MovePointer reaches (" + std::to_string(at.X) + "," + std::to_string(at.Y) + ")");
    }
    ClearMarks(window);
    const ScreenPoint aimed = ToScreen(window, 29, 61);
    desktop.MovePointer(aimed.X, aimed.Y);
    PollUntil([&] { return desktop.PointerPosition() == aimed; });
    SetCursorPos(aimed.X + 40, aimed.Y - 30);
    desktop.PressButton(MouseButton::Left);
    desktop.ReleaseButton(MouseButton::Left);
    PollUntil([] { return buttonMessages.size() >= 2; });
    Check(
        marks.size() == 1 && marks[0].At.x == 29 && marks[0].At.y == 61,
        "a press after the pointer was moved elsewhere goes down where it was aimed, got " +
            (marks.empty() ? std::string("none")
                           : std::to_string(marks[0].At.x) + "," + std::to_string(marks[0].At.y)));
}

void CheckRefusedInput() {
    script = {};
    script.RefuseAll = true;
    const auto desktop = inkrelay::OpenWin32Desktop(&ScriptedSender);
    int refused = 0;
    for (const MouseAction action : {MouseAction::LeftDown, MouseAction::LeftUp,
                                     MouseAction::RightDown, MouseAction::RightUp}) {
        refused += CodeOf([&] { Replay(*desktop, action); }) == 68;
    }
    Check(refused == 4 && script.Offered.size() == 4,
          "SendInput taking none: each press and release of both buttons offered its event and "
          "raised 68 (DeviceUnavailable), " +
              std::to_string(refused) + " of 4");
}

// A stroke whose release SendInput refuses: the run ends through its fault path, which sends
// the release again, so no button stays held in the applet.
void CheckRunEndsOnARefusedRelease(HWND window) {
    ClearMarks(window);
    script = {};
    script.RefuseOnce = MOUSEEVENTF_LEFTUP;
    const auto desktop = inkrelay::OpenWin32Desktop(&ScriptedSender);

    inkrelay::EventMemory mem;
    int32_t end = 0;
    const auto add = [&](inkrelay::EventCode code, std::initializer_list<int16_t> operands) {
        mem[++end] = code;
        for (const int16_t operand : operands) {
            mem[++end] = operand;
        }
    };
    add(inkrelay::St, {10, 20});
    add(inkrelay::Mv, {60, 20});
    add(inkrelay::Ed, {});
    inkrelay::DrawSettings settings;
    settings.Applet = 1;  // PaintBBS: one drag for the stroke
    settings.DrawPos = ToScreen(window, 0, 0);
    settings.RGBBarPos = ToScreen(window, 100, 10);
    settings.LogPath = "Inkrelay.log";
    int logWrites = 0;
    std::vector<std::string> said;
    inkrelay::DrawHooks hooks;
    hooks.Yield = PumpMessages;
    hooks.SetProgressMaximum = [](int32_t) {};
    hooks.SetProgress = [](int32_t) {};
    hooks.AskYesNo = [&](const std::string& text) {
        said.push_back(text);
        return false;
    };
    hooks.Show = [&](const std::string& text, inkrelay::DrawNotice) { said.push_back(text); };
    hooks.FocusMainWindow = [] {};
    hooks.TimeOfDay = [] { return std::string("12:00:00"); };
    hooks.WriteLog = [&](const inkrelay::DrawLogLines&) { ++logWrites; };

    int32_t code = 0;
    try {
        inkrelay::DrawRun run(*desktop, mem, end, settings, hooks);
        run.Run();
    } catch (const inkrelay::RuntimeError& error) {
        code = error.Code();
    }
    Check(code == 68,
          "a drawing run whose release SendInput refuses raises 68, got " + std::to_string(code));
    Check(OfferedFlags() ==
              std::vector<DWORD>{MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTUP},
          "the run's fault path sends the refused left release again");
    Check(PollUntil([&] { return !DeviceButtonDown(VK_LBUTTON); }) &&
              !desktop->IsKeyDown(Key::LeftButton),
          "no button is held on the desktop after the run");
    Check(PollUntil([] { return buttonMessages.size() >= 2; }) &&
              buttonMessages == std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP},
          "the window received the stroke's press and one release");
    Check(logWrites == 0 && said.empty(), "the faulted run wrote no log and said nothing");
}

}  // namespace

int main() {
    // The checks below mean the device's buttons as they are; a left-handed setting is put back.
    const ButtonSwap unswapped(false);
    if (!unswapped.Took()) {
        std::printf("the buttons stay swapped\n0 passed, 1 failed\n");
        return 1;
    }
    std::unique_ptr<Desktop> desktop;
    try {
        desktop = inkrelay::OpenPlatformDesktop();
    } catch (const inkrelay::RuntimeError& error) {
        std::printf("OpenPlatformDesktop raised %d\n0 passed, 1 failed\n", error.Code());
        return 1;
    }
    HWND window = OpenCanvas();
    if (window == nullptr) {
        std::printf("no window (error %lu)\n0 passed, 1 failed\n", GetLastError());
        return 1;
    }

    try {
        const int32_t bits = desktop->ColourBits();
        Check(bits >= 24, "ColourBits is 24 or more, got " + std::to_string(bits));
        const auto screen = desktop->ScreenPixels();
        Check(screen.Width == GetSystemMetrics(SM_CXSCREEN) &&
                  screen.Height == GetSystemMetrics(SM_CYSCREEN) &&
                  screen.Width >= WindowLeft + WindowWidth,
              "ScreenPixels is the screen and holds the window");

        // The window is on the screen once its white reaches it.
        auto dc = desktop->OpenScreen();
        const ScreenPoint middle = ToScreen(window, WindowWidth / 2, WindowHeight / 2);
        Check(PollUntil([&] { return dc->ReadPixel(middle.X, middle.Y) == White; }),
              "the window shows white");

        const ScreenPoint black = ToScreen(window, 17, 23);
        const ScreenPoint red = ToScreen(window, 71, 52);
        Click(*desktop, black, MouseAction::LeftDown, MouseAction::LeftUp, Key::LeftButton,
              "left click");
        Click(*desktop, red, MouseAction::RightDown, MouseAction::RightUp, Key::RightButton,
              "right click");
        uint32_t seen = ClrInvalid;
        const bool blackShown =
            PollUntil([&] { return (seen = dc->ReadPixel(black.X, black.Y)) == Black; });
        Check(blackShown, "GetPixel: black where the left button went down, got " + Hex(seen));
        const bool redShown =
            PollUntil([&] { return (seen = dc->ReadPixel(red.X, red.Y)) == Red; });
        Check(redShown, "GetPixel: red where the right button went down, got " + Hex(seen));
        Check(marks.size() == 2,
              "the window received exactly two button-downs, got " + std::to_string(marks.size()));

        CheckRegionReads(*desktop, window, black, red);
        CheckPressesLandWhereAimed(*desktop, window);
        CheckKeys(*desktop);
        CheckSwappedButtons(window);
        CheckRefusedInput();
        CheckRunEndsOnARefusedRelease(window);
    } catch (const inkrelay::RuntimeError& error) {
        Check(false, "the back end raised " + std::to_string(error.Code()));
    }

    DestroyWindow(window);
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
