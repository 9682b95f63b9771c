#include "resources/res_file.h"

#include <string>

#include "resources/byte_reader.h"

namespace kx {

namespace {

// Data size, header size, and the smallest type and name (two ordinals).
constexpr size_t kMinHeaderSize = 4 + 4 + 4 + 4;
// Data version, memory flags, language, version, characteristics.
constexpr size_t kHeaderTailSize = 4 + 2 + 2 + 4 + 4;

std::string entryLabel(size_t index) {
    return "entry " + std::to_string(index);
}

} // namespace

ParseResult<std::vector<ResEntry>> parseResFile(std::span<const uint8_t> bytes) {
    ByteReader r(bytes, "resource file");
    std::vector<ResEntry> entries;
    size_t index = 0;
    while (!r.atEnd()) {
        const std::string label = entryLabel(index);
        const size_t start = r.offset();
        uint32_t dataSize = 0;
        uint32_t headerSize = 0;
        r.u32(dataSize, label + " data size");
        r.u32(headerSize, label + " header size");
        if (r.failed()) {
            break;
        }
        if (headerSize < kMinHeaderSize + kHeaderTailSize || headerSize % 4 != 0) {
            r.failAt(start + 4, label + " has a bad header size " + std::to_string(headerSize));
            break;
        }
        if (headerSize > r.size() - start) {
            r.failAt(start + 4, label + " header runs past the end of the file");
            break;
        }
        // The header is read within its own stated size.
        ByteReader h(bytes.subspan(start, headerSize), "resource file", start);
        h.seek(8, label);
        ResEntry e;
        e.offset = start;
        h.szOrOrdinal(e.type, label + " type");
        h.szOrOrdinal(e.name, label + " name");
        h.align4("padding before " + label + " data version");
        h.u32(e.dataVersion, label + " data version");
        h.u16(e.memoryFlags, label + " memory flags");
        h.u16(e.language, label + " language");
        h.u32(e.version, label + " version");
        h.u32(e.characteristics, label + " characteristics");
        if (h.failed()) {
            return ParseResult<std::vector<ResEntry>>::failure(h.error());
        }
        if (!h.atEnd()) {
            h.fail(label + " header is " + std::to_string(headerSize) +
                   " bytes but its fields end here");
            return ParseResult<std::vector<ResEntry>>::failure(h.error());
        }
        r.seek(start + headerSize, label);
        if (!r.bytes(dataSize, e.data, label + " data")) {
            break;
        }
        if (!r.align4("padding after " + label + " data")) {
            break;
        }

        if (index == 0) {
            // The empty entry that opens a 32-bit resource file.
            const bool marker = dataSize == 0 && e.type == SzOrOrdinal::fromOrdinal(0) &&
                                e.name == SzOrOrdinal::fromOrdinal(0);
            if (!marker) {
                r.failAt(start, "the file does not start with the empty entry of a 32-bit "
                                "resource file");
                break;
            }
        } else {
            entries.push_back(e);
        }
        ++index;
    }
    if (r.failed()) {
        return ParseResult<std::vector<ResEntry>>::failure(r.error());
    }
    if (index == 0) {
        return ParseResult<std::vector<ResEntry>>::failure("resource file: the file is empty");
    }
    return ParseResult<std::vector<ResEntry>>::success(std::move(entries));
}

const ResEntry* findResEntry(const std::vector<ResEntry>& entries, uint16_t type, uint16_t id,
                             uint16_t language) {
    const ResEntry* any = nullptr;
    const SzOrOrdinal wantType = SzOrOrdinal::fromOrdinal(type);
    const SzOrOrdinal wantName = SzOrOrdinal::fromOrdinal(id);
    for (const ResEntry& e : entries) {
        if (e.type != wantType || e.name != wantName) {
            continue;
        }
        if (e.language == language) {
            return &e;
        }
        if (!any) {
            any = &e;
        }
    }
    return any;
}

} // namespace kx
