#include "compiled_resources.h"

#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

#include "resources/res_file.h"

namespace kx::test {

namespace {

std::vector<uint8_t> readFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.good()) << "cannot open " << path;
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

} // namespace

std::vector<uint8_t> compiledResFile() {
    return readFile(KX_TEST_RES_FILE);
}

std::string symbolsHeaderText() {
    const std::vector<uint8_t> bytes = readFile(KX_TEST_SYMBOLS_FILE);
    return std::string(bytes.begin(), bytes.end());
}

std::vector<uint8_t> compiledResource(uint16_t type, uint16_t id) {
    const std::vector<uint8_t> file = compiledResFile();
    auto entries = parseResFile(file);
    EXPECT_TRUE(entries.ok()) << entries.error();
    if (!entries) {
        return {};
    }
    const ResEntry* e = findResEntry(entries.value(), type, id);
    EXPECT_NE(e, nullptr) << "no resource type " << type << " id " << id;
    return e ? std::vector<uint8_t>(e->data.begin(), e->data.end()) : std::vector<uint8_t>{};
}

Bytes& Bytes::u8(uint8_t v) {
    m_bytes.push_back(v);
    return *this;
}

Bytes& Bytes::u16(uint16_t v) {
    return u8(static_cast<uint8_t>(v)).u8(static_cast<uint8_t>(v >> 8));
}

Bytes& Bytes::u32(uint32_t v) {
    return u16(static_cast<uint16_t>(v)).u16(static_cast<uint16_t>(v >> 16));
}

Bytes& Bytes::sz(std::u16string_view text) {
    for (char16_t c : text) {
        u16(c);
    }
    return u16(0);
}

Bytes& Bytes::align4() {
    while (m_bytes.size() % 4 != 0) {
        u8(0);
    }
    return *this;
}

Bytes& Bytes::raw(const std::vector<uint8_t>& bytes) {
    m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
    return *this;
}

Bytes& Bytes::patch16(size_t offset, uint16_t v) {
    m_bytes.at(offset) = static_cast<uint8_t>(v);
    m_bytes.at(offset + 1) = static_cast<uint8_t>(v >> 8);
    return *this;
}

} // namespace kx::test
