// CException reporting and the application's message box.
#include <afxwin.h>

BOOL CException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) {
    if (pnHelpContext) {
        *pnHelpContext = 0;
    }
    if (lpszError && nMaxError > 0) {
        lpszError[0] = 0;
    }
    return FALSE;
}

int CException::ReportError(UINT nType, UINT) {
    TCHAR text[512] = {};
    if (!GetErrorMessage(text, 512, NULL) || text[0] == 0) {
        CString fallback = u"An unexpected error occurred.";
        return AfxMessageBox(fallback, nType);
    }
    return AfxMessageBox(text, nType);
}

int AFXAPI AfxMessageBox(LPCTSTR lpszText, UINT nType, UINT) {
    if ((nType & 0xF0) == 0) {
        switch (nType & 0xF) {
        case MB_OK:
        case MB_OKCANCEL:
            nType |= MB_ICONEXCLAMATION;
            break;
        case MB_YESNO:
            nType |= MB_ICONQUESTION;
            break;
        default:
            break;
        }
    }
    CWnd* owner = AfxGetMainWnd();
    HWND hwnd = owner ? owner->GetSafeHwnd() : NULL;
    return ::MessageBoxW(hwnd, lpszText, AfxGetAppName(), nType | MB_SETFOREGROUND);
}
