// Reader of the classic dialog template (DLGTEMPLATE followed by its
// DLGITEMTEMPLATEs) into plain structures. The extended template format
// (DLGTEMPLATEEX) is recognised and refused with an error, not read.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "resources/parse_result.h"
#include "resources/sz_or_ordinal.h"

namespace kx {

struct DialogItem {
    uint32_t style = 0;
    uint32_t exStyle = 0;
    int16_t x = 0, y = 0, cx = 0, cy = 0; // dialog units
    uint16_t id = 0;                      // as stored; see controlId()
    SzOrOrdinal windowClass;              // ordinal 0x0080.. for the predefined classes
    SzOrOrdinal text;                     // the caption, or an ordinal resource id
    std::vector<uint8_t> creationData;

    // The id as the window system hands it out: 0xFFFF reads as -1.
    int controlId() const { return static_cast<int16_t>(id); }
    // "BUTTON", "EDIT", "STATIC", "LISTBOX", "SCROLLBAR" or "COMBOBOX" for the
    // predefined ordinals, the inline class name as written otherwise, and
    // "#n" for an ordinal that names no predefined class.
    std::u16string className() const;
};

struct DialogTemplate {
    uint32_t style = 0;
    uint32_t exStyle = 0;
    int16_t x = 0, y = 0, cx = 0, cy = 0; // dialog units
    SzOrOrdinal menu;                     // empty: no menu
    SzOrOrdinal windowClass;              // empty: the default dialog class
    std::u16string title;
    bool hasFont = false; // DS_SETFONT: pointSize and faceName are set
    uint16_t pointSize = 0;
    std::u16string faceName;
    std::vector<DialogItem> items; // in template order
};

ParseResult<DialogTemplate> parseDialogTemplate(std::span<const uint8_t> data);

} // namespace kx
