#include "windowing/script/control_names.h"

#include <charconv>

#include "resources/resource_module.h"

namespace kx {

std::optional<int> controlIdFromText(const std::string& text) {
    if (text.empty()) {
        return std::nullopt;
    }
    if (auto id = ResourceModule::current().symbols().idOf(text)) {
        return id;
    }
    const char* first = text.data();
    const char* last = text.data() + text.size();
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        first += 2;
        base = 16;
    }
    int value = 0;
    auto [end, ec] = std::from_chars(first, last, value, base);
    if (ec != std::errc() || end != last || value < 0 || value > 0xFFFF) {
        return std::nullopt;
    }
    return value;
}

std::string controlNameForId(int id) {
    return ResourceModule::current().symbols().nameOf(id, "IDC_").value_or("");
}

} // namespace kx
