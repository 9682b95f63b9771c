#include "common/utf.h"

namespace kx {

namespace {

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

void appendUtf16(std::u16string& out, char32_t cp) {
    if (cp < 0x10000) {
        out += char16_t(cp);
    } else {
        cp -= 0x10000;
        out += char16_t(0xD800 | (cp >> 10));
        out += char16_t(0xDC00 | (cp & 0x3FF));
    }
}

} // namespace

std::string toUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        appendUtf8(out, c);
    }
    return out;
}

std::u16string fromUtf8(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        unsigned char b = static_cast<unsigned char>(text[i]);
        int extra = b < 0x80 ? 0 : (b >> 5) == 6 ? 1 : (b >> 4) == 14 ? 2 : (b >> 3) == 30 ? 3 : -1;
        if (extra < 0) {
            out += char16_t(0xFFFD);
            ++i;
            continue;
        }
        char32_t cp = extra == 0   ? b
                      : extra == 1 ? (b & 0x1F)
                      : extra == 2 ? (b & 0x0F)
                                   : (b & 0x07);
        bool ok = true;
        for (int k = 1; k <= extra; ++k) {
            if (i + size_t(k) >= text.size()) {
                ok = false;
                break;
            }
            unsigned char cb = static_cast<unsigned char>(text[i + size_t(k)]);
            if ((cb & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            cp = (cp << 6) | (cb & 0x3F);
        }
        static const char32_t minimum[] = {0, 0x80, 0x800, 0x10000};
        if (!ok || cp < minimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            out += char16_t(0xFFFD);
            ++i;
            continue;
        }
        appendUtf16(out, cp);
        i += size_t(extra) + 1;
    }
    return out;
}

char16_t foldCase(char16_t c) {
    if (c >= u'A' && c <= u'Z') {
        return char16_t(c + 32);
    }
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) {
        return char16_t(c + 32);
    }
    return c;
}

bool equalsNoCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (foldCase(a[i]) != foldCase(b[i])) {
            return false;
        }
    }
    return true;
}

std::u16string foldedCopy(std::u16string_view text) {
    std::u16string out(text);
    for (auto& c : out) {
        c = foldCase(c);
    }
    return out;
}

} // namespace kx
