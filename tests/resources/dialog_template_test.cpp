// The dialog template reader: the program's main dialog as compiled, and
// hand-made templates for the forms and faults the compiled one lacks.
#include <gtest/gtest.h>

#include "common/utf.h"
#include "compiled_resources.h"
#include "resources/dialog_template.h"
#include "resources/res_file.h"

namespace kx {
namespace {

constexpr uint16_t kMainDialog = 102;
constexpr uint32_t kPushButton = 0x50010000;
constexpr uint32_t kLabel = 0x50020000;
constexpr uint32_t kSeparator = 0x50020201;
constexpr uint32_t kStaticEdge = 0x00020000;
constexpr uint32_t kTabStop = 0x00010000;

struct ExpectedControl {
    int id;
    const char16_t* className;
    uint32_t style;
    uint32_t exStyle;
    const char16_t* text;
    int x, y, cx, cy;
};

// Template order, which is also creation, stacking and tab order.
const ExpectedControl kControls[] = {
    {1024, u"STATIC", kLabel, 0, u"MAC Address : 02 - 7D- E3 -", 7, 20, 124, 8},
    {1000, u"BUTTON", kPushButton, 0, u"0", 7, 34, 22, 22},
    {1001, u"BUTTON", kPushButton, 0, u"0", 32, 34, 22, 22},
    {1002, u"BUTTON", kPushButton, 0, u"1", 7, 61, 22, 22},
    {1003, u"BUTTON", kPushButton, 0, u"4", 7, 88, 22, 22},
    {1004, u"BUTTON", kPushButton, 0, u"2", 32, 61, 22, 22},
    {1005, u"BUTTON", kPushButton, 0, u"5", 32, 88, 22, 22},
    {1006, u"BUTTON", kPushButton, 0, u"7", 7, 115, 22, 22},
    {1007, u"BUTTON", kPushButton, 0, u"8", 32, 115, 22, 22},
    {1008, u"BUTTON", kPushButton, 0, u"3", 57, 61, 22, 22},
    {1009, u"BUTTON", kPushButton, 0, u"6", 57, 88, 22, 22},
    {1010, u"BUTTON", kPushButton, 0, u"9", 57, 115, 22, 22},
    {1011, u"BUTTON", kPushButton, 0, u"A", 90, 61, 22, 22},
    {1012, u"BUTTON", kPushButton, 0, u"B", 115, 61, 22, 22},
    {1014, u"BUTTON", kPushButton, 0, u"D", 90, 88, 22, 22},
    {1015, u"BUTTON", kPushButton, 0, u"E", 115, 88, 22, 22},
    {1016, u"BUTTON", kPushButton, 0, u"F", 140, 88, 22, 22},
    {1017, u"BUTTON", kPushButton, 0, u"0", 90, 115, 22, 22},
    {1019, u"BUTTON", kPushButton, 0, u"0", 82, 34, 22, 22},
    {1020, u"BUTTON", kPushButton, 0, u"0", 107, 34, 22, 22},
    {1021, u"BUTTON", kPushButton, 0, u"C", 140, 61, 22, 22},
    {1022, u"BUTTON", kPushButton, 0, u"0", 157, 34, 22, 22},
    {1023, u"BUTTON", kPushButton, 0, u"0", 182, 34, 22, 22},
    {1025, u"STATIC", kLabel, 0, u"Auto Detected HW Type :", 7, 7, 197, 8},
    {1026, u"STATIC", kSeparator, kStaticEdge, u"-", 57, 34, 22, 22},
    {1027, u"STATIC", kSeparator, kStaticEdge, u"-", 131, 34, 22, 22},
    {1028, u"BUTTON", kPushButton, 0, u"Save", 170, 87, 34, 22},
    {1029, u"BUTTON", kPushButton, 0, u"Close", 170, 115, 34, 22},
};

ParseResult<DialogTemplate> compiledMainDialog() {
    return parseDialogTemplate(test::compiledResource(kResourceTypeDialog, kMainDialog));
}

TEST(DialogTemplate, MainDialogHeaderAsCompiled) {
    auto dlg = compiledMainDialog();
    ASSERT_TRUE(dlg.ok()) << dlg.error();
    EXPECT_EQ(dlg->style, 0x90C800C0u);
    EXPECT_EQ(dlg->exStyle, 0x80040000u);
    EXPECT_EQ(dlg->x, 0);
    EXPECT_EQ(dlg->y, 0);
    EXPECT_EQ(dlg->cx, 211);
    EXPECT_EQ(dlg->cy, 143);
    EXPECT_TRUE(dlg->menu.empty());
    EXPECT_TRUE(dlg->windowClass.empty());
    EXPECT_EQ(toUtf8(dlg->title), "Kestrix");
    EXPECT_TRUE(dlg->hasFont);
    EXPECT_EQ(dlg->pointSize, 8);
    EXPECT_EQ(dlg->faceName, u"돋움");
    EXPECT_EQ(dlg->items.size(), std::size(kControls));
}

TEST(DialogTemplate, MainDialogControlsInTemplateOrder) {
    auto dlg = compiledMainDialog();
    ASSERT_TRUE(dlg.ok()) << dlg.error();
    ASSERT_EQ(dlg->items.size(), std::size(kControls));
    for (size_t i = 0; i < std::size(kControls); ++i) {
        const ExpectedControl& want = kControls[i];
        const DialogItem& got = dlg->items[i];
        SCOPED_TRACE("control " + std::to_string(i + 1) + " (id " + std::to_string(want.id) + ")");
        EXPECT_EQ(got.controlId(), want.id);
        EXPECT_EQ(toUtf8(got.className()), toUtf8(want.className));
        EXPECT_TRUE(got.windowClass.isOrdinal()) << "predefined classes are stored as ordinals";
        EXPECT_EQ(got.style, want.style);
        EXPECT_EQ(got.exStyle, want.exStyle);
        EXPECT_FALSE(got.text.isOrdinal());
        EXPECT_EQ(toUtf8(got.text.text), toUtf8(want.text));
        EXPECT_EQ(got.x, want.x);
        EXPECT_EQ(got.y, want.y);
        EXPECT_EQ(got.cx, want.cx);
        EXPECT_EQ(got.cy, want.cy);
        EXPECT_TRUE(got.creationData.empty());
    }
}

TEST(DialogTemplate, FirstTabStopIsFirstDigit) {
    auto dlg = compiledMainDialog();
    ASSERT_TRUE(dlg.ok()) << dlg.error();
    const DialogItem* first = nullptr;
    for (const DialogItem& item : dlg->items) {
        if (item.style & kTabStop) {
            first = &item;
            break;
        }
    }
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->controlId(), 1000); // IDC_DIGIT1
}

TEST(DialogTemplate, EveryTruncationFails) {
    const std::vector<uint8_t> full = test::compiledResource(kResourceTypeDialog, kMainDialog);
    ASSERT_FALSE(full.empty());
    for (size_t len = 0; len < full.size(); ++len) {
        SCOPED_TRACE("length " + std::to_string(len));
        // An exact-size copy, so that a read past its end is caught.
        const std::vector<uint8_t> cut(full.begin(), full.begin() + static_cast<long>(len));
        auto dlg = parseDialogTemplate(cut);
        ASSERT_FALSE(dlg.ok());
        EXPECT_NE(dlg.error().find("offset 0x"), std::string::npos) << dlg.error();
    }
}

// A template with one item; the pieces vary per case.
struct ItemForm {
    const char* name;
    test::Bytes itemClass;
    test::Bytes itemText;
    std::vector<uint8_t> creationData;
    std::u16string wantClassName;
    SzOrOrdinal wantText;
};

test::Bytes oneItemTemplate(uint32_t style, const test::Bytes& menu, const test::Bytes& cls,
                            const ItemForm& item) {
    test::Bytes b;
    b.u32(style).u32(0).u16(1).u16(1).u16(2).u16(30).u16(40);
    b.raw(menu.bytes()).raw(cls.bytes()).sz(u"T");
    if (style & 0x40) {
        b.u16(9).sz(u"Face");
    }
    b.align4().u32(0x50000000).u32(0).u16(0xFFFF).u16(0xFFFE).u16(5).u16(6).u16(0xFFFF);
    b.raw(item.itemClass.bytes()).raw(item.itemText.bytes());
    b.u16(static_cast<uint16_t>(item.creationData.size())).raw(item.creationData);
    return b;
}

TEST(DialogTemplate, ItemForms) {
    const ItemForm cases[] = {
        {"edit ordinal",
         test::Bytes().ordinal(0x81),
         test::Bytes().sz(u"abc"),
         {},
         u"EDIT",
         SzOrOrdinal::fromText(u"abc")},
        {"listbox ordinal",
         test::Bytes().ordinal(0x83),
         test::Bytes().sz(u""),
         {},
         u"LISTBOX",
         SzOrOrdinal::fromText(u"")},
        {"scrollbar ordinal",
         test::Bytes().ordinal(0x84),
         test::Bytes().sz(u""),
         {},
         u"SCROLLBAR",
         SzOrOrdinal::fromText(u"")},
        {"combobox ordinal",
         test::Bytes().ordinal(0x85),
         test::Bytes().sz(u""),
         {},
         u"COMBOBOX",
         SzOrOrdinal::fromText(u"")},
        {"unknown ordinal",
         test::Bytes().ordinal(0x99),
         test::Bytes().sz(u""),
         {},
         u"#153",
         SzOrOrdinal::fromText(u"")},
        {"inline class",
         test::Bytes().sz(u"MyClass"),
         test::Bytes().sz(u"x"),
         {},
         u"MyClass",
         SzOrOrdinal::fromText(u"x")},
        {"ordinal text (icon id)",
         test::Bytes().ordinal(0x82),
         test::Bytes().ordinal(128),
         {},
         u"STATIC",
         SzOrOrdinal::fromOrdinal(128)},
        {"creation data",
         test::Bytes().ordinal(0x80),
         test::Bytes().sz(u"ok"),
         {1, 2, 3},
         u"BUTTON",
         SzOrOrdinal::fromText(u"ok")},
    };
    for (const ItemForm& c : cases) {
        SCOPED_TRACE(c.name);
        const test::Bytes t = oneItemTemplate(0x40, test::Bytes().u16(0), test::Bytes().u16(0), c);
        auto dlg = parseDialogTemplate(t.bytes());
        ASSERT_TRUE(dlg.ok()) << dlg.error();
        ASSERT_EQ(dlg->items.size(), 1u);
        const DialogItem& item = dlg->items[0];
        EXPECT_EQ(toUtf8(item.className()), toUtf8(c.wantClassName));
        EXPECT_EQ(item.text, c.wantText);
        EXPECT_EQ(item.creationData, c.creationData);
        EXPECT_EQ(item.controlId(), -1);
        EXPECT_EQ(item.x, -1);
        EXPECT_EQ(item.y, -2);
    }
}

TEST(DialogTemplate, HeaderForms) {
    const ItemForm button{"button",  test::Bytes().ordinal(0x80), test::Bytes().sz(u"b"), {},
                          u"BUTTON", SzOrOrdinal::fromText(u"b")};
    struct Case {
        const char* name;
        uint32_t style;
        test::Bytes menu;
        test::Bytes cls;
        SzOrOrdinal wantMenu;
        SzOrOrdinal wantClass;
        bool wantFont;
    };
    const Case cases[] = {
        {"no font", 0, test::Bytes().u16(0), test::Bytes().u16(0), {}, {}, false},
        {"menu ordinal, class text", 0x40, test::Bytes().ordinal(7), test::Bytes().sz(u"Cls"),
         SzOrOrdinal::fromOrdinal(7), SzOrOrdinal::fromText(u"Cls"), true},
        {"menu text, class ordinal", 0x40, test::Bytes().sz(u"M"), test::Bytes().ordinal(0x8002),
         SzOrOrdinal::fromText(u"M"), SzOrOrdinal::fromOrdinal(0x8002), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const test::Bytes t = oneItemTemplate(c.style, c.menu, c.cls, button);
        auto dlg = parseDialogTemplate(t.bytes());
        ASSERT_TRUE(dlg.ok()) << dlg.error();
        EXPECT_EQ(dlg->menu, c.wantMenu);
        EXPECT_EQ(dlg->windowClass, c.wantClass);
        EXPECT_EQ(dlg->title, u"T");
        EXPECT_EQ(dlg->hasFont, c.wantFont);
        EXPECT_EQ(dlg->faceName, c.wantFont ? u"Face" : u"");
        ASSERT_EQ(dlg->items.size(), 1u);
        EXPECT_EQ(dlg->items[0].text, button.wantText);
    }
}

TEST(DialogTemplate, MalformedTemplates) {
    const ItemForm button{"button",  test::Bytes().ordinal(0x80), test::Bytes().sz(u"b"), {},
                          u"BUTTON", SzOrOrdinal::fromText(u"b")};
    const std::vector<uint8_t> good =
        oneItemTemplate(0x40, test::Bytes().u16(0), test::Bytes().u16(0), button).bytes();
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        const char* wantInError;
    };
    std::vector<Case> cases;
    // Items start on a four-byte boundary: the header with title "T" and
    // face "Face" is 38 bytes, so two padding bytes come before the item.
    {
        std::vector<uint8_t> b = good;
        b.erase(b.begin() + 38, b.begin() + 40); // drop the padding
        cases.push_back({"item not aligned", b, "item 1"});
    }
    {
        std::vector<uint8_t> b = good;
        b.resize(good.size() - 2); // creation data size missing
        cases.push_back({"no creation data size", b, "creation data size"});
    }
    {
        test::Bytes t;
        t.u32(0xFFFF0001).u32(0).u32(0).u16(0).u16(0).u16(0).u16(0).u16(0).u16(0).u16(0).u16(0);
        cases.push_back({"extended template", t.bytes(), "DLGTEMPLATEEX"});
    }
    {
        test::Bytes t = oneItemTemplate(0x40, test::Bytes().u16(0), test::Bytes().u16(0), button);
        t.patch16(8, 2); // two items, one present
        cases.push_back({"fewer items than counted", t.bytes(), "item 2"});
    }
    {
        test::Bytes t;
        t.u32(0).u32(0).u16(0).u16(0).u16(0).u16(0).u16(0).u16(0xFFFF); // menu ordinal cut off
        cases.push_back({"ordinal cut off", t.bytes(), "menu ordinal"});
    }
    {
        test::Bytes t;
        t.u32(0).u32(0).u16(0).u16(0).u16(0).u16(0).u16(0).u16(0).u16(0).u16('A').u16('B');
        cases.push_back({"title without NUL", t.bytes(), "title"});
    }
    {
        const ItemForm big{"creation data past end",
                           test::Bytes().ordinal(0x80),
                           test::Bytes().sz(u""),
                           {1, 2},
                           u"BUTTON",
                           {}};
        std::vector<uint8_t> b =
            oneItemTemplate(0, test::Bytes().u16(0), test::Bytes().u16(0), big).bytes();
        b.pop_back();
        cases.push_back({"creation data past end", b, "creation data"});
    }
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE("case " + std::to_string(i) + ": " + cases[i].name);
        auto dlg = parseDialogTemplate(cases[i].bytes);
        ASSERT_FALSE(dlg.ok());
        EXPECT_NE(dlg.error().find(cases[i].wantInError), std::string::npos) << dlg.error();
        EXPECT_NE(dlg.error().find("at offset 0x"), std::string::npos) << dlg.error();
    }
}

} // namespace
} // namespace kx
