#include "files/share_registry.h"

#include <windows.h>

namespace kx {

namespace {

// Whether access is allowed by the sharing of another handle.
bool allowedBy(DWORD access, DWORD otherShare) {
    if ((access & GENERIC_READ) && !(otherShare & FILE_SHARE_READ)) {
        return false;
    }
    if ((access & GENERIC_WRITE) && !(otherShare & FILE_SHARE_WRITE)) {
        return false;
    }
    return true;
}

} // namespace

ShareRegistry& ShareRegistry::instance() {
    static ShareRegistry registry;
    return registry;
}

bool ShareRegistry::tryAdd(const FileId& file, DWORD access, DWORD share, const void* owner) {
    std::lock_guard<std::mutex> lock(m_mutex);
    auto range = m_grants.equal_range(file);
    for (auto it = range.first; it != range.second; ++it) {
        const Grant& other = it->second;
        if (!allowedBy(access, other.share) || !allowedBy(other.access, share)) {
            return false;
        }
    }
    m_grants.emplace(file, Grant{access, share, owner});
    return true;
}

void ShareRegistry::remove(const FileId& file, const void* owner) {
    std::lock_guard<std::mutex> lock(m_mutex);
    auto range = m_grants.equal_range(file);
    for (auto it = range.first; it != range.second; ++it) {
        if (it->second.owner == owner) {
            m_grants.erase(it);
            return;
        }
    }
}

bool ShareRegistry::isOpen(const FileId& file) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_grants.count(file) != 0;
}

} // namespace kx
