// Registry files: the editor's text format written from the registry, read
// back without loss, and malformed files refused with their line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <windows.h>

#include "common/utf.h"
#include "registry/reg_file.h"
#include "registry/registry_admin.h"
#include "registry/registry_error.h"
#include "temp_device.h"

namespace {

using kx::RegistryKey;
using kx::RegistryValue;

std::vector<uint8_t> utf16(std::u16string_view text, bool terminated) {
    std::vector<uint8_t> out;
    for (char16_t c : text) {
        out.push_back(uint8_t(c & 0xff));
        out.push_back(uint8_t(c >> 8));
    }
    if (terminated) {
        out.insert(out.end(), {0, 0});
    }
    return out;
}

std::string formatOne(const RegistryValue& value) {
    std::string text = kx::formatRegFile({RegistryKey{u"HKEY_LOCAL_MACHINE\\K", {value}}});
    const std::string head = "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\K]\n";
    EXPECT_EQ(text.substr(0, head.size()), head);
    EXPECT_EQ(text.substr(text.size() - 2), "\n\n");
    return text.substr(head.size(), text.size() - head.size() - 1);
}

TEST(RegFileFormat, WritesEachKindOfValue) {
    struct Case {
        const char* name;
        RegistryValue value;
        std::string line;
    };
    const Case cases[] = {
        {"terminated text", {u"Name", REG_SZ, utf16(u"abc", true)}, "\"Name\"=\"abc\"\n"},
        {"escapes",
         {u"a\"b\\c", REG_SZ, utf16(u"C:\\x \"y\"", true)},
         "\"a\\\"b\\\\c\"=\"C:\\\\x \\\"y\\\"\"\n"},
        {"non-ASCII text as UTF-8",
         {u"n", REG_SZ, utf16(u"Grüße", true)},
         "\"n\"=\"Gr\xC3\xBC\xC3\x9F"
         "e\"\n"},
        {"empty terminated text", {u"n", REG_SZ, {0, 0}}, "\"n\"=\"\"\n"},
        {"default value", {u"", REG_SZ, utf16(u"d", true)}, "@=\"d\"\n"},
        {"text without terminator",
         {u"N", REG_SZ, utf16(u"02-7D", false)},
         "\"N\"=hex(1):30,00,32,00,2d,00,37,00,44,00\n"},
        {"text with embedded null",
         {u"n", REG_SZ, {0x41, 0, 0, 0, 0x42, 0, 0, 0}},
         "\"n\"=hex(1):41,00,00,00,42,00,00,00\n"},
        {"text with a line break",
         {u"n", REG_SZ, utf16(u"a\nb", true)},
         "\"n\"=hex(1):61,00,0a,00,62,00,00,00\n"},
        {"odd-sized text", {u"n", REG_SZ, {0x41}}, "\"n\"=hex(1):41\n"},
        {"empty text data", {u"n", REG_SZ, {}}, "\"n\"=hex(1):\n"},
        {"dword", {u"n", REG_DWORD, {10, 0, 0, 0}}, "\"n\"=dword:0000000a\n"},
        {"dword high bit", {u"n", REG_DWORD, {0xef, 0xbe, 0xad, 0xde}}, "\"n\"=dword:deadbeef\n"},
        {"dword of 3 bytes", {u"n", REG_DWORD, {1, 2, 3}}, "\"n\"=hex(4):01,02,03\n"},
        {"binary",
         {u"MACADD", REG_BINARY, {0x02, 0x7d, 0xe3, 0, 0, 0xff}},
         "\"MACADD\"=hex:02,7d,e3,00,00,ff\n"},
        {"empty binary", {u"n", REG_BINARY, {}}, "\"n\"=hex:\n"},
        {"none", {u"n", REG_NONE, {}}, "\"n\"=hex(0):\n"},
        {"expandable text",
         {u"n", REG_EXPAND_SZ, utf16(u"%A%", true)},
         "\"n\"=hex(2):25,00,41,00,25,00,00,00\n"},
        {"qword",
         {u"n", REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0}},
         "\"n\"=hex(b):01,00,00,00,00,00,00,00\n"},
        {"large type number", {u"n", 0x12345678, {7}}, "\"n\"=hex(12345678):07\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(formatOne(c.value), c.line);
    }
}

TEST(RegFileFormat, BreaksLongHexLinesLikeTheEditor) {
    std::string text = formatOne({u"NetworkAddress", REG_SZ, utf16(u"02-7D-E3-12-34-56", false)});
    EXPECT_EQ(text, "\"NetworkAddress\"=hex(1):30,00,32,00,2d,00,37,00,44,00,2d,00,45,00,33,00,"
                    "2d,00,\\\n"
                    "  31,00,32,00,2d,00,33,00,34,00,2d,00,35,00,36,00\n");
    std::vector<uint8_t> big(100, 0xab);
    text = formatOne({u"b", REG_BINARY, big});
    size_t start = 0;
    int lines = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        std::string line = text.substr(start, end - start);
        SCOPED_TRACE(line);
        EXPECT_LE(line.size(), 80u);
        bool last = end + 1 == text.size();
        EXPECT_EQ(line.back() == '\\', !last);
        if (lines > 0) {
            EXPECT_EQ(line.substr(0, 2), "  ");
        }
        if (lines > 0 && !last) {
            EXPECT_EQ(line.size(), 2u + 25 * 3 + 1) << "25 bytes on a full continuation line";
        }
        ++lines;
        start = end + 1;
    }
    EXPECT_EQ(lines, 5) << "23 bytes after the name, then 25, 25, 25 and 2";
}

TEST(RegFileFormat, RefusesNamesWithLineBreaks) {
    EXPECT_THROW(kx::formatRegFile({RegistryKey{u"HKEY_USERS\\a\nb", {}}}), kx::RegistryError);
    EXPECT_THROW(kx::formatRegFile({RegistryKey{u"HKEY_USERS\\a", {{u"x\ry", REG_NONE, {}}}}}),
                 kx::RegistryError);
}

// A registry with every kind of value and awkward names.
void fillRegistry() {
    using K = kx::RegistryChange::Kind;
    std::vector<kx::RegistryChange> changes;
    auto set = [&](std::u16string key, std::u16string name, DWORD type, std::vector<uint8_t> data) {
        changes.push_back({K::SetValue, key, {name, type, data}, 0});
    };
    const std::u16string parms = u"HKEY_LOCAL_MACHINE\\Comm\\EMACB1\\Parms";
    set(parms, u"NetworkAddress", REG_SZ, utf16(u"02-7D-E3-12-34-56", false));
    set(parms, u"", REG_SZ, utf16(u"default", true));
    set(parms, u"Quote\"Back\\slash", REG_SZ, utf16(u"C:\\Windows\\\"q\"", true));
    set(parms, u"Unicode Ω €", REG_SZ, utf16(u"日本 \U0001F600", true));
    set(parms, u"Ends with backslash", REG_SZ, utf16(u"C:\\", true));
    set(parms, u"Embedded null", REG_SZ, {0x41, 0, 0, 0, 0x42, 0, 0, 0});
    set(parms, u"Line break", REG_SZ, utf16(u"a\r\nb", true));
    set(parms, u"Lone surrogate", REG_SZ, utf16(std::u16string(1, char16_t(0xD800)), true));
    set(parms, u"Odd", REG_SZ, {0x41});
    set(parms, u"Dword", REG_DWORD, {0x78, 0x56, 0x34, 0x12});
    set(parms, u"Short dword", REG_DWORD, {1});
    set(parms, u"Multi", REG_MULTI_SZ, utf16(std::u16string(u"a\0b\0", 4), true));
    set(parms, u"Expand", REG_EXPAND_SZ, utf16(u"%WINDIR%", true));
    set(parms, u"Qword", REG_QWORD, {1, 2, 3, 4, 5, 6, 7, 8});
    set(parms, u"None", REG_NONE, {});
    set(parms, u"Big", REG_BINARY, std::vector<uint8_t>(300, 0x5a));
    set(parms, u"Type 0x1234", 0x1234, {1, 2});
    set(u"HKEY_LOCAL_MACHINE\\Drivers\\CS8900", u"MACADD", REG_BINARY,
        {0x02, 0x7d, 0xe3, 0x12, 0x34, 0x56});
    set(u"HKEY_LOCAL_MACHINE", u"RootValue", REG_DWORD, {1, 0, 0, 0});
    set(u"HKEY_CURRENT_USER\\Key [with] brackets", u"v", REG_BINARY, {1});
    changes.push_back({K::CreateKey, u"HKEY_USERS\\Empty\\Key", {}, 0});
    changes.push_back({K::CreateKey, u"HKEY_CLASSES_ROOT\\MixedCase", {}, 0});
    kx::importRegistry(changes, kx::ImportMode::Replace);
}

std::string toUtf16File(const std::string& utf8) {
    std::string out = "\xFF\xFE";
    for (char16_t c : kx::fromUtf8(utf8)) {
        out += char(c & 0xff);
        out += char(c >> 8);
    }
    return out;
}

TEST(RegFileRoundTrip, ImportOfAnExportGivesTheSameRegistry) {
    kxtest::TempDevice source;
    fillRegistry();
    const auto original = kx::listRegistry();
    const std::string exported = kx::formatRegFile(original);

    struct Case {
        const char* name;
        std::string file;
    };
    std::string crlf;
    for (char c : exported) {
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    const Case cases[] = {
        {"UTF-8", exported},
        {"UTF-8 with BOM", "\xEF\xBB\xBF" + exported},
        {"UTF-16LE with BOM and CRLF", toUtf16File(crlf)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        kxtest::TempDevice target;
        kx::importRegistry(kx::parseRegFile(c.file), kx::ImportMode::Merge);
        auto copy = kx::listRegistry();
        ASSERT_EQ(copy.size(), original.size());
        for (size_t k = 0; k < copy.size(); ++k) {
            SCOPED_TRACE(kx::toUtf8(original[k].path));
            EXPECT_EQ(copy[k].path, original[k].path);
            ASSERT_EQ(copy[k].values.size(), original[k].values.size());
            for (size_t v = 0; v < copy[k].values.size(); ++v) {
                SCOPED_TRACE(kx::toUtf8(original[k].values[v].name));
                EXPECT_EQ(copy[k].values[v].name, original[k].values[v].name);
                EXPECT_EQ(copy[k].values[v].type, original[k].values[v].type);
                EXPECT_EQ(copy[k].values[v].data, original[k].values[v].data);
            }
        }
        EXPECT_EQ(kx::formatRegFile(copy), exported);
        source.makeCurrent();
    }
}

TEST(RegFileParse, ReadsTheEditorsFeatures) {
    kxtest::TempDevice device;
    fillRegistry();
    const std::string file = "Windows Registry Editor Version 5.00\r\n"
                             "\r\n"
                             "; a comment\r\n"
                             "[-HKEY_LOCAL_MACHINE\\Comm]\r\n"
                             "[HKEY_LOCAL_MACHINE\\Drivers\\CS8900]\r\n"
                             "\"MACADD\"=-\r\n"
                             "  \"New\" = hex:01,02,\\\r\n"
                             "     03 , 04\r\n"
                             "\"Upper\"=HEX(7):00,00\r\n"
                             "@=DWORD:ff\r\n"
                             "\t;indented comment\r\n"
                             "[HKEY_USERS\\Made]\r\n";
    kx::importRegistry(kx::parseRegFile(file), kx::ImportMode::Merge);
    EXPECT_THROW(kx::listRegistry(u"HKLM\\Comm"), kx::RegistryError);
    auto keys = kx::listRegistry(u"HKLM\\Drivers\\CS8900");
    ASSERT_EQ(keys.size(), 1u);
    ASSERT_EQ(keys[0].values.size(), 3u);
    EXPECT_EQ(keys[0].values[0].name, u"New");
    EXPECT_EQ(keys[0].values[0].data, (std::vector<uint8_t>{1, 2, 3, 4}));
    EXPECT_EQ(keys[0].values[1].type, DWORD(REG_MULTI_SZ));
    EXPECT_EQ(keys[0].values[2].name, u"");
    EXPECT_EQ(keys[0].values[2].data, (std::vector<uint8_t>{0xff, 0, 0, 0}));
    EXPECT_NO_THROW(kx::listRegistry(u"HKU\\Made"));
}

TEST(RegFileParse, RefusesMalformedFilesNamingTheLine) {
    kxtest::TempDevice device;
    fillRegistry();
    const std::string before = kx::formatRegFile(kx::listRegistry());
    const std::string head = "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\K]\n";
    struct Case {
        const char* name;
        std::string file;
        int line;
        std::string message;
    };
    const Case cases[] = {
        {"empty file", "", 1, "first line must be"},
        {"wrong header", "Windows Registry Editor\n", 1, "first line must be"},
        {"REGEDIT4", "REGEDIT4\n", 1, "REGEDIT4 files are not supported"},
        {"big-endian UTF-16", "\xFE\xFF", 1, "big-endian"},
        {"odd UTF-16 length", "\xFF\xFE\x41", 1, "middle of a character"},
        {"invalid UTF-8", head + "\"a\"=\"\xC3\x28\"\n", 4, "not valid UTF-8"},
        {"value before any key", "Windows Registry Editor Version 5.00\n\"a\"=dword:1\n", 2,
         "must follow a [KEY]"},
        {"value after a key deletion", head + "[-HKEY_USERS\\X]\n\"a\"=dword:1\n", 5,
         "must follow a [KEY]"},
        {"stray text", head + "hello\n", 4, "expected a [KEY] line"},
        {"key without ]", head + "[HKEY_USERS\\X\n", 4, "must end with ]"},
        {"empty key", head + "[]\n", 4, "empty key name"},
        {"unknown root", head + "[HKEY_NOWHERE\\X]\n", 4, "not a registry root"},
        {"empty key element", head + "[HKEY_USERS\\a\\\\b]\n", 4, "empty key name"},
        {"root deletion", head + "[-HKEY_USERS]\n", 4, "root key cannot be deleted"},
        {"unterminated name", head + "\"abc=dword:1\n", 4, "no closing quote"},
        {"bad escape", head + "\"a\\n\"=dword:1\n", 4, "unknown escape"},
        {"empty quoted name", head + "\"\"=dword:1\n", 4, "write @"},
        {"no equals", head + "\"a\" dword:1\n", 4, "expected ="},
        {"unterminated text", head + "\"a\"=\"abc\n", 4, "no closing quote"},
        {"text after text", head + "\"a\"=\"abc\" x\n", 4, "after the closing quote"},
        {"dword too long", head + "\"a\"=dword:123456789\n", 4, "1 to 8 hexadecimal"},
        {"dword not hex", head + "\"a\"=dword:xyz\n", 4, "1 to 8 hexadecimal"},
        {"unknown data", head + "\"a\"=str:abc\n", 4, "unknown value data"},
        {"bad hex type", head + "\"a\"=hex(q):01\n", 4, "hex(N)"},
        {"hex without colon", head + "\"a\"=hex 01\n", 4, "expected : after hex"},
        {"bad byte", head + "\"a\"=hex:01,1g\n", 4, "\"1g\" is not a byte"},
        {"three-digit byte", head + "\"a\"=hex:01,123\n", 4, "\"123\" is not a byte"},
        {"bad byte on a continuation", head + "\"a\"=hex:01,\\\n  02,zz\n", 5,
         "\"zz\" is not a byte"},
        {"continuation past the end", head + "\"a\"=hex:01,\\", 4, "past the end"},
        {"value name too long", head + "\"" + std::string(16384, 'v') + "\"=dword:1\n", 4,
         "value name longer"},
        {"error after good lines", head + "\"ok\"=dword:1\n[HKEY_USERS\\Y]\n\"b\"=hex:zz\n", 6,
         "is not a byte"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            kx::importRegistry(kx::parseRegFile(c.file), kx::ImportMode::Replace);
            ADD_FAILURE() << "the file was accepted";
        } catch (const kx::RegFileError& e) {
            EXPECT_EQ(e.line(), c.line) << e.what();
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
            EXPECT_EQ(std::string(e.what()).rfind("line " + std::to_string(c.line) + ": ", 0), 0u)
                << e.what();
        } catch (const kx::RegistryError& e) {
            ADD_FAILURE() << "refused only at import: " << e.what();
        }
        EXPECT_EQ(kx::formatRegFile(kx::listRegistry()), before) << "the registry changed";
    }
}

} // namespace
