// The desktop of Windows: the user32 pointer and key calls and a GDI screen device context.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <bit>
#include <cstdint>
#include <memory>
#include <string>

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

class Win32ScreenDc final : public ScreenDc {
  public:
    uint32_t GetPixel(int32_t x, int32_t y) override {
        // COLORREF is already 0x00BBGGRR, and CLR_INVALID equals ClrInvalid.
        return static_cast<uint32_t>(::GetPixel(hdc_.Get(), x, y));
    }

  private:
    ScreenHdc hdc_;
};

class Win32Desktop final : public Desktop {
  public:
    int32_t ColourBits() override {
        ScreenHdc hdc;
        return ::GetDeviceCaps(hdc.Get(), BITSPIXEL);
    }

    ScreenSize ScreenPixels() override {
        return {::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    }

    void SetCursorPos(int16_t x, int16_t y) override {
        // Refused while another desktop (the lock screen, an elevation prompt) has the input.
        if (!::SetCursorPos(x, y)) {
            Unavailable();
        }
    }

    ScreenPoint GetCursorPos() override {
        POINT point{};
        if (!::GetCursorPos(&point)) {
            Unavailable();
        }
        return {static_cast<int16_t>(point.x), static_cast<int16_t>(point.y)};
    }

    void MouseEvent(MouseAction action) override {
        ::mouse_event(static_cast<DWORD>(action), 0, 0, 0, 0);
    }

    bool KeyDown(Key key) override {
        return (::GetAsyncKeyState(static_cast<int>(key)) & 0x8000) != 0;
    }

    std::unique_ptr<ScreenDc> GetDC() override { return std::make_unique<Win32ScreenDc>(); }

    void Sleep(uint32_t milliseconds) override { ::Sleep(milliseconds); }

    int32_t GetTickCount() override {
        return std::bit_cast<int32_t>(static_cast<uint32_t>(::GetTickCount()));
    }
};

}  // namespace

std::unique_ptr<Desktop> OpenPlatformDesktop(const std::string&) {
    return std::make_unique<Win32Desktop>();
}

}  // namespace inkrelay
