#include "registry/registry_tree.h"

#include "common/utf.h"
#include "registry/key_path.h"

namespace kx {

bool RegistryTree::keyExists(int64_t key) {
    Statement query(m_db, "SELECT 1 FROM live_keys WHERE id = ?");
    return query.bind(1, key).step();
}

std::optional<int64_t> RegistryTree::findChild(int64_t parent, std::u16string_view name) {
    Statement query(m_db, "SELECT id FROM live_keys WHERE parent = ? AND folded = ?");
    query.bind(1, parent).bind(2, foldedName(name));
    if (query.step()) {
        return query.integer(0);
    }
    return std::nullopt;
}

std::optional<int64_t> RegistryTree::findPath(int64_t root,
                                              const std::vector<std::u16string>& names) {
    int64_t key = root;
    for (const auto& name : names) {
        auto child = findChild(key, name);
        if (!child) {
            return std::nullopt;
        }
        key = *child;
    }
    return key;
}

int64_t RegistryTree::createPath(int64_t root, const std::vector<std::u16string>& names,
                                 bool* created) {
    int64_t key = root;
    bool last = false;
    for (const auto& name : names) {
        auto child = findChild(key, name);
        if (child) {
            key = *child;
            last = false;
            continue;
        }
        Statement insert(m_db, "INSERT INTO live_keys(parent, name, folded) VALUES(?, ?, ?)");
        insert.bind(1, key).bind(2, storedName(name)).bind(3, foldedName(name)).run();
        key = sqlite3_last_insert_rowid(m_db.handle());
        last = true;
    }
    if (created) {
        *created = last;
    }
    return key;
}

void RegistryTree::setValue(int64_t key, std::u16string_view name, DWORD type,
                            const std::vector<uint8_t>& data) {
    Statement upsert(m_db, "INSERT INTO live_values(key, name, folded, type, data) "
                           "VALUES(?, ?, ?, ?, ?) ON CONFLICT(key, folded) DO UPDATE SET "
                           "type = excluded.type, data = excluded.data");
    upsert.bind(1, key).bind(2, storedName(name)).bind(3, foldedName(name)).bind(4, type);
    upsert.bindBlob(5, data).run();
}

std::optional<RegistryValue> RegistryTree::value(int64_t key, std::u16string_view name) {
    Statement query(m_db, "SELECT name, type, data FROM live_values WHERE key = ? AND folded = ?");
    query.bind(1, key).bind(2, foldedName(name));
    if (!query.step()) {
        return std::nullopt;
    }
    return RegistryValue{fromUtf8(query.text(0)), DWORD(query.integer(1)), query.blob(2)};
}

bool RegistryTree::deleteValue(int64_t key, std::u16string_view name) {
    Statement remove(m_db, "DELETE FROM live_values WHERE key = ? AND folded = ?");
    remove.bind(1, key).bind(2, foldedName(name)).run();
    return sqlite3_changes(m_db.handle()) > 0;
}

void RegistryTree::deleteKey(int64_t key) {
    const char* subtree = "WITH RECURSIVE sub(id) AS (SELECT ? UNION ALL "
                          "SELECT k.id FROM live_keys k JOIN sub ON k.parent = sub.id) ";
    Statement values(
        m_db, (std::string(subtree) + "DELETE FROM live_values WHERE key IN (SELECT id FROM sub)")
                  .c_str());
    values.bind(1, key).run();
    Statement keys(m_db, (std::string(subtree) +
                          "DELETE FROM live_keys WHERE id IN (SELECT id FROM sub) AND parent != 0")
                             .c_str());
    keys.bind(1, key).run();
}

void RegistryTree::clear() {
    m_db.exec("DELETE FROM live_values; DELETE FROM live_keys WHERE parent != 0");
}

std::u16string RegistryTree::path(int64_t key) {
    std::u16string result;
    Statement query(m_db, "SELECT parent, name FROM live_keys WHERE id = ?");
    while (key != 0) {
        query.bind(1, key);
        if (!query.step()) {
            break;
        }
        std::u16string name = fromUtf8(query.text(1));
        key = query.integer(0);
        query.reset();
        result = result.empty() ? name : name + u"\\" + result;
    }
    return result;
}

std::vector<RegistryKey> RegistryTree::enumerate(int64_t top) {
    std::vector<RegistryKey> out;
    enumerateInto(top, path(top), out);
    return out;
}

void RegistryTree::enumerateInto(int64_t key, const std::u16string& keyPath,
                                 std::vector<RegistryKey>& out) {
    RegistryKey entry{keyPath, {}};
    Statement values(m_db, "SELECT name, type, data FROM live_values WHERE key = ? ORDER BY id");
    values.bind(1, key);
    while (values.step()) {
        entry.values.push_back(
            RegistryValue{fromUtf8(values.text(0)), DWORD(values.integer(1)), values.blob(2)});
    }
    out.push_back(std::move(entry));
    std::vector<std::pair<int64_t, std::u16string>> children;
    Statement query(m_db, "SELECT id, name FROM live_keys WHERE parent = ? ORDER BY folded, id");
    query.bind(1, key);
    while (query.step()) {
        children.emplace_back(query.integer(0), fromUtf8(query.text(1)));
    }
    for (const auto& [child, name] : children) {
        enumerateInto(child, keyPath + u"\\" + name, out);
    }
}

} // namespace kx
