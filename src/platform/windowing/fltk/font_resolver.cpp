#include "windowing/fltk/font_resolver.h"

#include <FL/Fl.H>
#include <fontconfig/fontconfig.h>

#include <array>
#include <cstdlib>
#include <filesystem>

#include "common/utf.h"
#include "windowing/font_table.h"

namespace kx {

namespace {

// Where Debian's fonts-wine keeps the faces of the target's user interface.
constexpr std::array kBundledFontFiles = {
    "/usr/share/wine/fonts/tahoma.ttf",
    "/usr/share/wine/fonts/tahomabd.ttf",
};

// Korean faces of the target and the host family drawn in their place.
struct FaceAlias {
    const char* face;
    const char* family;
};
constexpr std::array kFaceAliases = {
    FaceAlias{"돋움", "NanumGothic"},      FaceAlias{"돋움체", "NanumGothicCoding"},
    FaceAlias{"굴림", "NanumGothic"},      FaceAlias{"굴림체", "NanumGothicCoding"},
    FaceAlias{"Dotum", "NanumGothic"},     FaceAlias{"DotumChe", "NanumGothicCoding"},
    FaceAlias{"Gulim", "NanumGothic"},     FaceAlias{"GulimChe", "NanumGothicCoding"},
    FaceAlias{"맑은 고딕", "NanumGothic"}, FaceAlias{"Malgun Gothic", "NanumGothic"},
};

constexpr const char* kSystemFamily = "Tahoma";
constexpr Fl_Fontsize kSystemFontPixels = 13;

// Cell heights (positive lfHeight) hold the character height plus the
// internal leading, about a sixth more.
Fl_Fontsize pixelSize(LONG lfHeight) {
    if (lfHeight < 0) {
        return Fl_Fontsize(-lfHeight);
    }
    if (lfHeight == 0) {
        return kSystemFontPixels;
    }
    return Fl_Fontsize(std::max<LONG>(1, (lfHeight * 6 + 3) / 7));
}

} // namespace

std::string FontResolver::registerBundledFonts() {
    static std::string missing = [] {
        std::string out;
        FcInit();
        for (const char* file : kBundledFontFiles) {
            std::error_code ec;
            if (!std::filesystem::exists(file, ec) ||
                !FcConfigAppFontAddFile(nullptr, reinterpret_cast<const FcChar8*>(file))) {
                out += out.empty() ? file : std::string(", ") + file;
            }
        }
        return out;
    }();
    return missing;
}

std::string FontResolver::hostFamily(const std::string& faceName) {
    for (const FaceAlias& alias : kFaceAliases) {
        if (faceName == alias.face) {
            return alias.family;
        }
    }
    return faceName.empty() ? kSystemFamily : faceName;
}

Fl_Font FontResolver::faceIndex(const std::string& family, bool bold, bool italic) {
    // FLTK's Xft font names start with a style letter: ' ' plain, 'B' bold,
    // 'I' italic, 'P' bold italic.
    char style = bold ? (italic ? 'P' : 'B') : (italic ? 'I' : ' ');
    std::string name = style + family;
    auto it = m_faces.find(name);
    if (it != m_faces.end()) {
        return it->second;
    }
    Fl_Font index = m_nextFace++;
    // FLTK keeps the pointer: the map's key lives as long as this resolver,
    // so the name is copied to storage that outlives every draw.
    auto inserted = m_faces.emplace(name, index).first;
    Fl::set_font(index, inserted->first.c_str());
    return index;
}

ResolvedFont FontResolver::resolve(HFONT font) {
    const FontObject* object = FontTable::instance().find(font);
    if (!object) {
        return systemFont();
    }
    const LOGFONTW& lf = object->logFont;
    // The face name need not be terminated when it fills the whole field.
    size_t length = 0;
    while (length < LF_FACESIZE && lf.lfFaceName[length] != 0) {
        ++length;
    }
    std::string face = toUtf8(std::u16string_view(lf.lfFaceName, length));
    bool bold = lf.lfWeight >= FW_BOLD;
    bool italic = lf.lfItalic != 0;
    return ResolvedFont{faceIndex(hostFamily(face), bold, italic), pixelSize(lf.lfHeight)};
}

ResolvedFont FontResolver::named(const std::string& family, Fl_Fontsize size, bool bold) {
    return ResolvedFont{faceIndex(family, bold, false), size};
}

ResolvedFont FontResolver::systemFont() {
    return ResolvedFont{faceIndex(kSystemFamily, true, false), kSystemFontPixels};
}

} // namespace kx
