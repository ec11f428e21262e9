#pragma once
// Failures travel as RuntimeError holding the runtime's numeric error code; each handler catches
// it and hands the code to ReportError.

#include <cstdint>
#include <stdexcept>
#include <string>

namespace inkrelay {

// The runtime's numbering of trappable errors, as far as the program raises them itself.
namespace ErrorCode {
inline constexpr int32_t InvalidArgument = 5;
inline constexpr int32_t Overflow = 6;
inline constexpr int32_t OutOfMemory = 7;
inline constexpr int32_t SubscriptOutOfRange = 9;
inline constexpr int32_t BadFileNameOrNumber = 52;
inline constexpr int32_t FileNotFound = 53;
inline constexpr int32_t DeviceIoError = 57;
inline constexpr int32_t DiskFull = 61;
inline constexpr int32_t DeviceUnavailable = 68;
inline constexpr int32_t PermissionDenied = 70;
inline constexpr int32_t PathFileAccessError = 75;
inline constexpr int32_t PathNotFound = 76;
inline constexpr int32_t InvalidPropertyValue = 380;
inline constexpr int32_t InvalidClipboardFormat = 460;
inline constexpr int32_t InvalidPicture = 481;
}  // namespace ErrorCode

class RuntimeError : public std::runtime_error {
  public:
    explicit RuntimeError(int32_t code)
        : std::runtime_error("runtime error " + std::to_string(code)), code_(code) {}
    int32_t Code() const noexcept { return code_; }

  private:
    int32_t code_;
};

}  // namespace inkrelay
