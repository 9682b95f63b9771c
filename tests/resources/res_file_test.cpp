// The .res file reader: the program's compiled file, lookups by language, and
// broken files.
#include <algorithm>

#include <gtest/gtest.h>

#include "compiled_resources.h"
#include "resources/res_file.h"

namespace kx {
namespace {

constexpr uint16_t kKorean = 0x0412;

TEST(ResFile, CompiledFileHoldsTheProgramsResources) {
    const std::vector<uint8_t> file = test::compiledResFile();
    auto entries = parseResFile(file);
    ASSERT_TRUE(entries.ok()) << entries.error();

    struct Want {
        uint16_t type;
        uint16_t id;
    };
    // Nine icon images, their group, the dialog and the version, in script order.
    const Want want[] = {{3, 1}, {3, 2}, {3, 3}, {3, 4},    {3, 5},   {3, 6},
                         {3, 7}, {3, 8}, {3, 9}, {14, 128}, {5, 102}, {16, 1}};
    ASSERT_EQ(entries->size(), std::size(want));
    for (size_t i = 0; i < std::size(want); ++i) {
        SCOPED_TRACE("entry " + std::to_string(i));
        const ResEntry& e = entries.value()[i];
        EXPECT_EQ(e.type, SzOrOrdinal::fromOrdinal(want[i].type));
        EXPECT_EQ(e.name, SzOrOrdinal::fromOrdinal(want[i].id));
        EXPECT_EQ(e.language, kKorean);
        EXPECT_EQ(e.offset % 4, 0u);
        EXPECT_FALSE(e.data.empty());
    }
}

// Two entries of the same type and id in different languages, and one with
// a text type and name.
std::vector<uint8_t> twoLanguageFile() {
    test::Bytes b;
    b.u32(0).u32(32).ordinal(0).ordinal(0).u32(0).u16(0).u16(0).u32(0).u32(0);
    for (uint16_t lang : {uint16_t{0x0409}, kKorean}) {
        b.u32(2).u32(32).ordinal(5).ordinal(7).u32(0).u16(0x30).u16(lang).u32(0).u32(0);
        b.u16(lang).align4();
    }
    // Type "ABC", name "N": 8 + 8 + 4 bytes of names, then the fixed fields.
    b.u32(1).u32(8 + 8 + 4 + 16).sz(u"ABC").sz(u"N").u32(0).u16(0).u16(0).u32(0).u32(0);
    b.u8(0x5A).align4();
    return b.bytes();
}

TEST(ResFile, FindPrefersTheAskedLanguageThenAny) {
    const std::vector<uint8_t> file = twoLanguageFile();
    auto entries = parseResFile(file);
    ASSERT_TRUE(entries.ok()) << entries.error();
    ASSERT_EQ(entries->size(), 3u);
    EXPECT_EQ(entries.value()[2].type, SzOrOrdinal::fromText(u"ABC"));
    EXPECT_EQ(entries.value()[2].name, SzOrOrdinal::fromText(u"N"));

    struct Case {
        uint16_t language;
        uint16_t wantLanguage;
    };
    for (const Case& c :
         {Case{kKorean, kKorean}, Case{0x0409, 0x0409}, Case{0, 0x0409}, Case{0x0407, 0x0409}}) {
        SCOPED_TRACE("language " + std::to_string(c.language));
        const ResEntry* e = findResEntry(entries.value(), 5, 7, c.language);
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->language, c.wantLanguage);
    }
    EXPECT_EQ(findResEntry(entries.value(), 5, 8), nullptr);
    EXPECT_EQ(findResEntry(entries.value(), 6, 7), nullptr);
}

TEST(ResFile, MalformedFiles) {
    const std::vector<uint8_t> good = twoLanguageFile();
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        const char* wantInError;
    };
    std::vector<Case> cases;
    cases.push_back({"empty", {}, "empty"});
    {
        test::Bytes b;
        b.u32(4).u32(32).ordinal(5).ordinal(7).u32(0).u16(0).u16(0).u32(0).u32(0).u32(0);
        cases.push_back({"no leading empty entry", b.bytes(), "empty entry"});
    }
    {
        std::vector<uint8_t> b = good;
        b[32 + 4] = 34; // header size not a multiple of four
        cases.push_back({"odd header size", b, "bad header size 34"});
    }
    {
        std::vector<uint8_t> b = good;
        b[32 + 4] = 8; // header smaller than its fixed fields
        cases.push_back({"header too small", b, "bad header size 8"});
    }
    {
        std::vector<uint8_t> b = good;
        b[32] = 0xF0; // data size larger than the file
        cases.push_back({"data past the end", b, "entry 1 data"});
    }
    {
        std::vector<uint8_t> b = good;
        b[32 + 4] = 36; // header claims four bytes more than its fields
        cases.push_back({"header longer than its fields", b, "header is 36 bytes"});
    }
    {
        // The type's text runs on into the rest of the header: no NUL within it.
        test::Bytes t;
        t.u32(0).u32(32).ordinal(0).ordinal(0).u32(0).u16(0).u16(0).u32(0).u32(0);
        t.u32(0).u32(32);
        for (int i = 0; i < 12; ++i) {
            t.u16('x');
        }
        cases.push_back({"type text without NUL", t.bytes(), "entry 1 type"});
    }
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE("case " + std::to_string(i) + ": " + cases[i].name);
        auto entries = parseResFile(cases[i].bytes);
        ASSERT_FALSE(entries.ok());
        EXPECT_NE(entries.error().find(cases[i].wantInError), std::string::npos) << entries.error();
    }
}

TEST(ResFile, TruncationFailsUnlessAtAnEntryBoundary) {
    const std::vector<uint8_t> full = test::compiledResFile();
    auto entries = parseResFile(full);
    ASSERT_TRUE(entries.ok()) << entries.error();
    std::vector<size_t> boundaries;
    for (const ResEntry& e : entries.value()) {
        boundaries.push_back(e.offset);
    }
    for (size_t len = 0; len < full.size(); ++len) {
        SCOPED_TRACE("length " + std::to_string(len));
        const std::vector<uint8_t> cut(full.begin(), full.begin() + static_cast<long>(len));
        auto parsed = parseResFile(cut);
        const bool boundary =
            std::find(boundaries.begin(), boundaries.end(), len) != boundaries.end();
        // A file cut between two entries is a shorter well-formed file.
        ASSERT_EQ(parsed.ok(), boundary) << (parsed.ok() ? "" : parsed.error());
    }
}

} // namespace
} // namespace kx
