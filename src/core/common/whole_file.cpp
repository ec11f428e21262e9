#include "whole_file.h"

#include <cerrno>
#include <cstdio>

#include "file_errors.h"
#include "utf8_files.h"

namespace inkrelay {

WholeFile ReadWholeFile(const std::string& path) {
    WholeFile result;
    errno = 0;
    FileHandle file = OpenFile(path, "rb");
    if (!file) {
        result.Error = RuntimeCodeForErrno(errno, FileAccess::Read);
        return result;
    }
    result.Opened = true;
    char chunk[65536];
    size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0)
        result.Bytes.append(chunk, got);
    // A folder opens on some systems and fails on the first read.
    if (std::ferror(file.get()))
        result.Error = RuntimeCodeForErrno(errno, FileAccess::Read);
    return result;
}

}  // namespace inkrelay
