// Windows: the wide-character calls, which take any name the file system holds.

#include <io.h>

#include <string_view>

#include "utf8_files.h"

namespace inkrelay {

namespace {

std::wstring WideMode(std::string_view mode) {
    return {mode.begin(), mode.end()};  // the mode letters are ASCII
}

}  // namespace

FileHandle OpenFile(const std::string& utf8Path, const char* mode) {
    return FileHandle(_wfopen(PathFromUtf8(utf8Path).c_str(), WideMode(mode).c_str()));
}

int RemoveFile(const std::string& utf8Path) {
    return _wremove(PathFromUtf8(utf8Path).c_str());
}

bool FolderIsWritable(const std::string& utf8Path) {
    // Only the read-only attribute counts here; the folder's access list shows only on writing.
    constexpr int writable = 2;
    return !utf8Path.empty() && _waccess(PathFromUtf8(utf8Path).c_str(), writable) == 0;
}

}  // namespace inkrelay
