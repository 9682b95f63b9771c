// An open file handle's object: one host descriptor, the access and sharing
// it was opened with, and the device path it was opened by (for storage
// faults). The descriptor's own position is the handle's file pointer.
//
// It neither checks arguments nor reports errors; the file services do.
#pragma once

#include <windef.h>

#include <string>

#include "files/handle_table.h"
#include "files/share_registry.h"

namespace kx {

class OpenFile : public KernelObject {
public:
    // Takes ownership of the descriptor.
    OpenFile(int fd, DWORD access, DWORD share, FileId id, std::u16string devicePath);
    ~OpenFile() override;
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;

    // Records the open in the share registry; false when sharing forbids it.
    bool registerShare();

    int fd() const { return m_fd; }
    DWORD access() const { return m_access; }
    DWORD share() const { return m_share; }
    const FileId& id() const { return m_id; }
    const std::u16string& devicePath() const { return m_devicePath; }
    bool canRead() const;
    bool canWrite() const;

private:
    int m_fd;
    DWORD m_access;
    DWORD m_share;
    FileId m_id;
    std::u16string m_devicePath;
    bool m_registered = false;
};

} // namespace kx
