#include "files/host_error.h"

#include <windows.h>

#include <cerrno>
#include <filesystem>
#include <new>

namespace kx {

DWORD errorFromErrno(int err, DWORD fallback) {
    switch (err) {
    case 0:
        return fallback;
    case ENOENT:
        return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
    case ELOOP:
        return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
    case ETXTBSY:
    case ENOTEMPTY:
    case EBUSY:
    case EINVAL:
        return ERROR_ACCESS_DENIED;
    case EEXIST:
        return ERROR_FILE_EXISTS;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return ERROR_DISK_FULL;
    case ENAMETOOLONG:
        return ERROR_FILENAME_EXCED_RANGE;
    case EMFILE:
    case ENFILE:
        return ERROR_TOO_MANY_OPEN_FILES;
    case ENOMEM:
        return ERROR_NOT_ENOUGH_MEMORY;
    case EWOULDBLOCK:
        return ERROR_SHARING_VIOLATION;
    case EBADF:
        return ERROR_INVALID_HANDLE;
    default:
        return fallback;
    }
}

DWORD errorFromCurrentException() noexcept {
    try {
        throw;
    } catch (const std::bad_alloc&) {
        return ERROR_NOT_ENOUGH_MEMORY;
    } catch (const std::filesystem::filesystem_error& e) {
        return errorFromErrno(e.code().value(), ERROR_ACCESS_DENIED);
    } catch (...) {
        return ERROR_INVALID_PARAMETER;
    }
}

void setLastErrorOnFailure(DWORD error) noexcept {
    if (error != ERROR_SUCCESS) {
        SetLastError(error);
    }
}

} // namespace kx
