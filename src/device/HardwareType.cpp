// Hardware type detection: the board family is told by which marker file its
// system image carries. The first marker found decides; none means "2450".
#include "ui/MacSetDlg.h"

BOOL CMacSetDlg::FileExists(CString strPath) {
    WIN32_FIND_DATA* pFindData = new WIN32_FIND_DATA;
    HANDLE hFind = ::FindFirstFile(strPath, pFindData);
    delete pFindData;
    if (hFind == INVALID_HANDLE_VALUE) {
        return FALSE;
    }
    ::FindClose(hFind);
    return TRUE;
}

CString CMacSetDlg::DetectHardwareType() {
    if (FileExists(_T("windows\\windowsce.bmp"))) {
        return _T("2410");
    }
    if (FileExists(_T("\\windows\\sgx_blit_test.exe"))) {
        return _T("RDX");
    }
    if (FileExists(_T("windows\\TouchCalibrate1.exe"))) {
        return _T("RDM");
    }
    return _T("2450");
}
