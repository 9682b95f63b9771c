// Writes 8-bit RGB pixels as a PNG file with libpng.
//
// It checks its arguments and reports every failure as text (the file is
// then not left behind half-written); it does not read or convert images.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace kx {

// `rgb` holds width * height pixels, top row first, three bytes each.
// Returns an empty string on success, else what went wrong.
std::string writePng(const std::filesystem::path& file, std::span<const uint8_t> rgb, int width,
                     int height);

} // namespace kx
