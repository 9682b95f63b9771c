// The sharing rules between open handles of one file in this process: an
// open is refused when its access is denied by the sharing of an open handle,
// or when its own sharing denies the access of an open handle.
//
// Only this process's handles are tracked here; between processes
// CreateFileW adds an advisory lock (see create_file.cpp), which is coarser.
#pragma once

#include <windef.h>

#include <sys/types.h>

#include <map>
#include <mutex>

namespace kx {

// A host file, independent of the name it was opened by.
struct FileId {
    dev_t device = 0;
    ino_t inode = 0;
    friend auto operator<=>(const FileId&, const FileId&) = default;
};

class ShareRegistry {
public:
    static ShareRegistry& instance();

    // Records an open of the file with its access and share mode, under an
    // owner token; false, recording nothing, when it conflicts.
    bool tryAdd(const FileId& file, DWORD access, DWORD share, const void* owner);
    void remove(const FileId& file, const void* owner);
    // Whether any handle of this process has the file open.
    bool isOpen(const FileId& file) const;

private:
    struct Grant {
        DWORD access;
        DWORD share;
        const void* owner;
    };
    mutable std::mutex m_mutex;
    std::multimap<FileId, Grant> m_grants;
};

} // namespace kx
