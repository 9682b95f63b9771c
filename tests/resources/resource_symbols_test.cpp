// The table of resource names read from a resource header.
#include <gtest/gtest.h>

#include "compiled_resources.h"
#include "resources/resource_symbols.h"

namespace kx {
namespace {

TEST(ResourceSymbols, ProgramHeader) {
    const ResourceSymbols symbols = ResourceSymbols::parse(test::symbolsHeaderText());
    struct Case {
        const char* name;
        int id;
    };
    const Case cases[] = {
        {"IDD_MAIN_DIALOG", 102}, {"IDR_MAINFRAME", 128}, {"IDC_DIGIT1", 1000},
        {"IDC_DIGIT3", 1019},     {"IDC_KEY_C", 1021},    {"IDC_SAVE", 1028},
        {"IDC_CLOSE", 1029},      {"IDC_STATIC", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(symbols.idOf(c.name), c.id);
        const std::string_view prefix = std::string_view(c.name).substr(0, 4);
        EXPECT_EQ(symbols.nameOf(c.id, prefix), std::string(c.name));
    }
    // 2 resources, 28 controls and IDC_STATIC.
    EXPECT_EQ(symbols.all().size(), 31u);
    EXPECT_EQ(symbols.nameOf(102), std::nullopt) << "102 names a dialog, not a control";
    EXPECT_EQ(symbols.idOf("IDC_NOPE"), std::nullopt);
}

TEST(ResourceSymbols, LineForms) {
    struct Case {
        const char* name;
        const char* text;
        const char* symbol;
        std::optional<int> want;
    };
    const Case cases[] = {
        {"plain", "#define IDC_A 5\n", "IDC_A", 5},
        {"hex", "#define IDC_A 0x10\n", "IDC_A", 16},
        {"negative in parentheses", "#define IDC_A (-1)\n", "IDC_A", -1},
        {"long suffix", "#define IDC_A 7L\n", "IDC_A", 7},
        {"tabs, CRLF and a comment", "#\tdefine\tIDC_A\t9 // nine\r\n", "IDC_A", 9},
        {"no newline at the end", "#define IDD_X 3", "IDD_X", 3},
        {"expression is not a number", "#define IDC_A (IDC_B + 1)\n", "IDC_A", std::nullopt},
        {"not a resource name", "#define _APS_NEXT_CONTROL_VALUE 1030\n", "_APS_NEXT_CONTROL_VALUE",
         std::nullopt},
        {"lower-case prefix", "#define idc_a 1\n", "idc_a", std::nullopt},
        {"commented out", "// #define IDC_A 1\n", "IDC_A", std::nullopt},
        {"first definition wins", "#define IDC_A 1\n#define IDC_A 2\n", "IDC_A", 1},
        {"too large", "#define IDC_A 99999999999\n", "IDC_A", std::nullopt},
        {"no value", "#define IDC_A\n", "IDC_A", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ResourceSymbols::parse(c.text).idOf(c.symbol), c.want);
    }
}

} // namespace
} // namespace kx
