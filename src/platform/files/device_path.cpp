#include "files/device_path.h"

#include <winerror.h>

#include <sys/stat.h>

#include <algorithm>
#include <optional>
#include <system_error>
#include <vector>

#include "common/device.h"
#include "common/utf.h"

namespace kx {

namespace fs = std::filesystem;

namespace {

bool isSeparator(char16_t c) {
    return c == u'\\' || c == u'/';
}

std::vector<std::u16string_view> splitComponents(std::u16string_view path) {
    std::vector<std::u16string_view> parts;
    size_t start = 0;
    for (size_t i = 0; i <= path.size(); ++i) {
        if (i == path.size() || isSeparator(path[i])) {
            if (i > start) {
                parts.push_back(path.substr(start, i - start));
            }
            start = i + 1;
        }
    }
    return parts;
}

// Characters that the target's file system does not allow in a name.
bool isInvalidNameChar(char16_t c, bool pattern) {
    if (c < 0x20) {
        return true;
    }
    switch (c) {
    case u'<':
    case u'>':
    case u':':
    case u'"':
    case u'|':
        return true;
    case u'*':
    case u'?':
        return !pattern;
    default:
        return false;
    }
}

bool isInside(const fs::path& p, const fs::path& root) {
    auto mismatch = std::mismatch(root.begin(), root.end(), p.begin(), p.end());
    return mismatch.first == root.end();
}

struct Entry {
    std::string hostName;
    std::u16string name;
};

// Finds a name in a host folder without regard to case. An exact match wins;
// among several entries that differ only in case (possible on the host, not
// on the target) the first in byte order is taken, so look-ups are stable.
std::optional<Entry> findEntry(const fs::path& dir, std::u16string_view name) {
    std::string exact = toUtf8(name);
    struct stat st;
    if (::lstat((dir / exact).c_str(), &st) == 0) {
        return Entry{exact, std::u16string(name)};
    }
    std::optional<Entry> best;
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        std::string host = it->path().filename().string();
        std::u16string wide = fromUtf8(host);
        if (equalsNoCase(wide, name) && (!best || host < best->hostName)) {
            best = Entry{host, wide};
        }
    }
    return best;
}

// Where a symbolic link leads, when that is an existing place inside the
// root; nothing otherwise (outside, dangling or looping).
std::optional<fs::path> linkTargetInside(const fs::path& link, const fs::path& root) {
    std::error_code ec;
    fs::path target = fs::canonical(link, ec);
    if (ec || !isInside(target, root)) {
        return std::nullopt;
    }
    return target;
}

bool isSymlink(const fs::path& p) {
    struct stat st;
    return ::lstat(p.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

// A folder entered on the way down: where its entry lives and where its
// contents are (the link's target for a symbolic link).
struct Step {
    fs::path parent;
    std::string hostName;
    std::u16string name;
    fs::path dir;
};

std::u16string joinDevicePath(const std::vector<Step>& stack, std::u16string_view leaf) {
    std::u16string joined;
    for (const Step& step : stack) {
        joined += step.name;
        joined += u'\\';
    }
    joined += leaf;
    if (leaf.empty() && !joined.empty()) {
        joined.pop_back();
    }
    return joined;
}

} // namespace

std::optional<fs::path> followInsideRoot(const fs::path& entry, const fs::path& root) {
    if (!isSymlink(entry)) {
        return entry;
    }
    std::error_code ec;
    fs::path canonRoot = fs::canonical(root, ec);
    if (ec) {
        return std::nullopt;
    }
    return linkTargetInside(entry, canonRoot);
}

bool hasWildcardLeaf(std::u16string_view path) {
    size_t cut = path.find_last_of(u"\\/");
    std::u16string_view leaf = cut == std::u16string_view::npos ? path : path.substr(cut + 1);
    return leaf.find_first_of(u"*?") != std::u16string_view::npos;
}

bool matchesPattern(std::u16string_view name, std::u16string_view pattern) {
    size_t n = 0, p = 0;
    size_t starAt = std::u16string_view::npos, resumeAt = 0;
    while (n < name.size()) {
        if (p < pattern.size() &&
            (pattern[p] == u'?' || foldCase(pattern[p]) == foldCase(name[n]))) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            starAt = p++;
            resumeAt = n;
        } else if (starAt != std::u16string_view::npos) {
            p = starAt + 1;
            n = ++resumeAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*') {
        ++p;
    }
    return p == pattern.size();
}

ResolvedPath resolveDevicePath(std::u16string_view path, LeafRule leaf) {
    return resolveDevicePath(path, currentDevice().rootDir(), leaf);
}

ResolvedPath resolveDevicePath(std::u16string_view path, const fs::path& root, LeafRule leaf) {
    ResolvedPath r;
    if (path.size() > kMaxDevicePath) {
        r.error = ERROR_FILENAME_EXCED_RANGE;
        return r;
    }
    if (path.empty()) {
        r.error = ERROR_PATH_NOT_FOUND;
        return r;
    }
    std::vector<std::u16string_view> parts = splitComponents(path);
    for (size_t i = 0; i < parts.size(); ++i) {
        bool pattern = leaf == LeafRule::Pattern && i + 1 == parts.size();
        for (char16_t c : parts[i]) {
            if (isInvalidNameChar(c, pattern)) {
                r.error = ERROR_INVALID_NAME;
                return r;
            }
        }
    }
    std::error_code ec;
    fs::path canonRoot = fs::canonical(root, ec);
    if (ec || !fs::is_directory(canonRoot, ec)) {
        r.error = ERROR_PATH_NOT_FOUND;
        return r;
    }

    std::vector<Step> stack;
    auto current = [&]() -> const fs::path& {
        return stack.empty() ? canonRoot : stack.back().dir;
    };
    for (size_t i = 0; i < parts.size(); ++i) {
        std::u16string_view part = parts[i];
        bool last = i + 1 == parts.size();
        if (part == u".") {
            continue;
        }
        if (part == u"..") {
            if (stack.empty()) {
                r.error = ERROR_PATH_NOT_FOUND; // never above the root
                return r;
            }
            stack.pop_back();
            continue;
        }
        if (last) {
            r.folder = current();
            r.devicePath = joinDevicePath(stack, part);
            if (leaf == LeafRule::Pattern) {
                r.name = std::u16string(part);
                r.hostName = toUtf8(part);
                return r;
            }
            std::optional<Entry> entry = findEntry(r.folder, part);
            if (!entry) {
                r.name = std::u16string(part);
                r.hostName = toUtf8(part);
                return r;
            }
            r.name = entry->name;
            r.hostName = entry->hostName;
            r.devicePath = joinDevicePath(stack, r.name);
            fs::path target = r.folder / r.hostName;
            if (isSymlink(target)) {
                std::optional<fs::path> inside = linkTargetInside(target, canonRoot);
                if (!inside) {
                    r.error = ERROR_FILE_NOT_FOUND;
                    return r;
                }
                target = *inside;
            }
            r.exists = true;
            r.isDirectory = fs::is_directory(target, ec);
            return r;
        }
        std::optional<Entry> entry = findEntry(current(), part);
        if (!entry) {
            r.error = ERROR_PATH_NOT_FOUND;
            return r;
        }
        Step step{current(), entry->hostName, entry->name, current() / entry->hostName};
        if (isSymlink(step.dir)) {
            std::optional<fs::path> inside = linkTargetInside(step.dir, canonRoot);
            if (!inside) {
                r.error = ERROR_PATH_NOT_FOUND;
                return r;
            }
            step.dir = *inside;
        }
        if (!fs::is_directory(step.dir, ec)) {
            r.error = ERROR_PATH_NOT_FOUND;
            return r;
        }
        stack.push_back(std::move(step));
    }

    // The path ends in a folder reached through "." or "..", or names the root.
    if (stack.empty()) {
        r.folder = canonRoot;
        r.isRoot = true;
    } else {
        r.folder = stack.back().parent;
        r.name = stack.back().name;
        r.hostName = stack.back().hostName;
        stack.pop_back();
        r.devicePath = joinDevicePath(stack, r.name);
    }
    r.exists = true;
    r.isDirectory = true;
    return r;
}

} // namespace kx
