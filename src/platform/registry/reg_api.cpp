// The registry services of the system-service interface, on the live
// registry of the current device. Arguments are checked first; every internal
// failure becomes the service's error code at the one exit in `guarded`.
#include <cstring>
#include <string>

#include <windows.h>

#include "common/event_log.h"
#include "common/utf.h"
#include "registry/key_path.h"
#include "registry/registry_error.h"
#include "registry/registry_session.h"
#include "registry/registry_tree.h"

namespace {

using kx::RegistryDatabase;
using kx::RegistryError;
using kx::RegistryHandles;

// Runs a service body with the session; converts internal failures.
template <typename Body> LONG guarded(Body&& body) {
    try {
        LONG result = ERROR_SUCCESS;
        kx::withRegistry(
            [&](RegistryDatabase& db, RegistryHandles& handles) { result = body(db, handles); });
        return result;
    } catch (const RegistryError& e) {
        return e.code();
    } catch (const std::bad_alloc&) {
        return ERROR_NOT_ENOUGH_MEMORY;
    } catch (const std::exception&) {
        return ERROR_CANTWRITE;
    }
}

// The key id behind a handle: a predefined root or an open handle. Throws
// ERROR_INVALID_HANDLE for anything else and ERROR_KEY_DELETED for a key
// that no longer exists (removed by an import or a restart).
int64_t resolve(HKEY handle, RegistryHandles& handles, kx::RegistryTree& tree) {
    if (auto root = kx::predefinedRoot(handle)) {
        return *root;
    }
    auto key = handles.find(handle);
    if (!key) {
        throw RegistryError(ERROR_INVALID_HANDLE, "invalid registry handle");
    }
    if (!tree.keyExists(*key)) {
        throw RegistryError(ERROR_KEY_DELETED, "the key was deleted");
    }
    return *key;
}

std::u16string_view textOf(LPCWSTR text) {
    return text ? std::u16string_view(text) : std::u16string_view();
}

} // namespace

LONG RegCreateKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD Reserved, LPWSTR lpClass, DWORD dwOptions,
                     REGSAM samDesired, LPSECURITY_ATTRIBUTES lpSecurityAttributes, PHKEY phkResult,
                     LPDWORD lpdwDisposition) {
    (void)Reserved, (void)lpClass, (void)dwOptions, (void)samDesired, (void)lpSecurityAttributes;
    if (!phkResult || !lpSubKey) {
        return ERROR_INVALID_PARAMETER;
    }
    return guarded([&](RegistryDatabase& db, RegistryHandles& handles) -> LONG {
        std::vector<std::u16string> names = kx::splitKeyPath(lpSubKey);
        kx::RegistryTree tree(db);
        bool created = false;
        int64_t key = 0;
        db.write([&] { key = tree.createPath(resolve(hKey, handles, tree), names, &created); });
        *phkResult = handles.add(key);
        if (lpdwDisposition) {
            *lpdwDisposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
        }
        return ERROR_SUCCESS;
    });
}

LONG RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD ulOptions, REGSAM samDesired,
                   PHKEY phkResult) {
    (void)ulOptions, (void)samDesired;
    if (!phkResult) {
        return ERROR_INVALID_PARAMETER;
    }
    return guarded([&](RegistryDatabase& db, RegistryHandles& handles) -> LONG {
        // A missing or empty subkey opens a new handle to the key itself.
        std::vector<std::u16string> names = kx::splitKeyPath(textOf(lpSubKey));
        kx::RegistryTree tree(db);
        std::optional<int64_t> key;
        db.read([&] { key = tree.findPath(resolve(hKey, handles, tree), names); });
        if (!key) {
            return ERROR_FILE_NOT_FOUND;
        }
        *phkResult = handles.add(*key);
        return ERROR_SUCCESS;
    });
}

LONG RegSetValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD Reserved, DWORD dwType,
                    const BYTE* lpData, DWORD cbData) {
    (void)Reserved;
    if (!lpData && cbData != 0) {
        return ERROR_INVALID_PARAMETER;
    }
    return guarded([&](RegistryDatabase& db, RegistryHandles& handles) -> LONG {
        std::u16string_view name = textOf(lpValueName);
        kx::checkValueName(name);
        // the data is stored as given: text keeps no added terminator and the
        // caller's size is the value's size
        std::vector<uint8_t> data(lpData, lpData + cbData);
        kx::RegistryTree tree(db);
        std::u16string keyPath;
        db.write([&] {
            int64_t key = resolve(hKey, handles, tree);
            tree.setValue(key, name, dwType, data);
            if (kx::eventsEnabled()) {
                keyPath = tree.path(key);
            }
        });
        if (kx::eventsEnabled()) {
            kx::emitEvent({{"event", "registry_set"},
                           {"key", kx::toUtf8(keyPath)},
                           {"value", kx::toUtf8(name)},
                           {"type", dwType},
                           {"size", cbData}});
        }
        return ERROR_SUCCESS;
    });
}

LONG RegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType,
                      LPBYTE lpData, LPDWORD lpcbData) {
    if (lpReserved || (lpData && !lpcbData)) {
        return ERROR_INVALID_PARAMETER;
    }
    return guarded([&](RegistryDatabase& db, RegistryHandles& handles) -> LONG {
        std::u16string_view name = textOf(lpValueName);
        kx::checkValueName(name);
        kx::RegistryTree tree(db);
        std::optional<kx::RegistryValue> value;
        db.read([&] { value = tree.value(resolve(hKey, handles, tree), name); });
        if (!value) {
            return ERROR_FILE_NOT_FOUND;
        }
        DWORD size = DWORD(value->data.size());
        if (lpType) {
            *lpType = value->type;
        }
        if (lpData && *lpcbData < size) {
            *lpcbData = size;
            return ERROR_MORE_DATA;
        }
        if (lpData && size > 0) {
            std::memcpy(lpData, value->data.data(), size);
        }
        if (lpcbData) {
            *lpcbData = size;
        }
        return ERROR_SUCCESS;
    });
}

LONG RegDeleteValueW(HKEY hKey, LPCWSTR lpValueName) {
    return guarded([&](RegistryDatabase& db, RegistryHandles& handles) -> LONG {
        std::u16string_view name = textOf(lpValueName);
        kx::checkValueName(name);
        kx::RegistryTree tree(db);
        bool removed = false;
        db.write([&] { removed = tree.deleteValue(resolve(hKey, handles, tree), name); });
        return removed ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
    });
}

LONG RegFlushKey(HKEY hKey) {
    return guarded([&](RegistryDatabase& db, RegistryHandles& handles) -> LONG {
        kx::RegistryTree tree(db);
        db.read([&] { resolve(hKey, handles, tree); });
        // Changes are already committed; flushing forces them to disk.
        db.checkpoint();
        return ERROR_SUCCESS;
    });
}

LONG RegCloseKey(HKEY hKey) {
    if (kx::predefinedRoot(hKey)) {
        return ERROR_SUCCESS;
    }
    return guarded([&](RegistryDatabase&, RegistryHandles& handles) -> LONG {
        return handles.remove(hKey) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
    });
}
