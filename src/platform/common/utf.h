// Conversions between the platform's UTF-16 text and the host's UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace kx {

// Unpaired surrogates become U+FFFD.
std::string toUtf8(std::u16string_view text);
// Invalid sequences become U+FFFD.
std::u16string fromUtf8(std::string_view text);

// Case folding of the kind the target's file system and registry use for
// names: ASCII and Latin-1 letters compare without regard to case.
char16_t foldCase(char16_t c);
bool equalsNoCase(std::u16string_view a, std::u16string_view b);
std::u16string foldedCopy(std::u16string_view text);

} // namespace kx
