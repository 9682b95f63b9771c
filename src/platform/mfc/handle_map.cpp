#include "mfc/handle_map.h"

#include "windowing/window_manager.h"

namespace kx {

HandleMap& HandleMap::instance() {
    static HandleMap* map = [] {
        static HandleMap instance;
        WindowManager::instance().addDestroyListener(
            [](HWND hwnd) { HandleMap::instance().removeTemporary(hwnd); });
        return &instance;
    }();
    return *map;
}

CWnd* HandleMap::permanent(HWND hwnd) const {
    auto it = m_permanent.find(hwnd);
    return it == m_permanent.end() ? nullptr : it->second;
}

void HandleMap::setPermanent(HWND hwnd, CWnd* wnd) {
    m_permanent[hwnd] = wnd;
}

void HandleMap::removePermanent(HWND hwnd) {
    m_permanent.erase(hwnd);
}

CWnd* HandleMap::temporary(HWND hwnd) {
    auto& slot = m_temporary[hwnd];
    if (!slot) {
        slot = std::make_unique<CWnd>();
        slot->m_hWnd = hwnd;
    }
    return slot.get();
}

void HandleMap::removeTemporary(HWND hwnd) {
    auto it = m_temporary.find(hwnd);
    if (it != m_temporary.end()) {
        it->second->m_hWnd = nullptr;
        m_temporary.erase(it);
    }
}

namespace {
const CurrentMessage* g_current = nullptr;
}

const CurrentMessage* currentMessage() {
    return g_current;
}

CurrentMessageScope::CurrentMessageScope(const CurrentMessage& message)
    : m_previous(g_current), m_message(message) {
    g_current = &m_message;
}

CurrentMessageScope::~CurrentMessageScope() {
    g_current = m_previous;
}

} // namespace kx
