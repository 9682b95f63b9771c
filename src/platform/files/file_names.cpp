// DeleteFileW and MoveFileW: removing and renaming entries of the device.
#include <windows.h>

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "common/utf.h"
#include "files/device_path.h"
#include "files/fault_injection.h"
#include "files/host_error.h"
#include "files/share_registry.h"

namespace {

bool isOpenHere(const std::string& host) {
    struct stat st;
    return ::lstat(host.c_str(), &st) == 0 &&
           kx::ShareRegistry::instance().isOpen(kx::FileId{st.st_dev, st.st_ino});
}

bool isReadOnlyFile(const std::string& host) {
    struct stat st;
    return ::stat(host.c_str(), &st) == 0 && !S_ISDIR(st.st_mode) && (st.st_mode & 0222) == 0;
}

// The last component of a path as it was written.
std::u16string_view givenLeaf(std::u16string_view path) {
    while (!path.empty() && (path.back() == u'\\' || path.back() == u'/')) {
        path.remove_suffix(1);
    }
    size_t cut = path.find_last_of(u"\\/");
    return cut == std::u16string_view::npos ? path : path.substr(cut + 1);
}

} // namespace

BOOL DeleteFileW(LPCWSTR lpFileName) {
    DWORD error = kx::runService([&]() -> DWORD {
        if (!lpFileName) {
            return ERROR_INVALID_PARAMETER;
        }
        kx::ResolvedPath r = kx::resolveDevicePath(lpFileName);
        if (!r.ok()) {
            return r.error;
        }
        if (!r.exists) {
            return ERROR_FILE_NOT_FOUND;
        }
        std::string host = r.hostPath().string();
        if (r.isDirectory || isReadOnlyFile(host) ||
            kx::faultApplies(kx::FaultKind::WriteProtect, r.devicePath)) {
            return ERROR_ACCESS_DENIED;
        }
        if (isOpenHere(host)) {
            return ERROR_SHARING_VIOLATION;
        }
        if (::unlink(host.c_str()) != 0) {
            return kx::errorFromErrno(errno, ERROR_ACCESS_DENIED);
        }
        return ERROR_SUCCESS;
    });
    return error == ERROR_SUCCESS;
}

BOOL MoveFileW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName) {
    DWORD error = kx::runService([&]() -> DWORD {
        if (!lpExistingFileName || !lpNewFileName) {
            return ERROR_INVALID_PARAMETER;
        }
        kx::ResolvedPath from = kx::resolveDevicePath(lpExistingFileName);
        if (!from.ok()) {
            return from.error;
        }
        if (!from.exists) {
            return ERROR_FILE_NOT_FOUND;
        }
        kx::ResolvedPath to = kx::resolveDevicePath(lpNewFileName);
        if (!to.ok()) {
            return to.error;
        }
        if (from.isRoot || to.isRoot) {
            return ERROR_ACCESS_DENIED;
        }
        if (kx::faultApplies(kx::FaultKind::WriteProtect, from.devicePath) ||
            kx::faultApplies(kx::FaultKind::WriteProtect, to.devicePath)) {
            return ERROR_ACCESS_DENIED;
        }
        std::string source = from.hostPath().string();
        std::string target = to.hostPath().string();
        bool sameEntry = to.exists && from.folder == to.folder && from.hostName == to.hostName;
        if (to.exists && !sameEntry) {
            return ERROR_ALREADY_EXISTS;
        }
        if (isOpenHere(source)) {
            return ERROR_SHARING_VIOLATION;
        }
        if (sameEntry) {
            // A change of case only: the entry takes the name as written.
            std::u16string_view leaf = givenLeaf(lpNewFileName);
            if (leaf == u"." || leaf == u"..") {
                return ERROR_ACCESS_DENIED;
            }
            target = (to.folder / kx::toUtf8(leaf)).string();
            if (::rename(source.c_str(), target.c_str()) != 0) {
                return kx::errorFromErrno(errno, ERROR_ACCESS_DENIED);
            }
            return ERROR_SUCCESS;
        }
        // Never replaces an entry that appeared since the look-up.
        if (::renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) !=
            0) {
            return errno == EEXIST ? DWORD(ERROR_ALREADY_EXISTS)
                                   : kx::errorFromErrno(errno, ERROR_ACCESS_DENIED);
        }
        return ERROR_SUCCESS;
    });
    return error == ERROR_SUCCESS;
}
