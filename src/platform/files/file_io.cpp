// Reading, writing and positioning through open file handles.
#include <windows.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <memory>

#include "files/fault_injection.h"
#include "files/handle_table.h"
#include "files/host_error.h"
#include "files/open_file.h"

namespace {

std::shared_ptr<kx::OpenFile> openFile(HANDLE h) {
    return kx::HandleTable::instance().findAs<kx::OpenFile>(h);
}

enum class Transfer { Read, Write };

DWORD accessFor(const kx::OpenFile& file, Transfer transfer) {
    bool allowed = transfer == Transfer::Read ? file.canRead() : file.canWrite();
    return allowed ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
}

// The open file behind `h`, if the handle was opened for `transfer`.
DWORD findFileFor(HANDLE h, Transfer transfer, std::shared_ptr<kx::OpenFile>& file) {
    file = openFile(h);
    return file ? accessFor(*file, transfer) : ERROR_INVALID_HANDLE;
}

// The checks that ReadFile and WriteFile share, in the order they report
// them: no overlapped transfer (the target has none) and a count to report
// into, an open file, a buffer for any bytes, and the access the transfer
// needs. On success `file` is the open file.
DWORD checkTransfer(HANDLE h, const void* buffer, DWORD size, const DWORD* count,
                    const OVERLAPPED* overlapped, Transfer transfer,
                    std::shared_ptr<kx::OpenFile>& file) {
    if (overlapped || !count) {
        return ERROR_INVALID_PARAMETER;
    }
    file = openFile(h);
    if (!file) {
        return ERROR_INVALID_HANDLE;
    }
    if (!buffer && size != 0) {
        return ERROR_INVALID_PARAMETER;
    }
    return accessFor(*file, transfer);
}

} // namespace

BOOL ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead,
              LPDWORD lpNumberOfBytesRead, LPOVERLAPPED lpOverlapped) {
    if (lpNumberOfBytesRead) {
        *lpNumberOfBytesRead = 0;
    }
    DWORD error = kx::runService([&]() -> DWORD {
        std::shared_ptr<kx::OpenFile> file;
        if (DWORD refused = checkTransfer(hFile, lpBuffer, nNumberOfBytesToRead,
                                          lpNumberOfBytesRead, lpOverlapped, Transfer::Read, file);
            refused != ERROR_SUCCESS) {
            return refused;
        }
        if (kx::faultApplies(kx::FaultKind::ReadError, file->devicePath())) {
            return ERROR_READ_FAULT;
        }
        auto* out = static_cast<unsigned char*>(lpBuffer);
        DWORD done = 0;
        while (done < nNumberOfBytesToRead) {
            ssize_t n = ::read(file->fd(), out + done, nNumberOfBytesToRead - done);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n < 0) {
                *lpNumberOfBytesRead = done;
                return kx::errorFromErrno(errno, ERROR_READ_FAULT);
            }
            if (n == 0) {
                break;
            }
            done += DWORD(n);
        }
        *lpNumberOfBytesRead = done;
        return ERROR_SUCCESS;
    });
    return error == ERROR_SUCCESS;
}

BOOL WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite,
               LPDWORD lpNumberOfBytesWritten, LPOVERLAPPED lpOverlapped) {
    if (lpNumberOfBytesWritten) {
        *lpNumberOfBytesWritten = 0;
    }
    DWORD error = kx::runService([&]() -> DWORD {
        std::shared_ptr<kx::OpenFile> file;
        if (DWORD refused =
                checkTransfer(hFile, lpBuffer, nNumberOfBytesToWrite, lpNumberOfBytesWritten,
                              lpOverlapped, Transfer::Write, file);
            refused != ERROR_SUCCESS) {
            return refused;
        }
        if (nNumberOfBytesToWrite != 0 &&
            kx::faultApplies(kx::FaultKind::WriteFull, file->devicePath())) {
            return ERROR_DISK_FULL;
        }
        DWORD wanted = nNumberOfBytesToWrite;
        if (kx::faultApplies(kx::FaultKind::WriteShort, file->devicePath())) {
            wanted /= 2;
        }
        const auto* in = static_cast<const unsigned char*>(lpBuffer);
        DWORD done = 0;
        while (done < wanted) {
            ssize_t n = ::write(file->fd(), in + done, wanted - done);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                *lpNumberOfBytesWritten = done;
                return kx::errorFromErrno(n < 0 ? errno : ENOSPC, ERROR_WRITE_FAULT);
            }
            done += DWORD(n);
        }
        *lpNumberOfBytesWritten = done;
        return ERROR_SUCCESS;
    });
    return error == ERROR_SUCCESS;
}

DWORD GetFileSize(HANDLE hFile, LPDWORD lpFileSizeHigh) {
    DWORD low = INVALID_FILE_SIZE;
    kx::runService([&]() -> DWORD {
        auto file = openFile(hFile);
        if (!file) {
            return ERROR_INVALID_HANDLE;
        }
        struct stat st;
        if (::fstat(file->fd(), &st) != 0) {
            return kx::errorFromErrno(errno, ERROR_READ_FAULT);
        }
        uint64_t size = uint64_t(st.st_size);
        low = DWORD(size & 0xFFFFFFFFu);
        if (lpFileSizeHigh) {
            *lpFileSizeHigh = DWORD(size >> 32);
        }
        // A size whose low part looks like the failure value is told apart
        // by a cleared last error, as the platform does.
        if (low == INVALID_FILE_SIZE) {
            SetLastError(NO_ERROR);
        }
        return ERROR_SUCCESS;
    });
    return low;
}

DWORD SetFilePointer(HANDLE hFile, LONG lDistanceToMove, PLONG lpDistanceToMoveHigh,
                     DWORD dwMoveMethod) {
    DWORD low = INVALID_SET_FILE_POINTER;
    kx::runService([&]() -> DWORD {
        auto file = openFile(hFile);
        if (!file) {
            return ERROR_INVALID_HANDLE;
        }
        int64_t distance = lDistanceToMove;
        if (lpDistanceToMoveHigh) {
            distance = int64_t((uint64_t(uint32_t(*lpDistanceToMoveHigh)) << 32) |
                               uint64_t(uint32_t(lDistanceToMove)));
        }
        int64_t base;
        switch (dwMoveMethod) {
        case FILE_BEGIN:
            base = 0;
            break;
        case FILE_CURRENT:
            base = ::lseek(file->fd(), 0, SEEK_CUR);
            break;
        case FILE_END: {
            struct stat st;
            base = ::fstat(file->fd(), &st) == 0 ? int64_t(st.st_size) : -1;
            break;
        }
        default:
            return ERROR_INVALID_PARAMETER;
        }
        if (base < 0) {
            return kx::errorFromErrno(errno, ERROR_INVALID_PARAMETER);
        }
        if ((distance > 0 && base > INT64_MAX - distance)) {
            return ERROR_INVALID_PARAMETER;
        }
        int64_t target = base + distance;
        if (target < 0) {
            return ERROR_NEGATIVE_SEEK;
        }
        // Without a high part the position must fit in the returned value.
        if (!lpDistanceToMoveHigh && target >= int64_t(INVALID_SET_FILE_POINTER)) {
            return ERROR_INVALID_PARAMETER;
        }
        if (::lseek(file->fd(), off_t(target), SEEK_SET) < 0) {
            return kx::errorFromErrno(errno, ERROR_INVALID_PARAMETER);
        }
        low = DWORD(uint64_t(target) & 0xFFFFFFFFu);
        if (lpDistanceToMoveHigh) {
            *lpDistanceToMoveHigh = LONG(uint64_t(target) >> 32);
        }
        if (low == INVALID_SET_FILE_POINTER) {
            SetLastError(NO_ERROR);
        }
        return ERROR_SUCCESS;
    });
    return low;
}

BOOL SetEndOfFile(HANDLE hFile) {
    DWORD error = kx::runService([&]() -> DWORD {
        std::shared_ptr<kx::OpenFile> file;
        if (DWORD refused = findFileFor(hFile, Transfer::Write, file); refused != ERROR_SUCCESS) {
            return refused;
        }
        off_t position = ::lseek(file->fd(), 0, SEEK_CUR);
        if (position < 0 || ::ftruncate(file->fd(), position) != 0) {
            return kx::errorFromErrno(errno, ERROR_WRITE_FAULT);
        }
        return ERROR_SUCCESS;
    });
    return error == ERROR_SUCCESS;
}

BOOL FlushFileBuffers(HANDLE hFile) {
    DWORD error = kx::runService([&]() -> DWORD {
        std::shared_ptr<kx::OpenFile> file;
        if (DWORD refused = findFileFor(hFile, Transfer::Write, file); refused != ERROR_SUCCESS) {
            return refused;
        }
        if (::fsync(file->fd()) != 0 && errno != EINVAL) {
            return kx::errorFromErrno(errno, ERROR_WRITE_FAULT);
        }
        return ERROR_SUCCESS;
    });
    return error == ERROR_SUCCESS;
}
