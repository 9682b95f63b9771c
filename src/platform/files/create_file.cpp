// CreateFileW: opening and creating files of the device.
//
// Sharing between handles of this process follows the platform's rules
// exactly (share_registry.h). Between processes each handle that reads or
// writes also holds an advisory lock on its descriptor: exclusive when it
// shares nothing, shared otherwise. So another process cannot open a file
// that is held without sharing, nor open one without sharing while someone
// holds it; finer denials (deny-write only, deny-read only) are enforced
// within the process only.
#include <windows.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <string>

#include "files/device_path.h"
#include "files/fault_injection.h"
#include "files/handle_table.h"
#include "files/host_error.h"
#include "files/open_file.h"

namespace {

using kx::ResolvedPath;

bool isTruncating(DWORD disposition) {
    return disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING;
}

int hostOpenMode(bool read, bool write) {
    if (read && write) {
        return O_RDWR;
    }
    return write ? O_WRONLY : O_RDONLY;
}

// One attempt; ERROR_FILE_EXISTS with *raced set means that the file
// appeared between the look-up and the creation, so the caller tries again.
DWORD openOnce(LPCWSTR lpFileName, DWORD access, DWORD share, DWORD disposition, DWORD attributes,
               HANDLE* out, bool* raced) {
    ResolvedPath r = kx::resolveDevicePath(lpFileName);
    if (!r.ok()) {
        return r.error;
    }
    if (r.isDirectory) {
        return ERROR_ACCESS_DENIED;
    }
    bool creates = !r.exists && disposition != OPEN_EXISTING && disposition != TRUNCATE_EXISTING;
    bool truncates = r.exists && isTruncating(disposition);
    if (r.exists && disposition == CREATE_NEW) {
        return ERROR_FILE_EXISTS;
    }
    if (!r.exists && !creates) {
        return ERROR_FILE_NOT_FOUND;
    }
    bool writes = (access & GENERIC_WRITE) || creates || truncates;
    if (writes && kx::faultApplies(kx::FaultKind::WriteProtect, r.devicePath)) {
        return ERROR_ACCESS_DENIED;
    }
    std::string host = r.hostPath().string();
    if (r.exists && writes) {
        struct stat st;
        // A file without any write permission bit is the platform's
        // read-only file; checked here so that it holds for root as well.
        if (::stat(host.c_str(), &st) == 0 && (st.st_mode & 0222) == 0) {
            return ERROR_ACCESS_DENIED;
        }
    }

    int flags =
        O_CLOEXEC | hostOpenMode(access & GENERIC_READ, (access & GENERIC_WRITE) || truncates);
    int fd;
    if (creates) {
        // O_EXCL never follows a symbolic link, so a new file is made right
        // here and nowhere else.
        fd = ::open(host.c_str(), flags | O_CREAT | O_EXCL, 0666);
        if (fd < 0 && errno == EEXIST) {
            *raced = true;
            return ERROR_FILE_EXISTS;
        }
    } else {
        fd = ::open(host.c_str(), flags);
    }
    if (fd < 0) {
        return kx::errorFromErrno(errno, ERROR_ACCESS_DENIED);
    }
    struct stat st;
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        return ERROR_ACCESS_DENIED;
    }
    auto file = std::make_shared<kx::OpenFile>(fd, access, share, kx::FileId{st.st_dev, st.st_ino},
                                               r.devicePath);
    auto undoCreate = [&] {
        if (creates) {
            ::unlink(host.c_str());
        }
    };
    if (!file->registerShare()) {
        undoCreate();
        return ERROR_SHARING_VIOLATION;
    }
    if (access != 0 && ::flock(fd, (share == 0 ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0) {
        int err = errno;
        undoCreate();
        return err == EWOULDBLOCK ? DWORD(ERROR_SHARING_VIOLATION)
                                  : kx::errorFromErrno(err, ERROR_ACCESS_DENIED);
    }
    if (truncates && ::ftruncate(fd, 0) != 0) {
        return kx::errorFromErrno(errno, ERROR_WRITE_FAULT);
    }
    if (creates && (attributes & FILE_ATTRIBUTE_READONLY)) {
        ::fchmod(fd, 0444);
    }
    *out = kx::HandleTable::instance().insert(file);
    bool existed = r.exists && (disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS);
    SetLastError(existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return ERROR_SUCCESS;
}

} // namespace

HANDLE CreateFileW(LPCWSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                   LPSECURITY_ATTRIBUTES lpSecurityAttributes, DWORD dwCreationDisposition,
                   DWORD dwFlagsAndAttributes, HANDLE hTemplateFile) {
    // Security attributes and template files mean nothing on the target.
    UNREFERENCED_PARAMETER(lpSecurityAttributes);
    UNREFERENCED_PARAMETER(hTemplateFile);
    HANDLE result = INVALID_HANDLE_VALUE;
    kx::runService([&]() -> DWORD {
        if (!lpFileName) {
            return ERROR_INVALID_PARAMETER;
        }
        if ((dwDesiredAccess & ~(GENERIC_READ | GENERIC_WRITE)) != 0 ||
            (dwShareMode & ~DWORD(FILE_SHARE_READ | FILE_SHARE_WRITE)) != 0) {
            return ERROR_INVALID_PARAMETER;
        }
        if (dwCreationDisposition < CREATE_NEW || dwCreationDisposition > TRUNCATE_EXISTING) {
            return ERROR_INVALID_PARAMETER;
        }
        if (dwCreationDisposition == TRUNCATE_EXISTING && !(dwDesiredAccess & GENERIC_WRITE)) {
            return ERROR_INVALID_PARAMETER;
        }
        DWORD error = ERROR_SUCCESS;
        for (int attempt = 0; attempt < 2; ++attempt) {
            bool raced = false;
            error = openOnce(lpFileName, dwDesiredAccess, dwShareMode, dwCreationDisposition,
                             dwFlagsAndAttributes, &result, &raced);
            if (!raced) {
                break;
            }
        }
        return error;
    });
    return result;
}
