// The process's handle table: opaque HANDLE values for the kernel objects
// that the file, find and shell services hand out.
//
// Handle values are never reused within a process, so a closed handle stays
// invalid instead of quietly naming a newer object. The table keeps objects
// alive; it does not know what they are for (CloseHandle and FindClose decide
// which kinds they accept).
#pragma once

#include <windef.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace kx {

// What a handle refers to: an open file, a find search, a started process.
class KernelObject {
public:
    virtual ~KernelObject() = default;
    // Whether CloseHandle releases this kind of object (a find search is
    // released by FindClose only).
    virtual bool closableByCloseHandle() const { return true; }
};

class HandleTable {
public:
    static HandleTable& instance();

    HANDLE insert(std::shared_ptr<KernelObject> object);
    // The object of a handle, or null for a handle that is not open.
    std::shared_ptr<KernelObject> find(HANDLE handle) const;
    template <class T> std::shared_ptr<T> findAs(HANDLE handle) const {
        return std::dynamic_pointer_cast<T>(find(handle));
    }
    // Takes the object out of the table when accept says it may go; null
    // (the table unchanged) when the handle is not open or not accepted.
    std::shared_ptr<KernelObject> remove(HANDLE handle,
                                         const std::function<bool(const KernelObject&)>& accept);
    size_t size() const;

private:
    mutable std::mutex m_mutex;
    std::unordered_map<uintptr_t, std::shared_ptr<KernelObject>> m_objects;
    uintptr_t m_next = 0x1000;
};

} // namespace kx
