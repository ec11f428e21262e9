#include "pixel_surface.h"

#include <commctrl.h>

#include <stdexcept>

namespace inkrelay::win32 {

namespace {

// A DIB holds blue in its low byte; the program's colours hold red there.
uint32_t SwapRedBlue(uint32_t colour) {
    return ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
}

constexpr UINT_PTR SurfaceSubclass = 1;

LRESULT CALLBACK PaintSurface(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                              UINT_PTR /*id*/, DWORD_PTR data) {
    switch (message) {
        case WM_ERASEBKGND: return 1;  // the paint covers the whole client area
        case WM_PAINT: {
            PAINTSTRUCT paint{};
            if (HDC dc = ::BeginPaint(control, &paint)) {
                const auto& surface = *reinterpret_cast<const PixelSurface*>(data);
                RECT client{};
                ::GetClientRect(control, &client);
                ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
                surface.Paint(dc);
                ::EndPaint(control, &paint);
            }
            return 0;
        }
        case WM_NCDESTROY: ::RemoveWindowSubclass(control, PaintSurface, SurfaceSubclass); break;
        default: break;
    }
    return ::DefSubclassProc(control, message, wParam, lParam);
}

}  // namespace

void PixelSurface::Reset(int width, int height, uint32_t background) {
    width_ = width > 0 ? width : 0;
    height_ = height > 0 ? height : 0;
    bgrx_.assign(static_cast<size_t>(width_) * static_cast<size_t>(height_),
                 SwapRedBlue(background));
}

void PixelSurface::Set(int x, int y, uint32_t colour) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return;
    bgrx_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)] =
        SwapRedBlue(colour);
}

uint32_t PixelSurface::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return 0;
    return SwapRedBlue(
        bgrx_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)]);
}

void PixelSurface::Paint(HDC dc) const {
    if (width_ == 0 || height_ == 0)
        return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    ::SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(width_), static_cast<DWORD>(height_), 0, 0, 0,
                        static_cast<UINT>(height_), bgrx_.data(), &info, DIB_RGB_COLORS);
}

void PaintControlFrom(HWND control, const PixelSurface& surface) {
    if (::SetWindowSubclass(control, PaintSurface, SurfaceSubclass,
                            reinterpret_cast<DWORD_PTR>(&surface)) == FALSE)
        throw std::runtime_error("cannot paint a picture box");
}

uint32_t SystemColour(int index) {
    return static_cast<uint32_t>(::GetSysColor(index));  // COLORREF is 0x00BBGGRR too
}

}  // namespace inkrelay::win32
