#pragma once
// What every Windows program here needs around the wide calls: UTF-8 and UTF-16 both ways,
// handles that close themselves, and a failed call's words.

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <type_traits>

namespace inkrelay::win32 {

// std::runtime_error when the text is not valid UTF-8 / UTF-16.
std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view wide);

// "what failed (error n)" for the calling thread's last error, or for error.
std::string Win32Failure(std::string_view what, DWORD error = GetLastError());

struct CloseHandleDeleter {
    void operator()(HANDLE handle) const noexcept { CloseHandle(handle); }
};
// A kernel handle; null when none, never INVALID_HANDLE_VALUE (callers turn that into null).
using UniqueHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, CloseHandleDeleter>;

struct DeleteObjectDeleter {
    void operator()(HGDIOBJ object) const noexcept { DeleteObject(object); }
};
template <typename Gdi>
using UniqueGdi = std::unique_ptr<std::remove_pointer_t<Gdi>, DeleteObjectDeleter>;

}  // namespace inkrelay::win32
