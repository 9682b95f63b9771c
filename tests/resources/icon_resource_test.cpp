// The icon readers: the program icon as compiled, hand-made images for the
// depths and faults the program icon lacks, and every truncation.
#include <gtest/gtest.h>

#include "compiled_resources.h"
#include "resources/icon_resource.h"
#include "resources/res_file.h"

namespace kx {
namespace {

constexpr uint16_t kProgramIcon = 128;

struct ExpectedImage {
    int size;
    int colours; // as the directory states them: 0 for 256 or more
    int bits;
};

const ExpectedImage kImages[] = {
    {48, 16, 4}, {32, 16, 4}, {16, 16, 4}, {48, 0, 8},  {32, 0, 8},
    {16, 0, 8},  {48, 0, 24}, {32, 0, 24}, {16, 0, 24},
};

TEST(IconResource, ProgramIconDirectoryAndImages) {
    auto dir =
        parseGroupIconDirectory(test::compiledResource(kResourceTypeGroupIcon, kProgramIcon));
    ASSERT_TRUE(dir.ok()) << dir.error();
    EXPECT_EQ(dir->type, 1);
    ASSERT_EQ(dir->entries.size(), std::size(kImages));
    for (size_t i = 0; i < std::size(kImages); ++i) {
        const ExpectedImage& want = kImages[i];
        const GroupIconEntry& e = dir->entries[i];
        SCOPED_TRACE("image " + std::to_string(i + 1));
        EXPECT_EQ(e.id, i + 1);
        EXPECT_EQ(e.width, want.size);
        EXPECT_EQ(e.height, want.size);
        EXPECT_EQ(e.colorCount, want.colours);
        EXPECT_EQ(e.planes, 1);
        EXPECT_EQ(e.bitCount, want.bits);

        const std::vector<uint8_t> data = test::compiledResource(kResourceTypeIcon, e.id);
        EXPECT_EQ(e.bytesInRes, data.size());
        auto image = decodeIconImage(data);
        ASSERT_TRUE(image.ok()) << image.error();
        EXPECT_EQ(image->width, want.size);
        EXPECT_EQ(image->height, want.size);
        EXPECT_EQ(image->bitCount, want.bits);
        ASSERT_EQ(image->rgba.size(), static_cast<size_t>(want.size * want.size * 4));
        // The corners are outside the rounded housing; the centre is inside.
        EXPECT_EQ(image->rgba[3], 0) << "top-left corner is transparent";
        const size_t centre = (static_cast<size_t>(want.size / 2) * want.size + want.size / 2) * 4;
        EXPECT_EQ(image->rgba[centre + 3], 255) << "centre is opaque";
    }
}

TEST(IconResource, EveryTruncationFails) {
    std::vector<std::vector<uint8_t>> formats;
    formats.push_back(test::compiledResource(kResourceTypeGroupIcon, kProgramIcon));
    for (uint16_t id : {uint16_t{3}, uint16_t{6}, uint16_t{9}}) { // 16 px at 4, 8, 24 bits
        formats.push_back(test::compiledResource(kResourceTypeIcon, id));
    }
    for (size_t f = 0; f < formats.size(); ++f) {
        const std::vector<uint8_t>& full = formats[f];
        ASSERT_FALSE(full.empty());
        for (size_t len = 0; len < full.size(); ++len) {
            SCOPED_TRACE("resource " + std::to_string(f) + ", length " + std::to_string(len));
            const std::vector<uint8_t> cut(full.begin(), full.begin() + static_cast<long>(len));
            const std::string error =
                f == 0 ? parseGroupIconDirectory(cut).error() : decodeIconImage(cut).error();
            ASSERT_FALSE(error.empty());
            EXPECT_NE(error.find("offset 0x"), std::string::npos) << error;
        }
    }
}

// A 2x2 image: header, colour table, colour rows (bottom row first), and the
// first byte of each mask row (0x80 marks the left pixel, 0x40 the right).
test::Bytes image2x2(uint16_t bits, uint32_t colours, const std::vector<uint8_t>& colourRows,
                     uint8_t bottomMask = 0, uint8_t topMask = 0) {
    test::Bytes b;
    b.u32(40).u32(2).u32(4).u16(1).u16(bits).u32(0).u32(0).u32(0).u32(0).u32(colours).u32(0);
    const uint32_t tableSize = bits <= 8 ? (colours ? colours : 1u << bits) : colours;
    for (uint32_t i = 0; i < tableSize; ++i) {
        b.u8(static_cast<uint8_t>(10 * i)).u8(static_cast<uint8_t>(20 * i)).u8(0xF0).u8(0);
    }
    b.raw(colourRows);
    b.u32(bottomMask).u32(topMask);
    return b;
}

TEST(IconResource, DecodesEachDepth) {
    struct Case {
        const char* name;
        test::Bytes image;
        // Top-left pixel R, G, B, A, then top-right alpha.
        uint8_t r, g, b, a, topRightAlpha;
    };
    const Case cases[] = {
        // 1 bit: top row is the second stored row; pixel 0 = colour 1.
        {"1 bit", image2x2(1, 0, {0x00, 0, 0, 0, 0x80, 0, 0, 0}, 0), 0xF0, 20, 10, 255, 255},
        // 4 bits with a 3-colour table; top-left = colour 2; top-right masked.
        {"4 bits", image2x2(4, 3, {0x00, 0, 0, 0, 0x21, 0, 0, 0}, 0, 0x40), 0xF0, 40, 20, 255, 0},
        {"8 bits", image2x2(8, 0, {0, 0, 0, 0, 5, 7, 0, 0}, 0), 0xF0, 100, 50, 255, 255},
        {"24 bits", image2x2(24, 0, {0, 0, 0, 0, 0, 0, 0, 0, 3, 2, 1, 6, 5, 4, 0, 0}, 0), 1, 2, 3,
         255, 255},
        // 32 bits with an alpha channel: the mask is not used.
        {"32 bits", image2x2(32, 0, {0, 0, 0, 0, 0, 0, 0, 0, 3, 2, 1, 0x80, 6, 5, 4, 0}, 0), 1, 2,
         3, 0x80, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto image = decodeIconImage(c.image.bytes());
        ASSERT_TRUE(image.ok()) << image.error();
        ASSERT_EQ(image->rgba.size(), 16u);
        EXPECT_EQ(image->rgba[0], c.r);
        EXPECT_EQ(image->rgba[1], c.g);
        EXPECT_EQ(image->rgba[2], c.b);
        EXPECT_EQ(image->rgba[3], c.a);
        EXPECT_EQ(image->rgba[7], c.topRightAlpha);
    }
    // A set mask bit makes the pixel transparent (bottom-left here).
    auto masked = decodeIconImage(image2x2(8, 0, {1, 1, 0, 0, 1, 1, 0, 0}, 0x80).bytes());
    ASSERT_TRUE(masked.ok()) << masked.error();
    EXPECT_EQ(masked->rgba[8 + 3], 0);
    EXPECT_EQ(masked->rgba[12 + 3], 255);
}

TEST(IconResource, MalformedImages) {
    const test::Bytes good = image2x2(8, 0, {0, 0, 0, 0, 0, 0, 0, 0}, 0);
    auto patched = [&](size_t offset, uint32_t value) {
        std::vector<uint8_t> b = good.bytes();
        for (int i = 0; i < 4; ++i) {
            b[offset + i] = static_cast<uint8_t>(value >> (8 * i));
        }
        return b;
    };
    auto patched16 = [&](size_t offset, uint16_t value) {
        return test::Bytes().raw(good.bytes()).patch16(offset, value).bytes();
    };
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        const char* wantInError;
    };
    const Case cases[] = {
        {"header too small", patched(0, 12), "header size is 12"},
        {"header past the end", patched(0, 4000), "end of the header"},
        {"zero width", patched(4, 0), "width 0"},
        {"huge width", patched(4, 70000), "width 70000"},
        {"negative height", patched(8, 0xFFFFFFFC), "height -4"},
        {"odd height", patched(8, 3), "height 3"},
        {"two planes", patched16(12, 2), "planes is 2"},
        {"3 bits", patched16(14, 3), "bit count 3"},
        {"run-length compressed", patched(16, 1), "compression 1"},
        {"too many colours", patched(32, 300), "300 colours"},
        {"colour past the table", image2x2(4, 2, {0x50, 0, 0, 0, 0, 0, 0, 0}, 0).bytes(),
         "uses colour 5 of a 2-colour table"},
        {"PNG image", {0x89, 'P', 'N', 'G', 13, 10, 26, 10}, "PNG"},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE("case " + std::to_string(i) + ": " + cases[i].name);
        auto image = decodeIconImage(cases[i].bytes);
        ASSERT_FALSE(image.ok());
        EXPECT_NE(image.error().find(cases[i].wantInError), std::string::npos) << image.error();
        EXPECT_NE(image.error().find("at offset 0x"), std::string::npos) << image.error();
    }
}

TEST(IconResource, MalformedDirectories) {
    struct Case {
        const char* name;
        test::Bytes bytes;
        const char* wantInError;
    };
    const Case cases[] = {
        {"reserved word set", test::Bytes().u16(1).u16(1).u16(0), "reserved word is 1"},
        {"bad type", test::Bytes().u16(0).u16(3).u16(0), "type is 3"},
        {"count beyond the data", test::Bytes().u16(0).u16(1).u16(2).raw(std::vector<uint8_t>(14)),
         "lists 2 images but has room for 1"},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE("case " + std::to_string(i) + ": " + cases[i].name);
        auto dir = parseGroupIconDirectory(cases[i].bytes.bytes());
        ASSERT_FALSE(dir.ok());
        EXPECT_NE(dir.error().find(cases[i].wantInError), std::string::npos) << dir.error();
    }
}

TEST(IconResource, BestImageForASize) {
    IconGroup group;
    for (const ExpectedImage& e : kImages) {
        group.images.push_back(IconImage{0, e.size, e.size, e.bits, {}});
    }
    struct Case {
        int size;
        int wantSize;
        int wantBits;
    };
    for (const Case& c : {Case{16, 16, 24}, Case{32, 32, 24}, Case{20, 32, 24}, Case{64, 48, 24},
                          Case{1, 16, 24}}) {
        SCOPED_TRACE("size " + std::to_string(c.size));
        const IconImage* best = group.bestFor(c.size);
        ASSERT_NE(best, nullptr);
        EXPECT_EQ(best->width, c.wantSize);
        EXPECT_EQ(best->bitCount, c.wantBits);
    }
    EXPECT_EQ(IconGroup{}.bestFor(16), nullptr);
}

} // namespace
} // namespace kx
