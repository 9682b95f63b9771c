#include "registry/reg_file.h"

#include <cstdio>

#include "common/utf.h"
#include "registry/key_path.h"
#include "registry/registry_error.h"

namespace kx {

namespace {

constexpr std::u16string_view kHeader = u"Windows Registry Editor Version 5.00";
// The editor breaks hex lines once they reach this many characters, and
// indents continuation lines by two spaces.
constexpr size_t kHexLineLimit = 77;

// ---- writing ----

void checkWritable(std::u16string_view name, const std::u16string& keyPath) {
    if (name.find_first_of(u"\r\n") != name.npos) {
        throw RegistryError(ERROR_INVALID_DATA,
                            "the name \"" + toUtf8(name) + "\" under " + toUtf8(keyPath) +
                                " holds a line break and cannot be written to a registry file");
    }
}

std::string escapedText(std::u16string_view text) {
    std::string out = "\"";
    for (char c : toUtf8(text)) {
        if (c == '\\' || c == '"') {
            out += '\\';
        }
        out += c;
    }
    return out + "\"";
}

// The data as text when it is exactly one terminated string that the text
// form carries unchanged.
bool singleString(const std::vector<uint8_t>& data, std::u16string& text) {
    if (data.size() < 2 || data.size() % 2 != 0) {
        return false;
    }
    text.clear();
    for (size_t i = 0; i + 1 < data.size(); i += 2) {
        text += char16_t(data[i] | (data[i + 1] << 8));
    }
    if (text.back() != 0) {
        return false;
    }
    text.pop_back();
    if (text.find_first_of(std::u16string_view(u"\0\r\n", 3)) != text.npos) {
        return false;
    }
    return fromUtf8(toUtf8(text)) == text;
}

void writeHex(std::string& out, std::string line, const std::vector<uint8_t>& data) {
    char byte[3];
    for (size_t i = 0; i < data.size(); ++i) {
        std::snprintf(byte, sizeof byte, "%02x", data[i]);
        line += byte;
        if (i + 1 == data.size()) {
            break;
        }
        line += ',';
        if (line.size() >= kHexLineLimit) {
            out += line + "\\\n";
            line = "  ";
        }
    }
    out += line + "\n";
}

void writeValue(std::string& out, const RegistryValue& value) {
    std::string name = value.name.empty() ? "@" : escapedText(value.name);
    std::u16string text;
    if (value.type == REG_SZ && singleString(value.data, text)) {
        out += name + "=" + escapedText(text) + "\n";
    } else if (value.type == REG_DWORD && value.data.size() == 4) {
        char digits[16];
        uint32_t number = uint32_t(value.data[0]) | uint32_t(value.data[1]) << 8 |
                          uint32_t(value.data[2]) << 16 | uint32_t(value.data[3]) << 24;
        std::snprintf(digits, sizeof digits, "%08x", unsigned(number));
        out += name + "=dword:" + digits + "\n";
    } else if (value.type == REG_BINARY) {
        writeHex(out, name + "=hex:", value.data);
    } else {
        char type[24];
        std::snprintf(type, sizeof type, "hex(%x):", unsigned(value.type));
        writeHex(out, name + "=" + type, value.data);
    }
}

// ---- reading ----

std::u16string decode(std::string_view bytes) {
    if (bytes.size() >= 2 && uint8_t(bytes[0]) == 0xFE && uint8_t(bytes[1]) == 0xFF) {
        throw RegFileError(1, "UTF-16 big-endian files are not supported; "
                              "save the file as UTF-16LE or UTF-8");
    }
    if (bytes.size() >= 2 && uint8_t(bytes[0]) == 0xFF && uint8_t(bytes[1]) == 0xFE) {
        bytes.remove_prefix(2);
        if (bytes.size() % 2 != 0) {
            throw RegFileError(1, "the UTF-16 file ends in the middle of a character");
        }
        std::u16string text;
        text.reserve(bytes.size() / 2);
        for (size_t i = 0; i < bytes.size(); i += 2) {
            text += char16_t(uint8_t(bytes[i]) | (uint8_t(bytes[i + 1]) << 8));
        }
        return text;
    }
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        bytes.remove_prefix(3);
    }
    std::u16string text = fromUtf8(bytes);
    std::string back = toUtf8(text);
    if (back != bytes) {
        size_t at = 0;
        while (at < back.size() && at < bytes.size() && back[at] == bytes[at]) {
            ++at;
        }
        int line = 1;
        for (size_t i = 0; i < at; ++i) {
            line += bytes[i] == '\n';
        }
        throw RegFileError(line, "the text is not valid UTF-8; save the file as UTF-8 or UTF-16LE");
    }
    return text;
}

std::vector<std::u16string> splitLines(const std::u16string& text) {
    std::vector<std::u16string> lines;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(u'\n', start);
        std::u16string line = text.substr(start, end == text.npos ? text.npos : end - start);
        if (!line.empty() && line.back() == u'\r') {
            line.pop_back();
        }
        lines.push_back(std::move(line));
        if (end == text.npos) {
            break;
        }
        start = end + 1;
    }
    return lines;
}

bool isBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}

std::u16string_view trimmed(std::u16string_view s) {
    while (!s.empty() && isBlank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && isBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

bool startsWithNoCase(std::u16string_view s, std::u16string_view prefix) {
    return s.size() >= prefix.size() && equalsNoCase(s.substr(0, prefix.size()), prefix);
}

int hexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9') {
        return c - u'0';
    }
    if (c >= u'a' && c <= u'f') {
        return c - u'a' + 10;
    }
    if (c >= u'A' && c <= u'F') {
        return c - u'A' + 10;
    }
    return -1;
}

// 1 to `maxDigits` hexadecimal digits and nothing else.
bool parseHexNumber(std::u16string_view s, size_t maxDigits, uint32_t& number) {
    if (s.empty() || s.size() > maxDigits) {
        return false;
    }
    number = 0;
    for (char16_t c : s) {
        int digit = hexDigit(c);
        if (digit < 0) {
            return false;
        }
        number = number << 4 | uint32_t(digit);
    }
    return true;
}

class Parser {
public:
    explicit Parser(std::string_view bytes) : m_lines(splitLines(decode(bytes))) {}

    std::vector<RegistryChange> run() {
        std::u16string_view header = trimmed(m_lines.front());
        if (header != kHeader) {
            if (equalsNoCase(header, u"REGEDIT4")) {
                fail(1, "REGEDIT4 files are not supported; the first line must be \"" +
                            toUtf8(kHeader) + "\"");
            }
            fail(1, "the first line must be \"" + toUtf8(kHeader) + "\"");
        }
        for (m_index = 1; m_index < m_lines.size(); ++m_index) {
            std::u16string_view line = trimmed(m_lines[m_index]);
            if (line.empty() || line.front() == u';') {
                continue;
            }
            if (line.front() == u'[') {
                keyLine(line);
            } else if (line.front() == u'"' || line.front() == u'@') {
                valueLine(line);
            } else {
                fail(lineNumber(), "expected a [KEY] line, a value line (\"name\"=... or @=...) "
                                   "or a comment (;)");
            }
        }
        return std::move(m_changes);
    }

private:
    [[noreturn]] static void fail(int line, const std::string& what) {
        throw RegFileError(line, what);
    }
    int lineNumber() const { return int(m_index) + 1; }

    void keyLine(std::u16string_view line) {
        if (line.back() != u']') {
            fail(lineNumber(), "a key line must end with ]");
        }
        line = line.substr(1, line.size() - 2);
        bool remove = !line.empty() && line.front() == u'-';
        if (remove) {
            line.remove_prefix(1);
        }
        if (line.empty()) {
            fail(lineNumber(), "empty key name");
        }
        try {
            auto [root, names] = splitFullKeyPath(line);
            if (remove && names.empty()) {
                fail(lineNumber(), "a root key cannot be deleted");
            }
        } catch (const RegistryError& e) {
            fail(lineNumber(), e.what());
        }
        m_key = std::u16string(line);
        m_keyDeleted = remove;
        m_changes.push_back(
            {remove ? RegistryChange::Kind::DeleteKey : RegistryChange::Kind::CreateKey,
             m_key,
             {},
             lineNumber()});
    }

    // Reads a quoted text at the start of `s` and removes it from `s`.
    std::u16string quotedText(std::u16string_view& s, const char* what) {
        std::u16string text;
        size_t i = 1;
        for (; i < s.size() && s[i] != u'"'; ++i) {
            if (s[i] == u'\\') {
                if (i + 1 >= s.size() || (s[i + 1] != u'\\' && s[i + 1] != u'"')) {
                    fail(lineNumber(), std::string("unknown escape in the ") + what +
                                           " (only \\\\ and \\\" are allowed)");
                }
                ++i;
            }
            text += s[i];
        }
        if (i >= s.size()) {
            fail(lineNumber(), std::string("the ") + what + " has no closing quote");
        }
        s.remove_prefix(i + 1);
        return text;
    }

    void valueLine(std::u16string_view line) {
        int first = lineNumber();
        if (m_key.empty() || m_keyDeleted) {
            fail(first, "a value must follow a [KEY] line");
        }
        RegistryChange change{RegistryChange::Kind::SetValue, m_key, {}, first};
        if (line.front() == u'@') {
            line.remove_prefix(1);
        } else {
            change.value.name = quotedText(line, "value name");
            if (change.value.name.empty()) {
                fail(first, "empty value name (write @ for the default value)");
            }
            try {
                checkValueName(change.value.name);
            } catch (const RegistryError& e) {
                fail(first, e.what());
            }
        }
        line = trimmed(line);
        if (line.empty() || line.front() != u'=') {
            fail(first, "expected = after the value name");
        }
        line = trimmed(line.substr(1));
        if (line == u"-") {
            change.kind = RegistryChange::Kind::DeleteValue;
        } else if (!line.empty() && line.front() == u'"') {
            std::u16string text = quotedText(line, "text");
            if (!trimmed(line).empty()) {
                fail(first, "unexpected characters after the closing quote");
            }
            change.value.type = REG_SZ;
            for (char16_t c : text) {
                change.value.data.push_back(uint8_t(c & 0xFF));
                change.value.data.push_back(uint8_t(c >> 8));
            }
            change.value.data.push_back(0);
            change.value.data.push_back(0);
        } else if (startsWithNoCase(line, u"dword:")) {
            uint32_t number = 0;
            if (!parseHexNumber(line.substr(6), 8, number)) {
                fail(first, "dword: needs 1 to 8 hexadecimal digits");
            }
            change.value.type = REG_DWORD;
            change.value.data = {uint8_t(number), uint8_t(number >> 8), uint8_t(number >> 16),
                                 uint8_t(number >> 24)};
        } else if (startsWithNoCase(line, u"hex")) {
            hexData(line.substr(3), change.value);
        } else {
            fail(first, "unknown value data (expected \"text\", dword:, hex:, hex(N): or -)");
        }
        m_changes.push_back(std::move(change));
    }

    void hexData(std::u16string_view rest, RegistryValue& value) {
        int first = lineNumber();
        value.type = REG_BINARY;
        if (!rest.empty() && rest.front() == u'(') {
            size_t close = rest.find(u')');
            uint32_t type = 0;
            if (close == rest.npos || !parseHexNumber(rest.substr(1, close - 1), 8, type)) {
                fail(first, "hex(N): needs a type of 1 to 8 hexadecimal digits");
            }
            value.type = type;
            rest.remove_prefix(close + 1);
        }
        if (rest.empty() || rest.front() != u':') {
            fail(first, "expected : after hex");
        }
        // Join continuation lines: a trailing backslash continues the list on
        // the next line.
        std::u16string list(trimmed(rest.substr(1)));
        while (!list.empty() && list.back() == u'\\') {
            list.pop_back();
            if (m_index + 1 >= m_lines.size()) {
                fail(lineNumber(), "the hex data continues past the end of the file");
            }
            ++m_index;
            list += trimmed(m_lines[m_index]);
        }
        std::u16string_view items = trimmed(list);
        if (items.empty()) {
            return;
        }
        size_t start = 0;
        for (;;) {
            size_t comma = items.find(u',', start);
            std::u16string_view item =
                trimmed(items.substr(start, comma == items.npos ? items.npos : comma - start));
            uint32_t byte = 0;
            if (item.empty() && comma == items.npos && !value.data.empty()) {
                break; // a trailing comma
            }
            if (!parseHexNumber(item, 2, byte)) {
                std::string message = "\"";
                message += toUtf8(item);
                message += "\" is not a byte (two hexadecimal digits) in the hex data";
                fail(lineNumber(), message);
            }
            value.data.push_back(uint8_t(byte));
            if (comma == items.npos) {
                break;
            }
            start = comma + 1;
        }
    }

    std::vector<std::u16string> m_lines;
    size_t m_index = 0;
    std::u16string m_key;
    bool m_keyDeleted = false;
    std::vector<RegistryChange> m_changes;
};

} // namespace

std::string formatRegFile(const std::vector<RegistryKey>& keys) {
    std::string out = toUtf8(kHeader) + "\n\n";
    for (const auto& key : keys) {
        checkWritable(key.path, key.path);
        out += "[" + toUtf8(key.path) + "]\n";
        for (const auto& value : key.values) {
            checkWritable(value.name, key.path);
            writeValue(out, value);
        }
        out += "\n";
    }
    return out;
}

std::vector<RegistryChange> parseRegFile(std::string_view bytes) {
    return Parser(bytes).run();
}

} // namespace kx
