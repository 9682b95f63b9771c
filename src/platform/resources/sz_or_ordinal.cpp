#include "resources/sz_or_ordinal.h"

#include "common/utf.h"

namespace kx {

std::string describe(const SzOrOrdinal& name) {
    if (name.ordinal) {
        std::string text = "#";
        text += std::to_string(*name.ordinal);
        return text;
    }
    return toUtf8(name.text);
}

} // namespace kx
