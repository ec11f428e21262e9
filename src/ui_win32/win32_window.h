#pragma once
// A top-level or child window whose messages go to a C++ object, and the handles the windows
// hold, each released by its owner.

#include <windows.h>

#include "win32_text.h"

#include <memory>
#include <type_traits>

namespace inkrelay::win32 {

using FontHandle = UniqueGdi<HFONT>;
using BrushHandle = UniqueGdi<HBRUSH>;

struct AcceleratorDeleter {
    void operator()(HACCEL table) const { ::DestroyAcceleratorTable(table); }
};
using AcceleratorHandle = std::unique_ptr<std::remove_pointer_t<HACCEL>, AcceleratorDeleter>;

class Win32Window {
  public:
    Win32Window() = default;
    Win32Window(const Win32Window&) = delete;
    Win32Window& operator=(const Win32Window&) = delete;
    // Destroys the window if it still stands.
    virtual ~Win32Window();

    HWND Handle() const { return window_; }
    bool Visible() const { return ::IsWindowVisible(window_) != FALSE; }

  protected:
    // Registers className once per process (with this background) and makes the window; throws
    // std::runtime_error when either fails. Messages from WM_NCCREATE on go to HandleMessage.
    void Create(const wchar_t* className, HBRUSH background, DWORD exStyle, DWORD style,
                const wchar_t* title, POINT place, SIZE size, HWND parent, HMENU menu);
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND window_ = nullptr;
};

// The outer size of a window whose client area is width × height.
SIZE OuterSize(int width, int height, DWORD style, DWORD exStyle, bool hasMenu);
// Where the system puts a new top-level window.
inline constexpr POINT DefaultPlace{CW_USEDEFAULT, CW_USEDEFAULT};

// The 9 point Japanese Gothic the controls were measured in: the first face of the ones Windows
// and Debian ship that this system has.
FontHandle MakeControlFont(bool bold = false);

}  // namespace inkrelay::win32
