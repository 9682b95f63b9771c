// Reader of the version resource (RT_VERSION): the VS_VERSIONINFO block with
// its VS_FIXEDFILEINFO, the StringFileInfo string tables and the VarFileInfo
// translations. Blocks of other names are skipped.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "resources/parse_result.h"

namespace kx {

// VS_FIXEDFILEINFO, field for field.
struct FixedFileInfo {
    uint32_t dwSignature = 0; // 0xFEEF04BD
    uint32_t dwStrucVersion = 0;
    uint32_t dwFileVersionMS = 0;
    uint32_t dwFileVersionLS = 0;
    uint32_t dwProductVersionMS = 0;
    uint32_t dwProductVersionLS = 0;
    uint32_t dwFileFlagsMask = 0;
    uint32_t dwFileFlags = 0;
    uint32_t dwFileOS = 0;
    uint32_t dwFileType = 0;
    uint32_t dwFileSubtype = 0;
    uint32_t dwFileDateMS = 0;
    uint32_t dwFileDateLS = 0;
};

inline constexpr uint32_t kFixedFileInfoSignature = 0xFEEF04BD;

struct VersionStringTable {
    std::u16string key; // language and code page as eight hex digits, e.g. "041203b5"
    std::vector<std::pair<std::u16string, std::u16string>> strings; // in stored order
};

struct VersionTranslation {
    uint16_t language = 0;
    uint16_t codePage = 0;
};

struct VersionInfo {
    std::optional<FixedFileInfo> fixed;
    std::vector<VersionStringTable> stringTables;
    std::vector<VersionTranslation> translations;

    // The value of a string in the given table (or in the first table that
    // has it, when tableKey is empty).
    std::optional<std::u16string> findString(std::u16string_view name,
                                             std::u16string_view tableKey = {}) const;
};

ParseResult<VersionInfo> parseVersionInfo(std::span<const uint8_t> data);

} // namespace kx
