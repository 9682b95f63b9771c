// Writing a complete Ethernet address into the registry settings of the
// driver that belongs to the detected board.
#include "device/ParseHexText.h"
#include "device/TextBuffer.h"
#include "ui/MacSetDlg.h"

namespace {

// Size, in characters with the terminator, of the buffer the text value is
// built in.
const int kTextBufferChars = 1024;

// Writes the address as six bytes into "MACADD" of an existing driver key.
// A key that did not exist is created and left empty.
void WriteBinaryAddress(LPCTSTR lpszKey, const BYTE abAddress[6]) {
    HKEY hKey;
    DWORD dwDisposition;
    if (::RegCreateKeyEx(HKEY_LOCAL_MACHINE, lpszKey, 0, NULL, 0, 0, NULL, &hKey, &dwDisposition) !=
        ERROR_SUCCESS) {
        return;
    }
    if (dwDisposition == REG_OPENED_EXISTING_KEY) {
        if (::RegSetValueEx(hKey, _T("MACADD"), 0, REG_BINARY, abAddress, 6) == ERROR_SUCCESS) {
            ::RegFlushKey(hKey);
        }
    }
    ::RegCloseKey(hKey);
}

// Writes the address texts, joined by dashes, into "NetworkAddress"; the
// stored data keeps no terminator.
void WriteTextAddress(const CString& strAddress) {
    TCHAR szBuffer[kTextBufferChars];
    int nLength = CopyTextToBuffer(szBuffer, kTextBufferChars, strAddress);
    DWORD cbData = (DWORD)(nLength * sizeof(TCHAR));

    HKEY hKey;
    if (::RegOpenKeyEx(HKEY_LOCAL_MACHINE, _T("Comm\\EMACB1\\Parms"), 0, 0, &hKey) !=
        ERROR_SUCCESS) {
        DWORD dwDisposition;
        if (::RegCreateKeyEx(HKEY_LOCAL_MACHINE, _T("Comm\\EMACB1\\Parms"), 0, NULL, 0, 0, NULL,
                             &hKey, &dwDisposition) != ERROR_SUCCESS) {
            return;
        }
    }
    if (::RegSetValueEx(hKey, _T("NetworkAddress"), 0, REG_SZ, (const BYTE*)szBuffer, cbData) ==
        ERROR_SUCCESS) {
        ::RegFlushKey(hKey);
    }
    ::RegCloseKey(hKey);
}

} // namespace

BOOL CMacSetDlg::CommitAddress(CString strAddr1, CString strAddr2, CString strAddr3,
                               CString strAddr4, CString strAddr5, CString strAddr6) {
    if (m_strHwType == _T("RDX")) {
        AfxMessageBox(_T("You cannot use this utility for RDX series"), MB_OK, 0);
        return FALSE;
    }

    BYTE abAddress[6];
    abAddress[0] = (BYTE)(ParseHexText(strAddr1) & 0xFF);
    abAddress[1] = (BYTE)(ParseHexText(strAddr2) & 0xFF);
    abAddress[2] = (BYTE)(ParseHexText(strAddr3) & 0xFF);
    abAddress[3] = (BYTE)(ParseHexText(strAddr4) & 0xFF);
    abAddress[4] = (BYTE)(ParseHexText(strAddr5) & 0xFF);
    abAddress[5] = (BYTE)(ParseHexText(strAddr6) & 0xFF);

    UpdateData(TRUE);

    if (m_strHwType == _T("2410")) {
        WriteBinaryAddress(_T("Drivers\\CS8900"), abAddress);
    } else if (m_strHwType == _T("2450")) {
        WriteBinaryAddress(_T("Comm\\SMSC91181"), abAddress);
    } else if (m_strHwType == _T("RDM")) {
        WriteTextAddress(strAddr1 + _T("-") + strAddr2 + _T("-") + strAddr3 + _T("-") + strAddr4 +
                         _T("-") + strAddr5 + _T("-") + strAddr6);
    }
    return TRUE;
}
