// The live registry as a tree of keys and values in the registry database.
// Every operation is a few SQL statements; the caller wraps them in the
// database's read or write transaction, so that a group of them is atomic.
//
// It checks no arguments and knows nothing of handles or the saved copy.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <windows.h>

#include "registry/registry_database.h"

namespace kx {

struct RegistryValue {
    std::u16string name; // empty for the default value
    DWORD type = REG_NONE;
    std::vector<uint8_t> data;
};

struct RegistryKey {
    std::u16string path; // full path, "HKEY_LOCAL_MACHINE\Drivers\CS8900"
    std::vector<RegistryValue> values;
};

class RegistryTree {
public:
    explicit RegistryTree(RegistryDatabase& db) : m_db(db) {}

    bool keyExists(int64_t key);
    std::optional<int64_t> findChild(int64_t parent, std::u16string_view name);
    std::optional<int64_t> findPath(int64_t root, const std::vector<std::u16string>& names);
    // Opens or creates each key along the path; `created` tells whether the
    // last one was new.
    int64_t createPath(int64_t root, const std::vector<std::u16string>& names, bool* created);

    // Stores the value; an existing value of that name keeps its place and
    // the spelling it was first given.
    void setValue(int64_t key, std::u16string_view name, DWORD type,
                  const std::vector<uint8_t>& data);
    std::optional<RegistryValue> value(int64_t key, std::u16string_view name);
    bool deleteValue(int64_t key, std::u16string_view name);

    // Removes a key with its values and subkeys. A root itself stays (it is
    // emptied).
    void deleteKey(int64_t key);
    // Removes every key and value but the roots.
    void clear();

    // The full path of a key.
    std::u16string path(int64_t key);
    // The key and all keys below it, parents first, subkeys in name order,
    // values in the order they were first set.
    std::vector<RegistryKey> enumerate(int64_t top);

private:
    void enumerateInto(int64_t key, const std::u16string& path, std::vector<RegistryKey>& out);

    RegistryDatabase& m_db;
};

} // namespace kx
