// The GDI font objects of the process: handles to logical fonts, made by
// CreateFontIndirectW and freed by DeleteObject. A deleted handle is no
// longer found, so a window still holding it draws with the system font.
#pragma once

#include <windows.h>

#include <map>
#include <optional>

namespace kx {

struct FontObject {
    LOGFONTW logFont{};
    int pointTenths = 0; // the size the font was asked for in tenths of a point; 0 when unknown
};

class FontTable {
public:
    static FontTable& instance();

    HFONT create(const LOGFONTW& logFont);
    bool destroy(HFONT font);
    const FontObject* find(HFONT font) const;
    // Records the point size a font was created for, so that a dump can show it.
    void notePointSize(HFONT font, int pointTenths);
    size_t liveCount() const { return m_fonts.size(); }

private:
    std::map<HFONT, FontObject> m_fonts;
    uintptr_t m_next = 0x20010;
};

} // namespace kx
