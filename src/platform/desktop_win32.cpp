// The desktop of Windows: the user32 pointer, input and key calls and a GDI screen device
// context.

#include <windows.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "desktop_win32.h"
#include "platform_desktop.h"
#include "runtime_error.h"

namespace inkrelay {
namespace {

[[noreturn]] void Unavailable() {
    throw RuntimeError(ErrorCode::DeviceUnavailable);
}

// The screen's device context, released with the object.
class ScreenHdc {
  public:
    ScreenHdc() : hdc_(::GetDC(nullptr)) {
        if (hdc_ == nullptr) {
            Unavailable();
        }
    }
    ~ScreenHdc() { ::ReleaseDC(nullptr, hdc_); }
    ScreenHdc(const ScreenHdc&) = delete;
    ScreenHdc& operator=(const ScreenHdc&) = delete;

    HDC Get() const { return hdc_; }

  private:
    HDC hdc_;
};

// A memory device context compatible with another, deleted with the object.
class MemoryHdc {
  public:
    explicit MemoryHdc(HDC compatibleWith) : hdc_(::CreateCompatibleDC(compatibleWith)) {}
    ~MemoryHdc() {
        if (hdc_ != nullptr) {
            ::DeleteDC(hdc_);
        }
    }
    MemoryHdc(const MemoryHdc&) = delete;
    MemoryHdc& operator=(const MemoryHdc&) = delete;

    HDC Get() const { return hdc_; }

  private:
    HDC hdc_;
};

// A 32-bit top-down DIB section; each pixel is the bytes B, G, R and one unused.
class DibSection {
  public:
    DibSection(HDC hdc, int width, int height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;  // negative: the first row is the top one
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        bitmap_ = ::CreateDIBSection(hdc, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
    }
    ~DibSection() {
        if (bitmap_ != nullptr) {
            ::DeleteObject(bitmap_);
        }
    }
    DibSection(const DibSection&) = delete;
    DibSection& operator=(const DibSection&) = delete;

    HBITMAP Get() const { return bitmap_; }
    const uint32_t* Bits() const { return static_cast<const uint32_t*>(bits_); }

  private:
    HBITMAP bitmap_ = nullptr;
    void* bits_ = nullptr;
};

// An object selected into a device context, the previous one put back with the object.
class Selection {
  public:
    Selection(HDC hdc, HGDIOBJ object) : hdc_(hdc), previous_(::SelectObject(hdc, object)) {}
    ~Selection() {
        if (Succeeded()) {
            ::SelectObject(hdc_, previous_);
        }
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

    bool Succeeded() const { return previous_ != nullptr && previous_ != HGDI_ERROR; }

  private:
    HDC hdc_;
    HGDIOBJ previous_;
};

class Win32Screen final : public ScreenReader {
  public:
    uint32_t ReadPixel(int32_t x, int32_t y) override {
        // COLORREF is already 0x00BBGGRR, and CLR_INVALID equals ClrInvalid.
        return static_cast<uint32_t>(::GetPixel(hdc_.Get(), x, y));
    }

    void ReadRegion(int32_t left, int32_t top, int32_t width, int32_t height,
                    std::span<uint32_t> out) override {
        CheckRegionArguments(width, height, out);
        std::fill_n(out.begin(), int64_t{width} * height, ClrInvalid);
        // The screen DC spans the virtual screen, whose origin is negative with a monitor left
        // of or above the primary one; only that part can be copied.
        const int64_t screenLeft = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
        const int64_t screenTop = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
        const int64_t x0 = std::max<int64_t>(left, screenLeft);
        const int64_t y0 = std::max<int64_t>(top, screenTop);
        const int64_t x1 = std::min<int64_t>(int64_t{left} + width,
                                             screenLeft + ::GetSystemMetrics(SM_CXVIRTUALSCREEN));
        const int64_t y1 = std::min<int64_t>(int64_t{top} + height,
                                             screenTop + ::GetSystemMetrics(SM_CYVIRTUALSCREEN));
        if (x0 >= x1 || y0 >= y1) {
            return;
        }
        const int copyWidth = static_cast<int>(x1 - x0);
        const int copyHeight = static_cast<int>(y1 - y0);

        // Any failure below leaves the rectangle unreadable (ClrInvalid), as GetPixel does.
        MemoryHdc memory(hdc_.Get());
        if (memory.Get() == nullptr) {
            return;
        }
        DibSection dib(hdc_.Get(), copyWidth, copyHeight);
        if (dib.Get() == nullptr) {
            return;
        }
        Selection selected(memory.Get(), dib.Get());
        if (!selected.Succeeded() ||
            !::BitBlt(memory.Get(), 0, 0, copyWidth, copyHeight, hdc_.Get(), static_cast<int>(x0),
                      static_cast<int>(y0), SRCCOPY)) {
            return;
        }
        // GDI may still be writing into the section's memory.
        ::GdiFlush();

        const uint32_t* bits = dib.Bits();
        for (int64_t y = y0; y < y1; ++y) {
            const uint32_t* row = bits + (y - y0) * copyWidth;
            uint32_t* to = out.data() + (y - top) * width + (x0 - left);
            for (int64_t x = 0; x < copyWidth; ++x) {
                to[x] = ToColourRef(row[x]);
            }
        }
    }

  private:
    // The DIB's 0x00RRGGBB (bytes B, G, R) into COLORREF's 0x00BBGGRR.
    static uint32_t ToColourRef(uint32_t pixel) {
        return (pixel & 0xFFu) << 16 | (pixel & 0xFF00u) | (pixel >> 16 & 0xFFu);
    }

    ScreenHdc hdc_;
};

// All monitors together, as SendInput's absolute coordinates with MOUSEEVENTF_VIRTUALDESK span
// them: 0..65535 across each side.
struct VirtualScreen {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;

    static VirtualScreen Now() {
        const VirtualScreen screen{
            ::GetSystemMetrics(SM_XVIRTUALSCREEN), ::GetSystemMetrics(SM_YVIRTUALSCREEN),
            ::GetSystemMetrics(SM_CXVIRTUALSCREEN), ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
        if (screen.Width <= 0 || screen.Height <= 0) {
            Unavailable();
        }
        return screen;
    }
    LONG NormalisedX(int x) const { return Normalised(x - Left, Width); }
    LONG NormalisedY(int y) const { return Normalised(y - Top, Height); }

  private:
    // The pixel's centre, which comes back to the same pixel whether the system scales by
    // 65536 / side and truncates or by 65535 / (side - 1) and rounds.
    static LONG Normalised(int offset, int side) {
        return static_cast<LONG>((2 * static_cast<int64_t>(offset) + 1) * 65536 / (2 * side));
    }
};

// SendInput and GetAsyncKeyState speak of the device's buttons; with the buttons swapped in the
// system's settings (a left-handed mouse) the user's left button is the device's right one, and
// a press of the device's left button reaches windows as a right click.
bool DeviceLeft(MouseButton button) {
    return (button == MouseButton::Left) != (::GetSystemMetrics(SM_SWAPBUTTON) != 0);
}

class Win32Desktop final : public Desktop {
  public:
    explicit Win32Desktop(InputSender send) : send_(send) {}

    int32_t ColourBits() override {
        ScreenHdc hdc;
        const int bits = ::GetDeviceCaps(hdc.Get(), BITSPIXEL);
        if (bits <= 0) {
            Unavailable();
        }
        return bits;
    }

    ScreenSize ScreenPixels() override {
        // 0 is GetSystemMetrics' failure, never a real side.
        const int width = ::GetSystemMetrics(SM_CXSCREEN);
        const int height = ::GetSystemMetrics(SM_CYSCREEN);
        if (width <= 0 || height <= 0) {
            Unavailable();
        }
        return {width, height};
    }

    void MovePointer(int16_t x, int16_t y) override {
        aim_ = ScreenPoint{x, y};
        SendPointer(0);
    }

    ScreenPoint PointerPosition() override {
        POINT point{};
        if (!::GetCursorPos(&point)) {
            Unavailable();
        }
        return {static_cast<int16_t>(point.x), static_cast<int16_t>(point.y)};
    }

    void PressButton(MouseButton button) override {
        SendPointer(DeviceLeft(button) ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_RIGHTDOWN);
    }

    void ReleaseButton(MouseButton button) override {
        SendPointer(DeviceLeft(button) ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_RIGHTUP);
    }

    bool IsKeyDown(Key key) override {
        int virtualKey = VK_ESCAPE;
        if (key == Key::LeftButton) {
            virtualKey = DeviceLeft(MouseButton::Left) ? VK_LBUTTON : VK_RBUTTON;
        } else if (key == Key::RightButton) {
            virtualKey = DeviceLeft(MouseButton::Right) ? VK_LBUTTON : VK_RBUTTON;
        }
        return (::GetAsyncKeyState(virtualKey) & 0x8000) != 0;
    }

    std::unique_ptr<ScreenReader> OpenScreen() override { return std::make_unique<Win32Screen>(); }

    void Sleep(uint32_t milliseconds) override { ::Sleep(milliseconds); }

    int32_t TickCount() override {
        return std::bit_cast<int32_t>(static_cast<uint32_t>(::GetTickCount()));
    }

  private:
    // Every event carries the point it is meant for, moves and buttons alike, in the one input
    // stream. A button at "wherever the pointer is" may land elsewhere: under wine the applet's
    // process passes the X server's late pointer crossings on as moves of the system's pointer,
    // so a press after SetCursorPos went down at an earlier point, painting there after that
    // point had been checked. SendInput says how many events it put into the stream: none while
    // another desktop (the lock screen, an elevation prompt) has the input or a
    // higher-integrity window blocks it.
    void SendPointer(DWORD buttonFlags) {
        INPUT input{};
        if (aim_) {
            input = PointerInput(*aim_, buttonFlags);
        } else {
            input.type = INPUT_MOUSE;
            input.mi.dwFlags = buttonFlags;
        }
        if (send_(1, &input, sizeof input) != 1) {
            Unavailable();
        }
    }

    InputSender send_;
    // Until the first move, buttons go down where the user left the pointer.
    std::optional<ScreenPoint> aim_;
};

}  // namespace

std::unique_ptr<Desktop> OpenPlatformDesktop(const std::string&) {
    return OpenWin32Desktop(&::SendInput);
}

std::unique_ptr<Desktop> OpenWin32Desktop(InputSender send) {
    return std::make_unique<Win32Desktop>(send);
}

INPUT PointerInput(ScreenPoint at, DWORD buttonFlags) {
    const VirtualScreen screen = VirtualScreen::Now();
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = screen.NormalisedX(at.X);
    input.mi.dy = screen.NormalisedY(at.Y);
    input.mi.dwFlags =
        buttonFlags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
    return input;
}

}  // namespace inkrelay
