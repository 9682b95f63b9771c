// Graphics services: logical fonts and the screen's device capabilities.
#include <windows.h>

#include "windowing/backend/backend.h"
#include "windowing/font_table.h"

namespace {
// The one device context there is: the screen's.
HDC const kScreenDC = reinterpret_cast<HDC>(uintptr_t(0x30004));
} // namespace

HFONT CreateFontIndirectW(const LOGFONTW* lplf) {
    if (!lplf) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return kx::FontTable::instance().create(*lplf);
}

BOOL DeleteObject(HGDIOBJ ho) {
    if (!ho || !kx::FontTable::instance().destroy(static_cast<HFONT>(ho))) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}

int GetObjectW(HGDIOBJ h, int c, LPVOID pv) {
    const kx::FontObject* font = kx::FontTable::instance().find(static_cast<HFONT>(h));
    if (!font) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    if (!pv) {
        return int(sizeof(LOGFONTW));
    }
    if (c < int(sizeof(LOGFONTW))) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    *static_cast<LOGFONTW*>(pv) = font->logFont;
    return int(sizeof(LOGFONTW));
}

HDC GetDC(HWND) {
    return kScreenDC;
}

int ReleaseDC(HWND, HDC hDC) {
    return hDC == kScreenDC ? 1 : 0;
}

int GetDeviceCaps(HDC hdc, int index) {
    if (hdc != kScreenDC) {
        return 0;
    }
    kx::Backend& backend = kx::backend();
    switch (index) {
    case LOGPIXELSX:
    case LOGPIXELSY:
        return backend.logPixelsY();
    case HORZRES:
        return backend.screenSize().cx;
    case VERTRES:
        return backend.screenSize().cy;
    default:
        return 0;
    }
}
