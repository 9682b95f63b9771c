#include "files/handle_table.h"

namespace kx {

HandleTable& HandleTable::instance() {
    static HandleTable table;
    return table;
}

HANDLE HandleTable::insert(std::shared_ptr<KernelObject> object) {
    std::lock_guard<std::mutex> lock(m_mutex);
    uintptr_t value = m_next;
    m_next += 4;
    m_objects.emplace(value, std::move(object));
    return reinterpret_cast<HANDLE>(value);
}

std::shared_ptr<KernelObject> HandleTable::find(HANDLE handle) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = m_objects.find(reinterpret_cast<uintptr_t>(handle));
    return it == m_objects.end() ? nullptr : it->second;
}

std::shared_ptr<KernelObject>
HandleTable::remove(HANDLE handle, const std::function<bool(const KernelObject&)>& accept) {
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = m_objects.find(reinterpret_cast<uintptr_t>(handle));
    if (it == m_objects.end() || !accept(*it->second)) {
        return nullptr;
    }
    std::shared_ptr<KernelObject> object = std::move(it->second);
    m_objects.erase(it);
    return object;
}

size_t HandleTable::size() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_objects.size();
}

} // namespace kx
