// The version resource reader: the program's version resource as compiled,
// hand-made blocks for the faults, and every truncation.
#include <gtest/gtest.h>

#include "common/utf.h"
#include "compiled_resources.h"
#include "resources/res_file.h"
#include "resources/version_info.h"

namespace kx {
namespace {

std::vector<uint8_t> compiledVersion() {
    return test::compiledResource(kResourceTypeVersion, 1);
}

TEST(VersionInfo, ProgramVersionAsCompiled) {
    auto info = parseVersionInfo(compiledVersion());
    ASSERT_TRUE(info.ok()) << info.error();
    ASSERT_TRUE(info->fixed.has_value());
    const FixedFileInfo& f = *info->fixed;
    EXPECT_EQ(f.dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(f.dwFileVersionMS, 0x00010000u); // 1.0
    EXPECT_EQ(f.dwFileVersionLS, 0x00000001u); // .0.1
    EXPECT_EQ(f.dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(f.dwProductVersionLS, 0x00000001u);
    EXPECT_EQ(f.dwFileFlagsMask, 0x3Fu);
    EXPECT_EQ(f.dwFileFlags, 0u);
    EXPECT_EQ(f.dwFileOS, 4u);   // VOS__WINDOWS32
    EXPECT_EQ(f.dwFileType, 1u); // VFT_APP
    EXPECT_EQ(f.dwFileSubtype, 0u);
    EXPECT_EQ(f.dwFileDateMS, 0u);
    EXPECT_EQ(f.dwFileDateLS, 0u);

    ASSERT_EQ(info->stringTables.size(), 1u);
    const VersionStringTable& table = info->stringTables[0];
    EXPECT_EQ(table.key, u"041203b5");
    const std::pair<const char16_t*, const char16_t*> want[] = {
        {u"CompanyName", u"TODO: <회사 이름>"}, {u"FileDescription", u"TODO: <파일 설명>"},
        {u"FileVersion", u"1.0.0.1"},           {u"InternalName", u"Kestrix.exe"},
        {u"LegalCopyright", nullptr}, // a placeholder line of our own
        {u"OriginalFilename", u"Kestrix.exe"},  {u"ProductName", u"TODO: <제품 이름>"},
        {u"ProductVersion", u"1.0.0.1"},
    };
    ASSERT_EQ(table.strings.size(), std::size(want));
    for (size_t i = 0; i < std::size(want); ++i) {
        SCOPED_TRACE(toUtf8(want[i].first));
        EXPECT_EQ(table.strings[i].first, want[i].first);
        if (want[i].second) {
            EXPECT_EQ(toUtf8(table.strings[i].second), toUtf8(want[i].second));
        } else {
            EXPECT_TRUE(table.strings[i].second.starts_with(u"TODO: "));
        }
    }
    EXPECT_EQ(info->findString(u"InternalName"), u"Kestrix.exe");
    EXPECT_EQ(info->findString(u"FileVersion", u"041203B5"), u"1.0.0.1");
    EXPECT_EQ(info->findString(u"FileVersion", u"040904b0"), std::nullopt);
    EXPECT_EQ(info->findString(u"Comments"), std::nullopt);

    ASSERT_EQ(info->translations.size(), 1u);
    EXPECT_EQ(info->translations[0].language, 0x0412);
    EXPECT_EQ(info->translations[0].codePage, 949);
}

TEST(VersionInfo, EveryTruncationFails) {
    const std::vector<uint8_t> full = compiledVersion();
    ASSERT_FALSE(full.empty());
    for (size_t len = 0; len < full.size(); ++len) {
        SCOPED_TRACE("length " + std::to_string(len));
        const std::vector<uint8_t> cut(full.begin(), full.begin() + static_cast<long>(len));
        auto info = parseVersionInfo(cut);
        ASSERT_FALSE(info.ok());
        EXPECT_NE(info.error().find("offset 0x"), std::string::npos) << info.error();
    }
}

// One block: header, key, padding, value, padding, children; wLength is set
// from the bytes written.
test::Bytes block(std::u16string_view key, uint16_t type, const std::vector<uint8_t>& value,
                  uint16_t valueLength, const std::vector<test::Bytes>& children = {}) {
    test::Bytes b;
    b.u16(0).u16(valueLength).u16(type).sz(key).align4().raw(value);
    for (const test::Bytes& child : children) {
        b.align4().raw(child.bytes());
    }
    b.patch16(0, static_cast<uint16_t>(b.size()));
    return b;
}

std::vector<uint8_t> fixedInfo(uint32_t signature) {
    test::Bytes b;
    b.u32(signature);
    for (int i = 0; i < 12; ++i) {
        b.u32(0);
    }
    return b.bytes();
}

TEST(VersionInfo, MalformedBlocks) {
    const test::Bytes translation = block(u"Translation", 0, {0x12, 0x04, 0xB5}, 3);
    const test::Bytes varInfo = block(u"VarFileInfo", 1, {}, 0, {translation});
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        const char* wantInError;
    };
    std::vector<Case> cases = {
        {"bad signature", block(u"VS_VERSION_INFO", 0, fixedInfo(0xFEEF04BC), 52).bytes(),
         "signature 0xFEEF04BC"},
        {"short fixed info", block(u"VS_VERSION_INFO", 0, std::vector<uint8_t>(40), 40).bytes(),
         "40 bytes, not 52"},
        {"wrong root key", block(u"VS_VERSION", 0, fixedInfo(0xFEEF04BD), 52).bytes(),
         "not \"VS_VERSION_INFO\""},
        {"translation not in pairs",
         block(u"VS_VERSION_INFO", 0, fixedInfo(0xFEEF04BD), 52, {varInfo}).bytes(),
         "not a list of language and code page pairs"},
        {"binary value past the block",
         block(u"VS_VERSION_INFO", 0, fixedInfo(0xFEEF04BD), 60).bytes(), "value of 60 bytes"},
    };
    {
        // A child whose length runs past its parent's end.
        test::Bytes b = block(u"VS_VERSION_INFO", 0, fixedInfo(0xFEEF04BD), 52,
                              {block(u"StringFileInfo", 1, {}, 0)});
        std::vector<uint8_t> bytes = b.bytes();
        const size_t child = bytes.size() - block(u"StringFileInfo", 1, {}, 0).size();
        bytes[child] = 0xF0;
        cases.push_back({"child longer than parent", bytes, "does not fit in its block"});
    }
    {
        // A block shorter than its own header.
        std::vector<uint8_t> bytes = block(u"VS_VERSION_INFO", 0, {}, 0).bytes();
        bytes[0] = 4;
        cases.push_back({"length below the header", bytes, "length 4"});
    }
    {
        // Blocks nested deeper than any version resource has them.
        test::Bytes nested = block(u"d", 1, {}, 0);
        for (int i = 0; i < 5; ++i) {
            nested = block(u"n", 1, {}, 0, {nested});
        }
        cases.push_back({"nested too deeply", nested.bytes(), "nested too deeply"});
    }
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE("case " + std::to_string(i) + ": " + cases[i].name);
        auto info = parseVersionInfo(cases[i].bytes);
        ASSERT_FALSE(info.ok());
        EXPECT_NE(info.error().find(cases[i].wantInError), std::string::npos) << info.error();
        EXPECT_NE(info.error().find("at offset 0x"), std::string::npos) << info.error();
    }
}

TEST(VersionInfo, TextValueCountedInBytesStillReads) {
    // wValueLength of a text value is in characters; some compilers write
    // bytes. The text then ends with the block.
    const test::Bytes str = block(u"FileVersion", 1, test::Bytes().sz(u"1.2").bytes(), 8);
    const test::Bytes table = block(u"040904b0", 1, {}, 0, {str});
    const test::Bytes sfi = block(u"StringFileInfo", 1, {}, 0, {table});
    auto info = parseVersionInfo(block(u"VS_VERSION_INFO", 0, {}, 0, {sfi}).bytes());
    ASSERT_TRUE(info.ok()) << info.error();
    EXPECT_FALSE(info->fixed.has_value());
    EXPECT_EQ(info->findString(u"FileVersion"), u"1.2");
}

} // namespace
} // namespace kx
