// Resolution of device paths: paths of the emulated device's file system,
// counted from its root, turned into host paths inside the device folder.
//
// A device path is separated by backslashes (forward slashes are accepted
// too), with or without a leading backslash; the target has no current
// directory, so every path starts at the root. Names are found without regard
// to case and keep the case they were made with. No path ever leads outside
// the root: ".." past the root, or a symbolic link whose target lies outside
// it, is simply not found.
//
// Resolution only looks: it opens, creates and locks nothing, so a caller
// that acts on the result must still expect the entry to change under it.
#pragma once

#include <windef.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kx {

// The longest device path in characters, without the terminator.
constexpr size_t kMaxDevicePath = MAX_PATH - 1;

// What the last component of a path may be.
enum class LeafRule {
    Name,    // a plain name, looked up
    Pattern, // a find pattern that may hold '*' and '?'; not looked up
};

struct ResolvedPath {
    // ERROR_SUCCESS when every folder on the way exists and the last
    // component may be used; otherwise the platform's reason. A missing last
    // entry is not an error here: see exists.
    DWORD error = 0;
    // The host folder that holds, or would hold, the entry.
    std::filesystem::path folder;
    // The entry's name as stored when it exists, else as given; empty for
    // the root itself.
    std::u16string name;
    // The path in device form: the components with their stored case joined
    // by backslashes, without a leading backslash ("" for the root).
    std::u16string devicePath;
    bool exists = false;
    bool isDirectory = false;
    bool isRoot = false;

    // The entry's name in host form: as stored when it exists (host names
    // need not be valid UTF-8), else the given name in UTF-8.
    std::string hostName;

    bool ok() const { return error == 0; }
    // The host path of the entry (the folder itself for the root).
    std::filesystem::path hostPath() const { return isRoot ? folder : folder / hostName; }
};

// Resolves a device path against the current device's root.
ResolvedPath resolveDevicePath(std::u16string_view path, LeafRule leaf = LeafRule::Name);
// Resolves a device path against a given host folder standing for the root.
ResolvedPath resolveDevicePath(std::u16string_view path, const std::filesystem::path& root,
                               LeafRule leaf = LeafRule::Name);

// The host path that an entry found in a resolved folder stands for: the
// entry itself, or for a symbolic link its target when that exists inside the
// root. Nothing when the link leads outside the root or nowhere.
std::optional<std::filesystem::path> followInsideRoot(const std::filesystem::path& entry,
                                                      const std::filesystem::path& root);

// Whether a device path has a component that holds '*' or '?' at its end.
bool hasWildcardLeaf(std::u16string_view path);

// Whether a name, with case ignored, matches a find pattern of '*' (any run
// of characters) and '?' (any one character).
bool matchesPattern(std::u16string_view name, std::u16string_view pattern);

} // namespace kx
