// Names of the program's controls, from the symbol table that the build
// embeds beside the resources (IDC_SAVE <-> 1028, ...).
#pragma once

#include <optional>
#include <string>

namespace kx {

// "IDC_SAVE" -> 1028; a decimal or 0x-hexadecimal number is taken as an id.
std::optional<int> controlIdFromText(const std::string& text);
// 1028 -> "IDC_SAVE"; empty when the id has no IDC_ name.
std::string controlNameForId(int id);

} // namespace kx
