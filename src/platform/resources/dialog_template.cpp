#include "resources/dialog_template.h"

#include <string>

#include "resources/byte_reader.h"

namespace kx {

namespace {

constexpr uint32_t kDsSetFont = 0x40; // DS_SETFONT
// The first DWORD of an extended template: dlgVer 1, signature 0xFFFF.
constexpr uint32_t kExtendedTemplateMark = 0xFFFF0001;

std::u16string predefinedClassName(uint16_t ordinal) {
    switch (ordinal) {
    case 0x0080:
        return u"BUTTON";
    case 0x0081:
        return u"EDIT";
    case 0x0082:
        return u"STATIC";
    case 0x0083:
        return u"LISTBOX";
    case 0x0084:
        return u"SCROLLBAR";
    case 0x0085:
        return u"COMBOBOX";
    default:
        return {};
    }
}

void readItem(ByteReader& r, DialogItem& item, size_t index) {
    const std::string label = "item " + std::to_string(index + 1);
    r.align4("padding before " + label);
    r.u32(item.style, label + " style");
    r.u32(item.exStyle, label + " extended style");
    r.i16(item.x, label + " x");
    r.i16(item.y, label + " y");
    r.i16(item.cx, label + " width");
    r.i16(item.cy, label + " height");
    r.u16(item.id, label + " id");
    r.szOrOrdinal(item.windowClass, label + " class");
    r.szOrOrdinal(item.text, label + " text");
    uint16_t extra = 0;
    r.u16(extra, label + " creation data size");
    std::span<const uint8_t> data;
    if (extra > 0 && r.bytes(extra, data, label + " creation data")) {
        item.creationData.assign(data.begin(), data.end());
    }
}

} // namespace

std::u16string DialogItem::className() const {
    if (!windowClass.ordinal) {
        return windowClass.text;
    }
    std::u16string name = predefinedClassName(*windowClass.ordinal);
    if (name.empty()) {
        name.push_back(u'#');
        for (char c : std::to_string(*windowClass.ordinal)) {
            name.push_back(static_cast<char16_t>(c));
        }
    }
    return name;
}

ParseResult<DialogTemplate> parseDialogTemplate(std::span<const uint8_t> data) {
    ByteReader r(data, "dialog template");
    DialogTemplate t;
    uint16_t count = 0;
    r.u32(t.style, "style");
    if (!r.failed() && t.style == kExtendedTemplateMark) {
        r.failAt(0, "extended dialog templates (DLGTEMPLATEEX) are not supported");
    }
    r.u32(t.exStyle, "extended style");
    r.u16(count, "item count");
    r.i16(t.x, "x");
    r.i16(t.y, "y");
    r.i16(t.cx, "width");
    r.i16(t.cy, "height");
    r.szOrOrdinal(t.menu, "menu");
    r.szOrOrdinal(t.windowClass, "class");
    r.sz(t.title, "title");
    if (t.style & kDsSetFont) {
        t.hasFont = true;
        r.u16(t.pointSize, "font point size");
        r.sz(t.faceName, "font face name");
    }
    for (size_t i = 0; i < count && !r.failed(); ++i) {
        DialogItem item;
        readItem(r, item, i);
        if (!r.failed()) {
            t.items.push_back(std::move(item));
        }
    }
    if (r.failed()) {
        return ParseResult<DialogTemplate>::failure(r.error());
    }
    return ParseResult<DialogTemplate>::success(std::move(t));
}

} // namespace kx
