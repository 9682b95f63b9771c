// A name field of the resource formats: either an ordinal (written as 0xFFFF
// followed by a 16-bit number) or an inline NUL-terminated UTF-16 text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kx {

struct SzOrOrdinal {
    std::optional<uint16_t> ordinal; // set for the ordinal form
    std::u16string text;             // the inline text otherwise (may be empty)

    static SzOrOrdinal fromOrdinal(uint16_t n) { return SzOrOrdinal{n, {}}; }
    static SzOrOrdinal fromText(std::u16string s) {
        return SzOrOrdinal{std::nullopt, std::move(s)};
    }

    bool isOrdinal() const { return ordinal.has_value(); }
    // Neither an ordinal nor any text: the field was a single 0x0000.
    bool empty() const { return !ordinal && text.empty(); }
    bool operator==(const SzOrOrdinal&) const = default;
};

// "#123" for an ordinal, the text as UTF-8 otherwise; for messages and dumps.
std::string describe(const SzOrOrdinal& name);

} // namespace kx
