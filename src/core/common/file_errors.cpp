#include "file_errors.h"

#include <cerrno>

#include "runtime_error.h"

namespace inkrelay {

int32_t RuntimeCodeForErrno(int error, FileAccess access) {
    switch (error) {
        case ENOENT:
            return access == FileAccess::Read ? ErrorCode::FileNotFound : ErrorCode::PathNotFound;
        case ENOTDIR: return ErrorCode::PathNotFound;
        case EACCES:
        case EPERM: return ErrorCode::PermissionDenied;
        case ENOSPC:
#ifdef EDQUOT
        case EDQUOT:
#endif
            return ErrorCode::DiskFull;
        case EIO: return ErrorCode::DeviceIoError;
        case ENOMEM: return ErrorCode::OutOfMemory;
        case ENAMETOOLONG: return ErrorCode::BadFileNameOrNumber;
        default: return ErrorCode::PathFileAccessError;  // EISDIR, EROFS, ETXTBSY, ELOOP, ...
    }
}

int32_t RuntimeCodeFor(const std::error_code& error, FileAccess access) {
    if (error.category() == std::generic_category() || error.category() == std::system_category())
        return RuntimeCodeForErrno(error.value(), access);
    return ErrorCode::PathFileAccessError;
}

}  // namespace inkrelay
