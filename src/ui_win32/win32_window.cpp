#include "win32_window.h"

#include <array>
#include <stdexcept>
#include <string>

namespace inkrelay::win32 {

Win32Window::~Win32Window() {
    if (window_ != nullptr && ::IsWindow(window_)) {
        // Messages sent while the window goes must not reach an object that is half destroyed.
        ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        ::DestroyWindow(window_);
    }
}

void Win32Window::Create(const wchar_t* className, HBRUSH background, DWORD exStyle, DWORD style,
                         const wchar_t* title, POINT place, SIZE size, HWND parent, HMENU menu) {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW known{};
    known.cbSize = sizeof known;
    if (::GetClassInfoExW(instance, className, &known) == FALSE) {
        WNDCLASSEXW kind{};
        kind.cbSize = sizeof kind;
        kind.style = CS_DBLCLKS;
        kind.lpfnWndProc = Procedure;
        kind.hInstance = instance;
        kind.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(1));
        kind.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
        kind.hbrBackground = background;
        kind.lpszClassName = className;
        if (::RegisterClassExW(&kind) == 0)
            throw std::runtime_error("cannot register a window class");
    }
    const HWND made = ::CreateWindowExW(exStyle, className, title, style, place.x, place.y, size.cx,
                                        size.cy, parent, menu, instance, this);
    if (made == nullptr)
        throw std::runtime_error("cannot make a window (error " + std::to_string(::GetLastError()) +
                                 ")");
}

LRESULT Win32Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK Win32Window::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<Win32Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Win32Window*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr)
        return ::DefWindowProcW(window, message, wParam, lParam);
    return self->HandleMessage(message, wParam, lParam);
}

SIZE OuterSize(int width, int height, DWORD style, DWORD exStyle, bool hasMenu) {
    RECT place{0, 0, width, height};
    if (::AdjustWindowRectEx(&place, style, hasMenu ? TRUE : FALSE, exStyle) == FALSE)
        throw std::runtime_error("cannot size a window");
    return {place.right - place.left, place.bottom - place.top};
}

namespace {

int CALLBACK NoteFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool HasFace(HDC screen, const wchar_t* face) {
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(wanted.lfFaceName, face, LF_FACESIZE - 1);
    bool found = false;
    ::EnumFontFamiliesExW(screen, &wanted, NoteFace, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

}  // namespace

FontHandle MakeControlFont(bool bold) {
    constexpr std::array faces = {L"MS UI Gothic", L"Meiryo UI", L"Yu Gothic UI",
                                  L"IPAPGothic",   L"IPAGothic", L"Noto Sans CJK JP"};
    const wchar_t* chosen = faces.front();
    HDC screen = ::GetDC(nullptr);
    if (screen != nullptr) {
        for (const wchar_t* face : faces) {
            if (HasFace(screen, face)) {
                chosen = face;
                break;
            }
        }
        ::ReleaseDC(nullptr, screen);
    }
    // 9 points at the 96 dots an inch the layout was measured at.
    FontHandle font(::CreateFontW(-12, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                                  SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                  DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, chosen));
    if (!font)
        throw std::runtime_error("cannot make the controls' font");
    return font;
}

}  // namespace inkrelay::win32
