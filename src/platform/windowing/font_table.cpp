#include "windowing/font_table.h"

namespace kx {

FontTable& FontTable::instance() {
    static FontTable table;
    return table;
}

HFONT FontTable::create(const LOGFONTW& logFont) {
    HFONT font = reinterpret_cast<HFONT>(m_next);
    m_next += 4;
    FontObject object;
    object.logFont = logFont;
    object.logFont.lfFaceName[LF_FACESIZE - 1] = 0;
    m_fonts.emplace(font, object);
    return font;
}

bool FontTable::destroy(HFONT font) {
    return m_fonts.erase(font) != 0;
}

const FontObject* FontTable::find(HFONT font) const {
    auto it = m_fonts.find(font);
    return it == m_fonts.end() ? nullptr : &it->second;
}

void FontTable::notePointSize(HFONT font, int pointTenths) {
    auto it = m_fonts.find(font);
    if (it != m_fonts.end()) {
        it->second.pointTenths = pointTenths;
    }
}

} // namespace kx
