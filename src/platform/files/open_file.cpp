#include "files/open_file.h"

#include <windows.h>

#include <unistd.h>

namespace kx {

OpenFile::OpenFile(int fd, DWORD access, DWORD share, FileId id, std::u16string devicePath)
    : m_fd(fd), m_access(access), m_share(share), m_id(id), m_devicePath(std::move(devicePath)) {}

OpenFile::~OpenFile() {
    if (m_registered) {
        ShareRegistry::instance().remove(m_id, this);
    }
    // Closing also drops the advisory lock of the descriptor.
    ::close(m_fd);
}

bool OpenFile::registerShare() {
    m_registered = ShareRegistry::instance().tryAdd(m_id, m_access, m_share, this);
    return m_registered;
}

bool OpenFile::canRead() const {
    return (m_access & GENERIC_READ) != 0;
}
bool OpenFile::canWrite() const {
    return (m_access & GENERIC_WRITE) != 0;
}

} // namespace kx
