// POSIX names are bytes: UTF-8 goes to the calls as it is.

#include "utf8_files.h"

namespace inkrelay {

FileHandle OpenFile(const std::string& utf8Path, const char* mode) {
    return FileHandle(std::fopen(utf8Path.c_str(), mode));
}

int RemoveFile(const std::string& utf8Path) {
    return std::remove(utf8Path.c_str());
}

}  // namespace inkrelay
