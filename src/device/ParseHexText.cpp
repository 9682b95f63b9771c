#include "device/ParseHexText.h"

DWORD ParseHexText(CString strText) {
    strText.Replace(_T("0x"), _T(""));
    if (strText.GetLength() <= 4) {
        return (DWORD)wcstoul(strText, NULL, 16);
    }
    CString strLow = strText.Right(4);
    CString strHigh = strText.Left(strText.GetLength() - 4);
    DWORD dwLow = (DWORD)wcstoul(strLow, NULL, 16);
    DWORD dwHigh = (DWORD)wcstoul(strHigh, NULL, 16);
    return dwLow | (dwHigh << 16);
}
