// The Win32 back end driving a window of this program's own: clicks land where they were sent
// and the screen reads give back what the window painted.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform_desktop.h"
#include "runtime_error.h"

namespace {

using inkrelay::ClrInvalid;
using inkrelay::Desktop;
using inkrelay::Key;
using inkrelay::MouseAction;
using inkrelay::ScreenPoint;

constexpr uint32_t White = 0xFFFFFF;
constexpr uint32_t Black = 0x000000;
constexpr uint32_t Red = 0x0000FF;          // COLORREF: 0x00BBGGRR
constexpr uint32_t Unwritten = 0x12345678;  // no colour a read gives

constexpr int WindowLeft = 40;
constexpr int WindowTop = 30;
constexpr int WindowWidth = 120;
constexpr int WindowHeight = 90;

struct Mark {
    POINT At;
    COLORREF Colour;
};
std::vector<Mark> marks;

LRESULT CALLBACK CanvasProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN: {
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
    Check(desktop.PointerPosition() == at, name + ": GetCursorPos gives the point set");
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

}  // namespace

int main() {
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
        CheckKeys(*desktop);
    } catch (const inkrelay::RuntimeError& error) {
        Check(false, "the back end raised " + std::to_string(error.Code()));
    }

    DestroyWindow(window);
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
