// Readers of the icon resources: the group icon directory (RT_GROUP_ICON,
// GRPICONDIR with 14-byte GRPICONDIRENTRYs) and the images it lists
// (RT_ICON: a BITMAPINFOHEADER with the height doubled, a colour table, the
// colour bits and the 1-bit AND mask), with a decoder to 32-bit RGBA.
//
// Uncompressed images of 1, 4, 8, 24 and 32 bits per pixel are decoded;
// compressed (RLE or PNG) images are refused with an error.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "resources/parse_result.h"

namespace kx {

struct GroupIconEntry {
    uint8_t width = 0;      // 0 stands for 256
    uint8_t height = 0;     // 0 stands for 256
    uint8_t colorCount = 0; // 0 for 256 colours or more
    uint8_t reserved = 0;
    uint16_t planes = 0;
    uint16_t bitCount = 0;
    uint32_t bytesInRes = 0;
    uint16_t id = 0; // of the RT_ICON resource
};

struct GroupIconDirectory {
    uint16_t type = 0; // 1 for icons, 2 for cursors
    std::vector<GroupIconEntry> entries;
};

ParseResult<GroupIconDirectory> parseGroupIconDirectory(std::span<const uint8_t> data);

// One decoded image: width * height pixels, top row first, each four bytes
// R, G, B, A. Pixels that the AND mask marks transparent have A = 0.
struct IconImage {
    uint16_t id = 0; // of the RT_ICON resource it came from
    int width = 0;
    int height = 0;
    int bitCount = 0; // of the stored image
    std::vector<uint8_t> rgba;
};

ParseResult<IconImage> decodeIconImage(std::span<const uint8_t> data);

// An icon with all of its images decoded, in directory order.
struct IconGroup {
    std::vector<IconImage> images;

    // The image that fits a square of the given size best: the exact size if
    // there is one (the deepest colour among those), else the nearest larger,
    // else the largest. nullptr when there are no images.
    const IconImage* bestFor(int size) const;
};

} // namespace kx
