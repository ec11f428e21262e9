// Windows: the replaced file checked with _wopen, _commit, and MoveFileExW replacing the target
// with its data written through.

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include "replace_file_platform.h"
#include "utf8_files.h"

namespace inkrelay::replace_detail {

namespace {

// The C runtime's reading of the errors a replacing move gives.
int ErrnoForWin32(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND: return ENOENT;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION: return EACCES;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL: return ENOSPC;
        default: return EINVAL;  // the runtime's path/file access error
    }
}

}  // namespace

int CheckReplaceable(const std::string& path) {
    // A read-only file, a folder and a file another program holds all refuse this, as they
    // refused writing into them.
    errno = 0;
    const int probe = _wopen(PathFromUtf8(path).c_str(), _O_WRONLY | _O_BINARY);
    if (probe < 0)
        return errno == ENOENT ? 0 : LastErrno();
    if (_close(probe) != 0)
        return LastErrno();
    return 0;
}

int KeepPermissions(const std::string&, std::FILE*) {
    // The one attribute users set that matters here, read-only, refuses the save beforehand.
    return 0;
}

int FlushToDisk(std::FILE* file) {
    errno = 0;
    if (std::fflush(file) != 0)
        return LastErrno();
    const int descriptor = _fileno(file);
    if (descriptor < 0 || _commit(descriptor) != 0)
        return LastErrno();
    return 0;
}

int RenameOver(const std::string& from, const std::string& to) {
    if (MoveFileExW(PathFromUtf8(from).c_str(), PathFromUtf8(to).c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == 0)
        return ErrnoForWin32(GetLastError());
    return 0;
}

}  // namespace inkrelay::replace_detail
