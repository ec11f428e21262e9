// POSIX: the replaced file's mode checked with open and kept with fchmod, fsync, rename.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "replace_file_platform.h"

namespace inkrelay::replace_detail {

int CheckReplaceable(const std::string& path) {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0)
        return errno == ENOENT ? 0 : LastErrno();
    if (S_ISDIR(status.st_mode))
        return EISDIR;
    // A rename would take a device, a pipe or a socket away instead of writing into it.
    if (!S_ISREG(status.st_mode))
        return EINVAL;
    // rename ignores the file's own write permission; a file the user made read-only must go
    // on refusing the save.
    const int probe = open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (probe < 0)
        return LastErrno();
    if (close(probe) != 0)
        return LastErrno();
    return 0;
}

int KeepPermissions(const std::string& path, std::FILE* temporary) {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0)
        return errno == ENOENT ? 0 : LastErrno();
    const int descriptor = fileno(temporary);
    if (descriptor < 0)
        return LastErrno();
    // Only the rwx bits: set-user-ID and the like make no sense on a data file, and setting
    // them could fail where the save should not.
    if (fchmod(descriptor, status.st_mode & 0777) != 0)
        return LastErrno();
    return 0;
}

int FlushToDisk(std::FILE* file) {
    errno = 0;
    if (std::fflush(file) != 0)
        return LastErrno();
    const int descriptor = fileno(file);
    if (descriptor < 0 || fsync(descriptor) != 0)
        return LastErrno();
    return 0;
}

int RenameOver(const std::string& from, const std::string& to) {
    errno = 0;
    if (std::rename(from.c_str(), to.c_str()) != 0)
        return LastErrno();
    return 0;
}

}  // namespace inkrelay::replace_detail
