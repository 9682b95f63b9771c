#include "registry/registry_admin.h"

#include <unistd.h>

#include <string>
#include <utility>

#include "common/device.h"
#include "common/utf.h"
#include "registry/key_path.h"
#include "registry/registry_error.h"
#include "registry/registry_session.h"

namespace kx {

namespace {

// Replaces the keys and values of one copy of the registry ("live" or
// "saved") with those of the other. Ids are copied unchanged, so after a
// restart open handles to keys that survive keep working; keys created since
// the save are gone.
std::string replaceCopySql(const std::string& from, const std::string& to) {
    std::string sql;
    for (const char* table : {"values", "keys"}) {
        sql += "DELETE FROM " + to + "_" + table + ";\n";
    }
    const std::pair<const char*, const char*> copies[] = {
        {"keys", "id, parent, name, folded"},
        {"values", "id, key, name, folded, type, data"},
    };
    for (auto [table, columns] : copies) {
        sql += "INSERT INTO " + to + "_" + table + "(" + columns + ") SELECT " + columns +
               " FROM " + from + "_" + table + ";\n";
    }
    return sql;
}

SaveRun readRun(Statement& query) {
    return SaveRun{query.integer(0), query.text(1), query.integer(2), query.text(3)};
}

std::string lineText(int line) {
    return line > 0 ? "line " + std::to_string(line) + ": " : "";
}

} // namespace

void selectDevice(const std::filesystem::path& folder) {
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) {
        throw RegistryError(ERROR_PATH_NOT_FOUND,
                            "the device folder " + folder.string() + " does not exist");
    }
    if (!Device(folder).exists()) {
        throw RegistryError(ERROR_PATH_NOT_FOUND, folder.string() +
                                                      " is not an emulated device (it has no "
                                                      "root folder)");
    }
    setCurrentDevice(folder);
}

SaveRun saveRegistry(const std::string& program) {
    SaveRun run;
    withRegistry([&](RegistryDatabase& db, RegistryHandles&) {
        db.write([&] {
            db.exec(replaceCopySql("live", "saved").c_str());
            Statement record(db, "INSERT INTO save_runs(time, pid, program) VALUES("
                                 "strftime('%Y-%m-%dT%H:%M:%fZ', 'now'), ?, ?) "
                                 "RETURNING id, time, pid, program");
            record.bind(1, int64_t(getpid())).bind(2, program);
            record.step();
            run = readRun(record);
            record.reset();
        });
        db.checkpoint();
    });
    return run;
}

std::vector<SaveRun> saveRuns() {
    std::vector<SaveRun> runs;
    withRegistry([&](RegistryDatabase& db, RegistryHandles&) {
        db.read([&] {
            runs.clear();
            Statement query(db, "SELECT id, time, pid, program FROM save_runs ORDER BY id");
            while (query.step()) {
                runs.push_back(readRun(query));
            }
        });
    });
    return runs;
}

std::optional<SaveRun> restartRegistry() {
    std::optional<SaveRun> last;
    withRegistry([&](RegistryDatabase& db, RegistryHandles&) {
        db.write([&] {
            db.exec(replaceCopySql("saved", "live").c_str());
            Statement query(db, "SELECT id, time, pid, program FROM save_runs "
                                "ORDER BY id DESC LIMIT 1");
            last.reset();
            if (query.step()) {
                last = readRun(query);
            }
        });
        db.checkpoint();
    });
    return last;
}

std::vector<RegistryKey> listRegistry(std::u16string_view keyPath) {
    std::vector<RegistryKey> keys;
    withRegistry([&](RegistryDatabase& db, RegistryHandles&) {
        RegistryTree tree(db);
        db.read([&] {
            keys.clear();
            if (!keyPath.empty()) {
                auto [root, names] = splitFullKeyPath(keyPath, true);
                auto key = tree.findPath(root, names);
                if (!key) {
                    throw RegistryError(ERROR_FILE_NOT_FOUND,
                                        "no key " + toUtf8(keyPath) + " in the registry");
                }
                keys = tree.enumerate(*key);
                return;
            }
            for (int64_t root = 1; root <= kLastRootId; ++root) {
                for (auto& key : tree.enumerate(root)) {
                    bool isRoot = key.path.find(u'\\') == key.path.npos;
                    if (!isRoot || !key.values.empty()) {
                        keys.push_back(std::move(key));
                    }
                }
            }
        });
    });
    return keys;
}

void importRegistry(const std::vector<RegistryChange>& changes, ImportMode mode) {
    // Check every change before anything is written.
    struct Checked {
        int64_t root;
        std::vector<std::u16string> names;
    };
    std::vector<Checked> checked;
    checked.reserve(changes.size());
    for (const auto& change : changes) {
        try {
            auto [root, names] = splitFullKeyPath(change.keyPath);
            if (change.kind == RegistryChange::Kind::DeleteKey && names.empty()) {
                throw RegistryError(ERROR_INVALID_PARAMETER, "a root key cannot be deleted");
            }
            if (change.kind == RegistryChange::Kind::SetValue ||
                change.kind == RegistryChange::Kind::DeleteValue) {
                checkValueName(change.value.name);
            }
            checked.push_back({root, std::move(names)});
        } catch (const RegistryError& e) {
            throw RegistryError(e.code(), lineText(change.line) + e.what());
        }
    }
    withRegistry([&](RegistryDatabase& db, RegistryHandles&) {
        RegistryTree tree(db);
        db.write([&] {
            if (mode == ImportMode::Replace) {
                tree.clear();
            }
            for (size_t i = 0; i < changes.size(); ++i) {
                const auto& change = changes[i];
                const auto& [root, names] = checked[i];
                switch (change.kind) {
                case RegistryChange::Kind::CreateKey:
                    tree.createPath(root, names, nullptr);
                    break;
                case RegistryChange::Kind::DeleteKey:
                    if (auto key = tree.findPath(root, names)) {
                        tree.deleteKey(*key);
                    }
                    break;
                case RegistryChange::Kind::SetValue:
                    tree.setValue(tree.createPath(root, names, nullptr), change.value.name,
                                  change.value.type, change.value.data);
                    break;
                case RegistryChange::Kind::DeleteValue:
                    if (auto key = tree.findPath(root, names)) {
                        tree.deleteValue(*key, change.value.name);
                    }
                    break;
                }
            }
        });
        db.checkpoint();
    });
}

void initRegistry(const std::vector<std::u16string>& keyPaths, const std::string& program) {
    std::vector<RegistryChange> changes;
    for (const auto& path : keyPaths) {
        changes.push_back({RegistryChange::Kind::CreateKey, path, {}, 0});
    }
    importRegistry(changes, ImportMode::Merge);
    saveRegistry(program);
}

} // namespace kx
