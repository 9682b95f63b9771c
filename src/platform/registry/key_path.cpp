#include "registry/key_path.h"

#include "common/utf.h"
#include "registry/registry_error.h"

namespace kx {

namespace {

struct RootName {
    HKEY handle;
    int64_t id;
    std::u16string_view name;
    std::u16string_view shortName;
};

const RootName kRoots[] = {
    {HKEY_CLASSES_ROOT, kRootClassesRoot, u"HKEY_CLASSES_ROOT", u"HKCR"},
    {HKEY_CURRENT_USER, kRootCurrentUser, u"HKEY_CURRENT_USER", u"HKCU"},
    {HKEY_LOCAL_MACHINE, kRootLocalMachine, u"HKEY_LOCAL_MACHINE", u"HKLM"},
    {HKEY_USERS, kRootUsers, u"HKEY_USERS", u"HKU"},
};

// Names are kept as UTF-8 in the database; a name with an unpaired
// surrogate would not come back as it went in, so it is refused.
bool storable(std::u16string_view name) {
    return fromUtf8(toUtf8(name)) == name;
}

} // namespace

std::optional<int64_t> predefinedRoot(HKEY key) {
    for (const auto& root : kRoots) {
        if (root.handle == key) {
            return root.id;
        }
    }
    return std::nullopt;
}

std::optional<int64_t> rootByName(std::u16string_view name, bool allowShort) {
    for (const auto& root : kRoots) {
        if (equalsNoCase(name, root.name) || (allowShort && equalsNoCase(name, root.shortName))) {
            return root.id;
        }
    }
    return std::nullopt;
}

std::vector<std::u16string> splitKeyPath(std::u16string_view path) {
    if (!path.empty() && path.front() == u'\\') {
        path.remove_prefix(1);
    }
    if (!path.empty() && path.back() == u'\\') {
        path.remove_suffix(1);
    }
    std::vector<std::u16string> names;
    if (path.empty()) {
        return names;
    }
    size_t start = 0;
    for (;;) {
        size_t end = path.find(u'\\', start);
        std::u16string_view name = path.substr(start, end == path.npos ? path.npos : end - start);
        if (name.empty()) {
            throw RegistryError(ERROR_INVALID_PARAMETER,
                                "empty key name in \"" + toUtf8(path) + "\"");
        }
        if (name.size() > kMaxKeyNameLength) {
            throw RegistryError(ERROR_INVALID_PARAMETER, "key name longer than " +
                                                             std::to_string(kMaxKeyNameLength) +
                                                             " characters");
        }
        if (!storable(name)) {
            throw RegistryError(ERROR_INVALID_PARAMETER, "key name with an unpaired surrogate");
        }
        names.emplace_back(name);
        if (end == path.npos) {
            break;
        }
        start = end + 1;
    }
    return names;
}

std::pair<int64_t, std::vector<std::u16string>> splitFullKeyPath(std::u16string_view path,
                                                                 bool allowShort) {
    size_t slash = path.find(u'\\');
    std::u16string_view rootName = path.substr(0, slash);
    auto root = rootByName(rootName, allowShort);
    if (!root) {
        throw RegistryError(ERROR_INVALID_PARAMETER,
                            "\"" + toUtf8(rootName) +
                                "\" is not a registry root (HKEY_LOCAL_MACHINE, "
                                "HKEY_CURRENT_USER, HKEY_CLASSES_ROOT or HKEY_USERS)");
    }
    if (slash == path.npos) {
        return {*root, {}};
    }
    std::u16string_view rest = path.substr(slash + 1);
    if (rest.empty()) {
        return {*root, {}};
    }
    if (rest.front() == u'\\') {
        throw RegistryError(ERROR_INVALID_PARAMETER, "empty key name in \"" + toUtf8(path) + "\"");
    }
    return {*root, splitKeyPath(rest)};
}

void checkValueName(std::u16string_view name) {
    if (name.size() > kMaxValueNameLength) {
        throw RegistryError(ERROR_INVALID_PARAMETER, "value name longer than " +
                                                         std::to_string(kMaxValueNameLength) +
                                                         " characters");
    }
    if (!storable(name)) {
        throw RegistryError(ERROR_INVALID_PARAMETER, "value name with an unpaired surrogate");
    }
}

std::string storedName(std::u16string_view name) {
    return toUtf8(name);
}

std::string foldedName(std::u16string_view name) {
    return toUtf8(foldedCopy(name));
}

} // namespace kx
