#pragma once
// Operating-system failures of file access, in the runtime's error codes.

#include <cstdint>
#include <system_error>

namespace inkrelay {

enum class FileAccess { Read, Write };

// errno values: a missing file 53 on reading, a missing folder 76, permission denied 70, disk
// full 61, an I/O error 57, a folder or read-only medium or anything else 75.
int32_t RuntimeCodeForErrno(int error, FileAccess access);
int32_t RuntimeCodeFor(const std::error_code& error, FileAccess access);

}  // namespace inkrelay
