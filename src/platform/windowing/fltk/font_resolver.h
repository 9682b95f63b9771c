// Turns the window system's font handles into FLTK fonts: the face and pixel
// height that WM_SETFONT gave a control. At start it registers the bundled
// Windows faces (Tahoma from the Wine fonts) with fontconfig and maps faces
// the host does not have to a close one (the Korean Gothic faces to
// NanumGothic). A null or deleted handle draws with the system font.
//
// It does not measure or lay out text; the painters do that with FLTK.
#pragma once

#include <windows.h>

#include <FL/Enumerations.H>

#include <map>
#include <string>

namespace kx {

struct ResolvedFont {
    Fl_Font face = FL_HELVETICA;
    Fl_Fontsize size = 13;
};

class FontResolver {
public:
    // Registers the bundled font files with fontconfig (once per process).
    // Returns the files that could not be added, for a diagnostic.
    static std::string registerBundledFonts();

    ResolvedFont resolve(HFONT font);
    // The font of a control that has none (null or deleted handle).
    ResolvedFont systemFont();
    // A host family at a pixel size (captions, message boxes).
    ResolvedFont named(const std::string& family, Fl_Fontsize size, bool bold);

    // The host family that stands for a face name of the target.
    static std::string hostFamily(const std::string& faceName);

private:
    Fl_Font faceIndex(const std::string& family, bool bold, bool italic);

    std::map<std::string, Fl_Font> m_faces;
    Fl_Font m_nextFace = FL_FREE_FONT;
};

} // namespace kx
