// Icons: handles to the program's group icon resources.
#include <windows.h>

#include "resources/resource_module.h"
#include "windowing/icon_table.h"

namespace kx {

IconTable& IconTable::instance() {
    static IconTable table;
    return table;
}

HICON IconTable::handleFor(uint16_t resourceId) {
    auto it = m_byId.find(resourceId);
    if (it != m_byId.end()) {
        return it->second;
    }
    HICON icon = reinterpret_cast<HICON>(uintptr_t(0x40000) + resourceId * 4u);
    m_byId.emplace(resourceId, icon);
    m_ids.emplace(icon, resourceId);
    return icon;
}

std::optional<uint16_t> IconTable::resourceIdOf(HICON icon) const {
    auto it = m_ids.find(icon);
    if (it == m_ids.end()) {
        return std::nullopt;
    }
    return it->second;
}

} // namespace kx

// Icons of the program's own module are shared resource icons: loading one
// twice gives the same handle, and nobody destroys them.
HICON LoadIconW(HINSTANCE hInstance, LPCWSTR lpIconName) {
    if (hInstance != GetModuleHandleW(nullptr) || !IS_INTRESOURCE(lpIconName)) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    auto id = uint16_t(reinterpret_cast<uintptr_t>(lpIconName));
    if (!kx::ResourceModule::current().findGroupIcon(id)) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    return kx::IconTable::instance().handleFor(id);
}
