// Bounds-checked little-endian reading of a resource's bytes. Every read
// checks that the bytes are there first; the first failure is kept as a text
// naming the format, the field and the offset, and every later read fails too,
// so a reader can go on without checking each step and look at the end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "resources/sz_or_ordinal.h"

namespace kx {

class ByteReader {
public:
    // `format` names what is being read ("dialog template") in messages.
    // Offsets in messages are counted from `base`, the offset of data[0]
    // within the enclosing file, so that they point into the whole file.
    ByteReader(std::span<const uint8_t> data, std::string format, size_t base = 0);

    size_t offset() const { return m_pos; }
    size_t size() const { return m_data.size(); }
    size_t remaining() const { return m_data.size() - m_pos; }
    bool atEnd() const { return m_pos == m_data.size(); }
    bool failed() const { return !m_error.empty(); }
    const std::string& error() const { return m_error; }

    bool u8(uint8_t& out, std::string_view field);
    bool u16(uint16_t& out, std::string_view field);
    bool i16(int16_t& out, std::string_view field);
    bool u32(uint32_t& out, std::string_view field);
    bool i32(int32_t& out, std::string_view field);
    // The next n bytes, without copying.
    bool bytes(size_t n, std::span<const uint8_t>& out, std::string_view field);
    // A NUL-terminated UTF-16 text; the NUL is read but not kept.
    bool sz(std::u16string& out, std::string_view field);
    // 0xFFFF and an ordinal, or a NUL-terminated text.
    bool szOrOrdinal(SzOrOrdinal& out, std::string_view field);
    // Skips to the next multiple of four (counted from data[0]). The padding
    // must be present; `what` names it ("padding before item 3").
    bool align4(std::string_view what);
    // Moves to an offset within the data (the end included).
    bool seek(size_t offset, std::string_view field);

    // Records a failure at the current offset: "<format>: <message> at offset 0x..".
    bool fail(std::string_view message);
    bool failAt(size_t offset, std::string_view message);

private:
    bool need(size_t n, std::string_view field);

    std::span<const uint8_t> m_data;
    std::string m_format;
    size_t m_base;
    size_t m_pos = 0;
    std::string m_error;
};

} // namespace kx
