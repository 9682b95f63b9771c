#include "resources/icon_resource.h"

#include <algorithm>
#include <array>
#include <string>

#include "resources/byte_reader.h"

namespace kx {

namespace {

constexpr uint32_t kBiRgb = 0;         // uncompressed
constexpr int kMaxIconSide = 256;      // the largest size a directory entry can state
constexpr size_t kGroupEntrySize = 14; // GRPICONDIRENTRY

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
};

size_t rowStride(int width, int bits) {
    return ((static_cast<size_t>(width) * static_cast<size_t>(bits) + 31) / 32) * 4;
}

// The palette index or 24/32-bit colour of pixel x in a stored row.
uint32_t sampleAt(std::span<const uint8_t> row, int x, int bits) {
    switch (bits) {
    case 1:
        return (row[x / 8] >> (7 - x % 8)) & 1;
    case 4:
        return (row[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0x0F;
    case 8:
        return row[x];
    case 24:
        return static_cast<uint32_t>(row[3 * x]) | (row[3 * x + 1] << 8) | (row[3 * x + 2] << 16);
    default: // 32
        return static_cast<uint32_t>(row[4 * x]) | (row[4 * x + 1] << 8) | (row[4 * x + 2] << 16) |
               (static_cast<uint32_t>(row[4 * x + 3]) << 24);
    }
}

} // namespace

ParseResult<GroupIconDirectory> parseGroupIconDirectory(std::span<const uint8_t> data) {
    ByteReader r(data, "group icon");
    GroupIconDirectory dir;
    uint16_t reserved = 0;
    uint16_t count = 0;
    r.u16(reserved, "reserved word");
    if (!r.failed() && reserved != 0) {
        r.failAt(0, "reserved word is " + std::to_string(reserved) + ", not 0");
    }
    r.u16(dir.type, "type");
    if (!r.failed() && dir.type != 1 && dir.type != 2) {
        r.failAt(2, "type is " + std::to_string(dir.type) + ", not 1 (icon) or 2 (cursor)");
    }
    r.u16(count, "image count");
    if (!r.failed() && r.remaining() < count * kGroupEntrySize) {
        r.fail("the directory lists " + std::to_string(count) + " images but has room for " +
               std::to_string(r.remaining() / kGroupEntrySize));
    }
    for (size_t i = 0; i < count && !r.failed(); ++i) {
        const std::string label = "entry " + std::to_string(i + 1);
        GroupIconEntry e;
        r.u8(e.width, label + " width");
        r.u8(e.height, label + " height");
        r.u8(e.colorCount, label + " colour count");
        r.u8(e.reserved, label + " reserved byte");
        r.u16(e.planes, label + " planes");
        r.u16(e.bitCount, label + " bit count");
        r.u32(e.bytesInRes, label + " size");
        r.u16(e.id, label + " id");
        dir.entries.push_back(e);
    }
    if (r.failed()) {
        return ParseResult<GroupIconDirectory>::failure(r.error());
    }
    return ParseResult<GroupIconDirectory>::success(std::move(dir));
}

ParseResult<IconImage> decodeIconImage(std::span<const uint8_t> data) {
    using Result = ParseResult<IconImage>;
    ByteReader r(data, "icon image");
    static constexpr std::array<uint8_t, 4> kPngMark{0x89, 'P', 'N', 'G'};
    if (data.size() >= 4 && std::equal(kPngMark.begin(), kPngMark.end(), data.begin())) {
        r.failAt(0, "PNG-compressed images are not supported");
        return Result::failure(r.error());
    }

    uint32_t headerSize = 0, compression = 0, sizeImage = 0, colorsUsed = 0, colorsImportant = 0;
    int32_t width = 0, doubledHeight = 0, xPerMeter = 0, yPerMeter = 0;
    uint16_t planes = 0, bits = 0;
    r.u32(headerSize, "header size");
    if (!r.failed() && headerSize < 40) {
        r.failAt(0, "header size is " + std::to_string(headerSize) +
                        ", smaller than a BITMAPINFOHEADER (40)");
    }
    r.i32(width, "width");
    r.i32(doubledHeight, "height");
    r.u16(planes, "planes");
    r.u16(bits, "bit count");
    r.u32(compression, "compression");
    r.u32(sizeImage, "image size");
    r.i32(xPerMeter, "horizontal resolution");
    r.i32(yPerMeter, "vertical resolution");
    r.u32(colorsUsed, "colours used");
    r.u32(colorsImportant, "important colours");
    if (r.failed()) {
        return Result::failure(r.error());
    }
    if (width < 1 || width > kMaxIconSide) {
        r.failAt(4, "width " + std::to_string(width) + " is not between 1 and 256");
    } else if (doubledHeight < 2 || doubledHeight > 2 * kMaxIconSide || doubledHeight % 2 != 0) {
        r.failAt(8, "height " + std::to_string(doubledHeight) +
                        " is not twice an image height between 1 and 256");
    } else if (planes != 1) {
        r.failAt(12, "planes is " + std::to_string(planes) + ", not 1");
    } else if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) {
        r.failAt(14, "bit count " + std::to_string(bits) + " is not 1, 4, 8, 24 or 32");
    } else if (compression != kBiRgb) {
        r.failAt(16, "compression " + std::to_string(compression) + " is not supported");
    } else if (bits <= 8 && colorsUsed > (1u << bits)) {
        r.failAt(32, std::to_string(colorsUsed) + " colours are too many for " +
                         std::to_string(bits) + " bits per pixel");
    }
    r.seek(headerSize <= r.size() ? headerSize : r.size() + 1, "end of the header");
    if (r.failed()) {
        return Result::failure(r.error());
    }

    const int height = doubledHeight / 2;
    const size_t paletteSize = bits <= 8 && colorsUsed == 0 ? (size_t{1} << bits) : colorsUsed;
    std::span<const uint8_t> paletteBytes, colourBits, maskBits;
    r.bytes(paletteSize * 4, paletteBytes, "colour table");
    r.bytes(rowStride(width, bits) * height, colourBits, "colour bits");
    r.bytes(rowStride(width, 1) * height, maskBits, "transparency mask");
    if (r.failed()) {
        return Result::failure(r.error());
    }

    std::vector<Rgb> palette(bits <= 8 ? paletteSize : 0);
    for (size_t i = 0; i < palette.size(); ++i) {
        palette[i] = Rgb{paletteBytes[4 * i + 2], paletteBytes[4 * i + 1], paletteBytes[4 * i]};
    }
    const size_t colourStride = rowStride(width, bits);
    const size_t maskStride = rowStride(width, 1);

    bool hasAlpha = false;
    if (bits == 32) {
        for (size_t i = 3; i < colourBits.size(); i += 4) {
            hasAlpha = hasAlpha || colourBits[i] != 0;
        }
    }

    IconImage image;
    image.width = width;
    image.height = height;
    image.bitCount = bits;
    image.rgba.resize(static_cast<size_t>(width) * height * 4);
    const size_t colourStart = r.offset() - colourBits.size() - maskBits.size();
    for (int y = 0; y < height; ++y) {
        const size_t stored = static_cast<size_t>(height - 1 - y); // rows are stored bottom-up
        const auto row = colourBits.subspan(stored * colourStride, colourStride);
        const auto mask = maskBits.subspan(stored * maskStride, maskStride);
        for (int x = 0; x < width; ++x) {
            const uint32_t v = sampleAt(row, x, bits);
            Rgb c;
            if (bits <= 8) {
                if (v >= palette.size()) {
                    r.failAt(colourStart + stored * colourStride,
                             "pixel (" + std::to_string(x) + ", " + std::to_string(y) +
                                 ") uses colour " + std::to_string(v) + " of a " +
                                 std::to_string(palette.size()) + "-colour table");
                    return Result::failure(r.error());
                }
                c = palette[v];
            } else {
                c = Rgb{static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 8),
                        static_cast<uint8_t>(v)};
            }
            const bool transparent = (mask[x / 8] >> (7 - x % 8)) & 1;
            uint8_t alpha = transparent ? 0 : 255;
            if (hasAlpha) {
                alpha = static_cast<uint8_t>(v >> 24);
            }
            uint8_t* out = &image.rgba[(static_cast<size_t>(y) * width + x) * 4];
            out[0] = c.r;
            out[1] = c.g;
            out[2] = c.b;
            out[3] = alpha;
        }
    }
    return Result::success(std::move(image));
}

const IconImage* IconGroup::bestFor(int size) const {
    const IconImage* exact = nullptr;
    const IconImage* larger = nullptr;
    const IconImage* largest = nullptr;
    for (const IconImage& image : images) {
        if (image.width == size && (!exact || image.bitCount > exact->bitCount)) {
            exact = &image;
        }
        if (image.width > size &&
            (!larger || image.width < larger->width ||
             (image.width == larger->width && image.bitCount > larger->bitCount))) {
            larger = &image;
        }
        if (!largest || image.width > largest->width ||
            (image.width == largest->width && image.bitCount > largest->bitCount)) {
            largest = &image;
        }
    }
    return exact ? exact : larger ? larger : largest;
}

} // namespace kx
