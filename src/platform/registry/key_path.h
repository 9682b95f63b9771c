// Names in the registry: splitting and checking key paths, the predefined
// roots, and the stored forms of names (UTF-8 as given, and case-folded for
// lookups, since names are case-insensitive and case-preserving).
//
// It only checks and converts text; it never touches the database.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <windows.h>

namespace kx {

// Longest key name (one path element) and value name, in UTF-16 units.
constexpr size_t kMaxKeyNameLength = 255;
constexpr size_t kMaxValueNameLength = 16383;

// Ids of the predefined roots in the database; other keys have larger ids.
constexpr int64_t kRootClassesRoot = 1;
constexpr int64_t kRootCurrentUser = 2;
constexpr int64_t kRootLocalMachine = 3;
constexpr int64_t kRootUsers = 4;
constexpr int64_t kLastRootId = 4;

// The root id for a predefined HKEY, or nothing for any other handle value.
std::optional<int64_t> predefinedRoot(HKEY key);
// The root id for a root name such as "HKEY_LOCAL_MACHINE" (any case); with
// `allowShort`, also "HKLM", "HKCU", "HKCR" and "HKU".
std::optional<int64_t> rootByName(std::u16string_view name, bool allowShort = false);

// Splits a subkey path at backslashes. One leading and one trailing
// backslash are allowed; an empty path gives no elements. Throws
// RegistryError(ERROR_INVALID_PARAMETER) for an empty or too long element or
// a name that cannot be stored.
std::vector<std::u16string> splitKeyPath(std::u16string_view path);

// Splits a full path "ROOT\sub\key" into its root id and elements. Throws
// RegistryError(ERROR_INVALID_PARAMETER) naming what is wrong.
std::pair<int64_t, std::vector<std::u16string>> splitFullKeyPath(std::u16string_view path,
                                                                 bool allowShort = false);

// Throws RegistryError(ERROR_INVALID_PARAMETER) for a value name that is too
// long or cannot be stored.
void checkValueName(std::u16string_view name);

// The stored form of a name (UTF-8) and its folded form used for lookups.
std::string storedName(std::u16string_view name);
std::string foldedName(std::u16string_view name);

} // namespace kx
