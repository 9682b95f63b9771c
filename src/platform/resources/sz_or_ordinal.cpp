#include "resources/sz_or_ordinal.h"

#include "common/utf.h"

namespace kx {

std::string describe(const SzOrOrdinal& name) {
    if (name.ordinal) {
        return "#" + std::to_string(*name.ordinal);
    }
    return toUtf8(name.text);
}

} // namespace kx
