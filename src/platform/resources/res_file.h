// Reader of the compiled resource file format (.res): a sequence of entries,
// each a header (data size, header size, type, name, data version, memory
// flags, language, version, characteristics) followed by the data, both
// padded to four bytes. Entries refer to the bytes they were read from and
// are valid only while those bytes live.
//
// It does not interpret the data of an entry; the format readers
// (dialog_template.h, icon_resource.h, version_info.h) do that.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "resources/parse_result.h"
#include "resources/sz_or_ordinal.h"

namespace kx {

// Standard resource types, as numbered by the platform.
inline constexpr uint16_t kResourceTypeIcon = 3;       // RT_ICON
inline constexpr uint16_t kResourceTypeDialog = 5;     // RT_DIALOG
inline constexpr uint16_t kResourceTypeGroupIcon = 14; // RT_GROUP_ICON
inline constexpr uint16_t kResourceTypeVersion = 16;   // RT_VERSION

// Language 0 (neutral) asks for no particular language.
inline constexpr uint16_t kLanguageNeutral = 0;

struct ResEntry {
    SzOrOrdinal type;
    SzOrOrdinal name;
    uint32_t dataVersion = 0;
    uint16_t memoryFlags = 0;
    uint16_t language = 0;
    uint32_t version = 0;
    uint32_t characteristics = 0;
    std::span<const uint8_t> data;
    size_t offset = 0; // of the entry's header in the file
};

// Reads every entry. The leading empty entry that marks a 32-bit resource
// file (type and name ordinal 0, no data) is checked and left out. A file
// with anything wrong in it gives an error naming the entry and the offset.
ParseResult<std::vector<ResEntry>> parseResFile(std::span<const uint8_t> bytes);

// The entry with the given numeric type and name: in the given language if
// there is one, otherwise the first in any language; nullptr if none.
const ResEntry* findResEntry(const std::vector<ResEntry>& entries, uint16_t type, uint16_t id,
                             uint16_t language = kLanguageNeutral);

} // namespace kx
