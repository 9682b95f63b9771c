#include "resources/resource_symbols.h"

#include <cctype>
#include <charconv>
#include <limits>

namespace kx {

namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && isSpace(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && isSpace(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

std::string_view takeWord(std::string_view& s) {
    s = trim(s);
    size_t n = 0;
    while (n < s.size() && !isSpace(s[n])) {
        ++n;
    }
    std::string_view word = s.substr(0, n);
    s.remove_prefix(n);
    return word;
}

// A resource name: "ID", one or more capital letters, "_", then letters,
// digits and underscores (IDC_SAVE, IDD_MAIN_DIALOG, IDR_MAINFRAME).
bool isResourceName(std::string_view name) {
    if (name.size() < 4 || name.substr(0, 2) != "ID") {
        return false;
    }
    size_t i = 2;
    while (i < name.size() && std::isupper(static_cast<unsigned char>(name[i]))) {
        ++i;
    }
    if (i == 2 || i >= name.size() - 1 || name[i] != '_') {
        return false;
    }
    for (char c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') {
            return false;
        }
    }
    return true;
}

// A number as the header writes it: decimal or 0x hex, optionally negative,
// optionally in parentheses, with an optional L or U suffix.
std::optional<int> parseNumber(std::string_view s) {
    if (s.size() >= 2 && s.front() == '(' && s.back() == ')') {
        s = trim(s.substr(1, s.size() - 2));
    }
    while (!s.empty() &&
           (s.back() == 'L' || s.back() == 'l' || s.back() == 'U' || s.back() == 'u')) {
        s.remove_suffix(1);
    }
    bool negative = false;
    if (!s.empty() && s.front() == '-') {
        negative = true;
        s.remove_prefix(1);
    }
    int base = 10;
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        base = 16;
        s.remove_prefix(2);
    }
    long long value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value, base);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size()) {
        return std::nullopt;
    }
    value = negative ? -value : value;
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max()) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

} // namespace

ResourceSymbols ResourceSymbols::parse(std::string_view text) {
    ResourceSymbols symbols;
    while (!text.empty()) {
        const size_t eol = text.find('\n');
        std::string_view line = text.substr(0, eol);
        text.remove_prefix(eol == std::string_view::npos ? text.size() : eol + 1);

        if (const size_t comment = line.find("//"); comment != std::string_view::npos) {
            line = line.substr(0, comment);
        }
        line = trim(line);
        if (line.empty() || line.front() != '#') {
            continue;
        }
        line.remove_prefix(1);
        if (takeWord(line) != "define") {
            continue;
        }
        const std::string_view name = takeWord(line);
        const std::optional<int> value = parseNumber(trim(line));
        if (!isResourceName(name) || !value || symbols.idOf(name)) {
            continue;
        }
        symbols.m_symbols.push_back(Symbol{std::string(name), *value});
    }
    return symbols;
}

std::optional<int> ResourceSymbols::idOf(std::string_view name) const {
    for (const Symbol& s : m_symbols) {
        if (s.name == name) {
            return s.value;
        }
    }
    return std::nullopt;
}

std::optional<std::string> ResourceSymbols::nameOf(int id, std::string_view prefix) const {
    for (const Symbol& s : m_symbols) {
        if (s.value == id && s.name.starts_with(prefix)) {
            return s.name;
        }
    }
    return std::nullopt;
}

} // namespace kx
