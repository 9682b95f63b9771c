// The open registry key handles of this process. A handle is an opaque value
// that maps to a key id of the live registry. Values are never reused, so a
// closed handle stays invalid instead of quietly naming another key.
//
// The predefined roots are not in the table; the caller resolves them first.
#pragma once

#include <cstdint>
#include <optional>
#include <unordered_map>

#include <windows.h>

namespace kx {

class RegistryHandles {
public:
    HKEY add(int64_t key);
    std::optional<int64_t> find(HKEY handle) const;
    // False when the handle was not open.
    bool remove(HKEY handle);
    void clear() { m_keys.clear(); }
    size_t size() const { return m_keys.size(); }

private:
    std::unordered_map<uintptr_t, int64_t> m_keys;
    uintptr_t m_next = 0x1000;
};

} // namespace kx
