#include "form2.h"

#include <windowsx.h>

#include <algorithm>

#include "app/error_report.h"
#include "app/image_display.h"
#include "app/image_view.h"
#include "app/image_window.h"
#include "image/picture.h"

namespace inkrelay::win32 {

namespace {

constexpr DWORD Form2Style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;

int16_t ButtonValue(WPARAM keys) {
    int16_t value = 0;
    if ((keys & MK_LBUTTON) != 0)
        value |= DisplayButton::Left;
    if ((keys & MK_RBUTTON) != 0)
        value |= DisplayButton::Right;
    if ((keys & MK_MBUTTON) != 0)
        value |= DisplayButton::Middle;
    return value;
}

int16_t ButtonOf(UINT message) {
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP: return DisplayButton::Left;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP: return DisplayButton::Right;
        default: return DisplayButton::Middle;
    }
}

// A captured pointer far outside the display still fits 16 bits.
int16_t Coordinate(int value) {
    return static_cast<int16_t>(std::clamp(value, -32768, 32767));
}

const wchar_t* CursorFor(PointerShape shape) {
    switch (shape) {
        case PointerShape::SizeNWSE: return MAKEINTRESOURCEW(32642);  // IDC_SIZENWSE
        case PointerShape::SizeNS: return MAKEINTRESOURCEW(32645);    // IDC_SIZENS
        case PointerShape::SizeNESW: return MAKEINTRESOURCEW(32643);  // IDC_SIZENESW
        case PointerShape::SizeWE: return MAKEINTRESOURCEW(32644);    // IDC_SIZEWE
        case PointerShape::SizeAll: return MAKEINTRESOURCEW(32646);   // IDC_SIZEALL
        case PointerShape::Arrow: break;
    }
    return MAKEINTRESOURCEW(32512);  // IDC_ARROW
}

}  // namespace

PictureDisplay::PictureDisplay(Program& program, HWND window)
    : program_(program), pointer_(::LoadCursorW(nullptr, CursorFor(PointerShape::Arrow))) {
    Create(L"InkrelayPictureDisplay", nullptr, 0, WS_CHILD | WS_BORDER | WS_TABSTOP, L"", {0, 0},
           {3, 3}, window, nullptr);
}

void PictureDisplay::ShowBlock(const ImageViewLayout& layout, const Picture& picture) {
    ::MoveWindow(Handle(), layout.Left, layout.Top, layout.Width, layout.Height, FALSE);
    RECT client{};
    ::GetClientRect(Handle(), &client);
    // Beyond the picture the surface shows the window's background, like an empty picture.
    const uint32_t background = SystemColour(COLOR_WINDOW);
    surface_.Reset(client.right, client.bottom, background);
    for (int y = 0; y < client.bottom; ++y) {
        for (int x = 0; x < client.right; ++x) {
            const uint32_t c = picture.PixelAt(layout.ViewX + x, layout.ViewY + y);
            if (c != Picture::InvalidColour)
                surface_.Set(x, y, c);
        }
    }
    ::InvalidateRect(Handle(), nullptr, FALSE);
}

void PictureDisplay::SetPointer(PointerShape shape) {
    pointer_ = ::LoadCursorW(nullptr, CursorFor(shape));
    POINT at{};
    // The shape shows at once when the pointer is over the display, as a move would show it.
    if (::GetCursorPos(&at) != FALSE && ::WindowFromPoint(at) == Handle())
        ::SetCursor(pointer_);
}

void PictureDisplay::Forward(UINT message, WPARAM wParam, LPARAM lParam) {
    const int16_t x = Coordinate(GET_X_LPARAM(lParam));
    const int16_t y = Coordinate(GET_Y_LPARAM(lParam));
    switch (message) {
        case WM_MOUSEMOVE:
            RunHandler(program_, [&] { Picture1_MouseMove(program_, ButtonValue(wParam), x, y); });
            break;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            // The press takes the focus first, and the pointer stays with the display until the
            // last button is up.
            if (::GetFocus() != Handle())
                ::SetFocus(Handle());
            ::SetCapture(Handle());
            RunHandler(program_, [&] { Picture1_MouseDown(program_, ButtonOf(message), x, y); });
            break;
        default:
            if ((wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0)
                ::ReleaseCapture();
            RunHandler(program_, [&] { Picture1_MouseUp(program_, ButtonOf(message), x, y); });
            break;
    }
}

LRESULT PictureDisplay::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP: Forward(message, wParam, lParam); return 0;
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK:
            // A second press soon after the first is a press like any other.
            Forward(message - WM_LBUTTONDBLCLK + WM_LBUTTONDOWN, wParam, lParam);
            return 0;
        case WM_SETFOCUS: RunHandler(program_, [&] { Picture1_GotFocus(program_); }); return 0;
        case WM_SETCURSOR:
            if (LOWORD(lParam) == HTCLIENT) {
                ::SetCursor(pointer_);
                return TRUE;
            }
            break;
        case WM_ERASEBKGND: return 1;
        case WM_PAINT: {
            PAINTSTRUCT paint{};
            if (HDC dc = ::BeginPaint(Handle(), &paint)) {
                surface_.Paint(dc);
                ::EndPaint(Handle(), &paint);
            }
            return 0;
        }
        default: break;
    }
    return Win32Window::HandleMessage(message, wParam, lParam);
}

Form2::Form2(Program& program, HWND mainWindow) : program_(program) {
    RECT main{};
    ::GetWindowRect(mainWindow, &main);
    // The main window's outer size, placed where the system puts a new window.
    Create(L"InkrelayForm2", ::GetSysColorBrush(COLOR_WINDOW), 0, Form2Style,
           L"インクリレー - 画像ウィンドウ", DefaultPlace,
           {main.right - main.left, main.bottom - main.top}, nullptr, nullptr);
    display_ = std::make_unique<PictureDisplay>(program_, Handle());
}

SIZE Form2::ClientSize() const {
    RECT client{};
    ::GetClientRect(Handle(), &client);
    return {client.right, client.bottom};
}

LRESULT Form2::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            if (display_ && wParam != SIZE_MINIMIZED)
                RunHandler(program_, [&] { Form2_Resize(program_); });
            return 0;
        case WM_ACTIVATE:
            // The display, the only control, takes the focus whenever the window is activated.
            if (LOWORD(wParam) != WA_INACTIVE && display_ && display_->Visible())
                ::SetFocus(display_->Handle());
            return 0;
        case WM_CLOSE: {
            bool mayClose = false;
            RunHandler(program_, [&] { mayClose = Form2_QueryUnload(program_); });
            if (mayClose)
                ::ShowWindow(Handle(), SW_HIDE);
            return 0;
        }
        default: break;
    }
    return Win32Window::HandleMessage(message, wParam, lParam);
}

}  // namespace inkrelay::win32
