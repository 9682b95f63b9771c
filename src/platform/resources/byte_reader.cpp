#include "resources/byte_reader.h"

#include <cstdio>

namespace kx {

namespace {

std::string hexOffset(size_t offset) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%zx", offset);
    return text;
}

} // namespace

ByteReader::ByteReader(std::span<const uint8_t> data, std::string format, size_t base)
    : m_data(data), m_format(std::move(format)), m_base(base) {}

bool ByteReader::failAt(size_t offset, std::string_view message) {
    if (m_error.empty()) {
        m_error =
            m_format + ": " + std::string(message) + " at offset " + hexOffset(m_base + offset);
    }
    return false;
}

bool ByteReader::fail(std::string_view message) {
    return failAt(m_pos, message);
}

bool ByteReader::need(size_t n, std::string_view field) {
    if (failed()) {
        return false;
    }
    if (n > remaining()) {
        return fail(std::string(field) + " runs past the end of the data (" + std::to_string(n) +
                    " bytes needed, " + std::to_string(remaining()) + " left)");
    }
    return true;
}

bool ByteReader::u8(uint8_t& out, std::string_view field) {
    if (!need(1, field)) {
        return false;
    }
    out = m_data[m_pos];
    m_pos += 1;
    return true;
}

bool ByteReader::u16(uint16_t& out, std::string_view field) {
    if (!need(2, field)) {
        return false;
    }
    out = static_cast<uint16_t>(m_data[m_pos] | (m_data[m_pos + 1] << 8));
    m_pos += 2;
    return true;
}

bool ByteReader::i16(int16_t& out, std::string_view field) {
    uint16_t v = 0;
    if (!u16(v, field)) {
        return false;
    }
    out = static_cast<int16_t>(v);
    return true;
}

bool ByteReader::u32(uint32_t& out, std::string_view field) {
    if (!need(4, field)) {
        return false;
    }
    out = static_cast<uint32_t>(m_data[m_pos]) | (static_cast<uint32_t>(m_data[m_pos + 1]) << 8) |
          (static_cast<uint32_t>(m_data[m_pos + 2]) << 16) |
          (static_cast<uint32_t>(m_data[m_pos + 3]) << 24);
    m_pos += 4;
    return true;
}

bool ByteReader::i32(int32_t& out, std::string_view field) {
    uint32_t v = 0;
    if (!u32(v, field)) {
        return false;
    }
    out = static_cast<int32_t>(v);
    return true;
}

bool ByteReader::bytes(size_t n, std::span<const uint8_t>& out, std::string_view field) {
    if (!need(n, field)) {
        return false;
    }
    out = m_data.subspan(m_pos, n);
    m_pos += n;
    return true;
}

bool ByteReader::sz(std::u16string& out, std::string_view field) {
    if (failed()) {
        return false;
    }
    const size_t start = m_pos;
    std::u16string text;
    for (;;) {
        uint16_t c = 0;
        if (remaining() < 2) {
            return failAt(start, std::string(field) +
                                     " has no terminating NUL before the end of the data");
        }
        u16(c, field);
        if (c == 0) {
            break;
        }
        text.push_back(static_cast<char16_t>(c));
    }
    out = std::move(text);
    return true;
}

bool ByteReader::szOrOrdinal(SzOrOrdinal& out, std::string_view field) {
    if (failed()) {
        return false;
    }
    if (remaining() >= 2 && m_data[m_pos] == 0xFF && m_data[m_pos + 1] == 0xFF) {
        m_pos += 2;
        uint16_t ordinal = 0;
        if (!u16(ordinal, std::string(field) + " ordinal")) {
            return false;
        }
        out = SzOrOrdinal::fromOrdinal(ordinal);
        return true;
    }
    std::u16string text;
    if (!sz(text, field)) {
        return false;
    }
    out = SzOrOrdinal::fromText(std::move(text));
    return true;
}

bool ByteReader::align4(std::string_view field) {
    const size_t pad = (4 - m_pos % 4) % 4;
    if (!need(pad, field)) {
        return false;
    }
    m_pos += pad;
    return true;
}

bool ByteReader::seek(size_t offset, std::string_view field) {
    if (failed()) {
        return false;
    }
    if (offset > m_data.size()) {
        return fail(std::string(field) + " lies past the end of the data (offset " +
                    hexOffset(m_base + offset) + ")");
    }
    m_pos = offset;
    return true;
}

} // namespace kx
