// POSIX names are bytes: UTF-8 goes to the calls as it is.

#include "utf8_files.h"

#include <unistd.h>

namespace inkrelay {

FileHandle OpenFile(const std::string& utf8Path, const char* mode) {
    return FileHandle(std::fopen(utf8Path.c_str(), mode));
}

int RemoveFile(const std::string& utf8Path) {
    return std::remove(utf8Path.c_str());
}

bool FolderIsWritable(const std::string& utf8Path) {
    return !utf8Path.empty() && ::access(utf8Path.c_str(), W_OK | X_OK) == 0;
}

}  // namespace inkrelay
