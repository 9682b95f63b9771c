#include "device/TextBuffer.h"

int CopyTextToBuffer(TCHAR* pBuffer, int nBufferChars, const CString& strText) {
    if (nBufferChars <= 0) {
        return 0;
    }
    int nLength = strText.GetLength();
    if (nLength > nBufferChars - 1) {
        nLength = nBufferChars - 1;
    }
    for (int i = 0; i < nLength; i++) {
        pBuffer[i] = strText.GetAt(i);
    }
    pBuffer[nLength] = 0;
    return nLength;
}
