// ParseHexText, the program's conversion of the address texts, through its
// declared interface.
#include <gtest/gtest.h>

#include "device/ParseHexText.h"

TEST(ParseHexText, ReadsTheLeadingHexDigitsAfterRemovingEveryLowerCasePrefix) {
    struct Case {
        const char16_t* text;
        DWORD value;
    } cases[] = {
        {u"1A", 0x1A},
        {u"0x1A", 0x1A},
        {u"0x0x1A", 0x1A},
        {u"0X1A", 0x1A},
        {u"1G", 0x1},
        {u"G1", 0},
        {u"", 0},
        {u"ff", 0xFF},
        {u"1A2B3C", 0x1A2B3C},
        {u"12345678", 0x12345678},
        {u"123456789A", 0x3456789A},
        {u"1A2B3", 0x1A2B3},
        {u"xx1234", 0x1234},
        {u" 7", 0x7},
        {u"-1", 0xFFFFFFFF},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.text, c.text + std::char_traits<char16_t>::length(c.text)));
        EXPECT_EQ(ParseHexText(c.text), c.value);
    }
}
