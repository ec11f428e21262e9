#pragma once
// What ReplaceFileContents needs of the operating system, one source file per platform
// (replace_file_posix.cpp, replace_file_win32.cpp). Each call returns 0 or an errno value.

#include <cerrno>
#include <cstdio>
#include <string>

namespace inkrelay::replace_detail {

// 0 when path is missing or a plain file that opens for writing, else why it may not be
// replaced.
int CheckReplaceable(const std::string& path);
// Gives the open temporary file what the file at path allows its users, when path exists.
int KeepPermissions(const std::string& path, std::FILE* temporary);
int FlushToDisk(std::FILE* file);
// from over to, replacing it, in one step.
int RenameOver(const std::string& from, const std::string& to);

// errno after a failed call; a call that failed without naming why is an I/O error.
inline int LastErrno() {
    return errno != 0 ? errno : EIO;
}

}  // namespace inkrelay::replace_detail
