// The parameter text of a program start, split into the host program's
// arguments.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kx {

// Splits on blanks (spaces and tabs); a double-quoted stretch belongs to one
// argument, quotes removed, so "a b" c gives two arguments and "" gives one
// empty argument. An empty or all-blank text gives no arguments. Text is
// converted to UTF-8.
std::vector<std::string> splitParameters(std::u16string_view parameters);

} // namespace kx
