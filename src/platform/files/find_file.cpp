// FindFirstFileW, FindNextFileW and FindClose: searching the device's
// folders. A path without wildcards finds the entry itself, a folder
// included; '*' and '?' in the last component list the matching entries of
// its folder, in name order ignoring case. The search takes its listing at
// the start; entries added or removed later are not seen.
#include <windows.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <memory>
#include <mutex>
#include <vector>

#include "common/device.h"
#include "common/utf.h"
#include "files/device_path.h"
#include "files/handle_table.h"
#include "files/host_error.h"

namespace {

namespace fs = std::filesystem;

class FindSearch : public kx::KernelObject {
public:
    bool closableByCloseHandle() const override { return false; }

    std::mutex mutex;
    std::vector<WIN32_FIND_DATAW> entries;
    size_t next = 0;
};

FILETIME toFileTime(const struct timespec& t) {
    // 100-nanosecond intervals since 1601-01-01.
    constexpr int64_t kSecondsFrom1601To1970 = 11644473600LL;
    int64_t ticks = (int64_t(t.tv_sec) + kSecondsFrom1601To1970) * 10000000LL + t.tv_nsec / 100;
    if (ticks < 0) {
        ticks = 0;
    }
    return FILETIME{DWORD(uint64_t(ticks) & 0xFFFFFFFFu), DWORD(uint64_t(ticks) >> 32)};
}

// Fills a find record for a host entry; false when it cannot be described
// (gone, or a name too long for the record).
bool describe(const fs::path& host, std::u16string_view name, WIN32_FIND_DATAW& data) {
    struct stat st;
    if (name.size() >= MAX_PATH || ::stat(host.c_str(), &st) != 0) {
        return false;
    }
    std::memset(&data, 0, sizeof data);
    if (S_ISDIR(st.st_mode)) {
        data.dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY;
    } else {
        data.dwFileAttributes =
            (st.st_mode & 0222) == 0 ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL;
        uint64_t size = uint64_t(st.st_size);
        data.nFileSizeHigh = DWORD(size >> 32);
        data.nFileSizeLow = DWORD(size & 0xFFFFFFFFu);
    }
    data.ftCreationTime = toFileTime(st.st_mtim);
    data.ftLastAccessTime = toFileTime(st.st_atim);
    data.ftLastWriteTime = toFileTime(st.st_mtim);
    std::copy(name.begin(), name.end(), data.cFileName);
    return true;
}

void listMatches(const kx::ResolvedPath& where, FindSearch& search) {
    // "*.*" matches every name, dotted or not, as on the platform.
    std::u16string pattern = where.name == u"*.*" ? u"*" : where.name;
    std::error_code ec;
    for (fs::directory_iterator it(where.folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::u16string name = kx::fromUtf8(it->path().filename().string());
        if (!kx::matchesPattern(name, pattern)) {
            continue;
        }
        std::optional<fs::path> host =
            kx::followInsideRoot(it->path(), kx::currentDevice().rootDir());
        WIN32_FIND_DATAW data;
        if (host && describe(*host, name, data)) {
            search.entries.push_back(data);
        }
    }
    std::sort(search.entries.begin(), search.entries.end(),
              [](const WIN32_FIND_DATAW& a, const WIN32_FIND_DATAW& b) {
                  return kx::foldedCopy(a.cFileName) < kx::foldedCopy(b.cFileName);
              });
}

} // namespace

HANDLE FindFirstFileW(LPCWSTR lpFileName, LPWIN32_FIND_DATAW lpFindFileData) {
    HANDLE result = INVALID_HANDLE_VALUE;
    kx::runService([&]() -> DWORD {
        if (!lpFileName || !lpFindFileData) {
            return ERROR_INVALID_PARAMETER;
        }
        std::u16string_view path(lpFileName);
        bool wildcard = kx::hasWildcardLeaf(path);
        kx::ResolvedPath where =
            kx::resolveDevicePath(path, wildcard ? kx::LeafRule::Pattern : kx::LeafRule::Name);
        if (!where.ok()) {
            return where.error;
        }
        auto search = std::make_shared<FindSearch>();
        if (wildcard) {
            listMatches(where, *search);
        } else if (where.exists && !where.isRoot) {
            WIN32_FIND_DATAW data;
            if (describe(where.hostPath(), where.name, data)) {
                search->entries.push_back(data);
            }
        }
        if (search->entries.empty()) {
            return ERROR_FILE_NOT_FOUND;
        }
        *lpFindFileData = search->entries[0];
        search->next = 1;
        result = kx::HandleTable::instance().insert(search);
        return ERROR_SUCCESS;
    });
    return result;
}

BOOL FindNextFileW(HANDLE hFindFile, LPWIN32_FIND_DATAW lpFindFileData) {
    DWORD error = kx::runService([&]() -> DWORD {
        auto search = kx::HandleTable::instance().findAs<FindSearch>(hFindFile);
        if (!search) {
            return ERROR_INVALID_HANDLE;
        }
        if (!lpFindFileData) {
            return ERROR_INVALID_PARAMETER;
        }
        std::lock_guard<std::mutex> lock(search->mutex);
        if (search->next >= search->entries.size()) {
            return ERROR_NO_MORE_FILES;
        }
        *lpFindFileData = search->entries[search->next++];
        return ERROR_SUCCESS;
    });
    return error == ERROR_SUCCESS;
}

BOOL FindClose(HANDLE hFindFile) {
    DWORD error = kx::runService([&]() -> DWORD {
        auto object = kx::HandleTable::instance().remove(hFindFile, [](const kx::KernelObject& o) {
            return dynamic_cast<const FindSearch*>(&o) != nullptr;
        });
        return object ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
    });
    return error == ERROR_SUCCESS;
}
