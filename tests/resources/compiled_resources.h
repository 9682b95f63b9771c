// The program's compiled resources as the tests read them, and a writer of
// little-endian bytes for hand-made fixtures.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kx::test {

// The bytes of the compiled .res file; fails the test if it cannot be read.
std::vector<uint8_t> compiledResFile();
// The text of the program's resource header.
std::string symbolsHeaderText();
// The data of one resource of the compiled file (type and id as ordinals).
std::vector<uint8_t> compiledResource(uint16_t type, uint16_t id);

class Bytes {
public:
    Bytes& u8(uint8_t v);
    Bytes& u16(uint16_t v);
    Bytes& u32(uint32_t v);
    // UTF-16 text with its terminating NUL.
    Bytes& sz(std::u16string_view text);
    Bytes& ordinal(uint16_t v) { return u16(0xFFFF).u16(v); }
    Bytes& align4();
    Bytes& raw(const std::vector<uint8_t>& bytes);
    size_t size() const { return m_bytes.size(); }
    // Overwrites a 16-bit value written earlier.
    Bytes& patch16(size_t offset, uint16_t v);
    const std::vector<uint8_t>& bytes() const { return m_bytes; }

private:
    std::vector<uint8_t> m_bytes;
};

} // namespace kx::test
