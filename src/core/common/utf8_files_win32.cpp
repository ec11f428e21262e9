// Windows: the wide-character calls, which take any name the file system holds.

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

}  // namespace inkrelay
