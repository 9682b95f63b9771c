// CGdiObject and CFont.
#include <afxwin.h>

#include "windowing/font_table.h"

BOOL CGdiObject::DeleteObject() {
    if (m_hObject == NULL) {
        return FALSE;
    }
    BOOL deleted = ::DeleteObject(m_hObject);
    m_hObject = NULL;
    return deleted;
}

BOOL CFont::CreateFontIndirect(const LOGFONT* lpLogFont) {
    DeleteObject();
    m_hObject = ::CreateFontIndirectW(lpLogFont);
    return m_hObject != NULL;
}

// The height is -(LOGPIXELSY x tenths of a point / 720), truncated toward
// zero, for the screen.
BOOL CFont::CreatePointFont(int nPointSize, LPCTSTR lpszFaceName, CDC*) {
    LOGFONT logFont = {};
    logFont.lfCharSet = DEFAULT_CHARSET;
    for (int i = 0; lpszFaceName && lpszFaceName[i] && i < LF_FACESIZE - 1; ++i) {
        logFont.lfFaceName[i] = lpszFaceName[i];
    }
    HDC screen = ::GetDC(NULL);
    logFont.lfHeight = -LONG(::GetDeviceCaps(screen, LOGPIXELSY) * nPointSize / 720);
    ::ReleaseDC(NULL, screen);
    if (!CreateFontIndirect(&logFont)) {
        return FALSE;
    }
    kx::FontTable::instance().notePointSize(HFONT(m_hObject), nPointSize);
    return TRUE;
}
