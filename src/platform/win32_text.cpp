#include "win32_text.h"

#include <limits>
#include <stdexcept>

namespace inkrelay::win32 {

std::wstring Wide(std::string_view utf8) {
    if (utf8.empty())
        return {};
    if (utf8.size() > static_cast<size_t>(std::numeric_limits<int>::max()))
        throw std::runtime_error("text too long");
    const int length = static_cast<int>(utf8.size());
    const int needed =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), length, nullptr, 0);
    if (needed <= 0)
        throw std::runtime_error(Win32Failure("MultiByteToWideChar"));
    std::wstring wide(static_cast<size_t>(needed), L'\0');
    if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), length, wide.data(),
                            needed) != needed)
        throw std::runtime_error(Win32Failure("MultiByteToWideChar"));
    return wide;
}

std::string Utf8(std::wstring_view wide) {
    if (wide.empty())
        return {};
    if (wide.size() > static_cast<size_t>(std::numeric_limits<int>::max()))
        throw std::runtime_error("text too long");
    const int length = static_cast<int>(wide.size());
    const int needed = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide.data(), length,
                                           nullptr, 0, nullptr, nullptr);
    if (needed <= 0)
        throw std::runtime_error(Win32Failure("WideCharToMultiByte"));
    std::string utf8(static_cast<size_t>(needed), '\0');
    if (WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide.data(), length, utf8.data(), needed,
                            nullptr, nullptr) != needed)
        throw std::runtime_error(Win32Failure("WideCharToMultiByte"));
    return utf8;
}

std::string Win32Failure(std::string_view what, DWORD error) {
    return std::string(what) + " failed (error " + std::to_string(error) + ")";
}

}  // namespace inkrelay::win32
