#include "registry/registry_handles.h"

namespace kx {

HKEY RegistryHandles::add(int64_t key) {
    uintptr_t value = m_next;
    m_next += 4;
    m_keys.emplace(value, key);
    return reinterpret_cast<HKEY>(value);
}

std::optional<int64_t> RegistryHandles::find(HKEY handle) const {
    auto it = m_keys.find(reinterpret_cast<uintptr_t>(handle));
    if (it == m_keys.end()) {
        return std::nullopt;
    }
    return it->second;
}

bool RegistryHandles::remove(HKEY handle) {
    return m_keys.erase(reinterpret_cast<uintptr_t>(handle)) > 0;
}

} // namespace kx
