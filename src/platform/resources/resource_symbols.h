// The program's resource names: the "#define NAME NUMBER" lines of its
// resource header, for the ID?_ names (IDC_, IDD_, IDR_, ...). Tools use it to
// let users name controls (IDC_SAVE) and to print names in dumps.
//
// It is not a preprocessor: other lines, and defines whose value is not a
// plain number, are ignored.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kx {

class ResourceSymbols {
public:
    struct Symbol {
        std::string name;
        int value = 0;
    };

    ResourceSymbols() = default;
    static ResourceSymbols parse(std::string_view headerText);

    // The value of a name; case-sensitive, as in the header.
    std::optional<int> idOf(std::string_view name) const;
    // The first name with this value whose prefix matches (e.g. "IDC_").
    std::optional<std::string> nameOf(int id, std::string_view prefix = "IDC_") const;
    // Every symbol, in header order.
    const std::vector<Symbol>& all() const { return m_symbols; }
    bool empty() const { return m_symbols.empty(); }

private:
    std::vector<Symbol> m_symbols;
};

} // namespace kx
