#include "device/LastEntryFile.h"

#include <vector>

CString g_strLastEntryPath;

namespace {
// Whether a text is exactly six characters depends only on the first seven
// code units, so no more than 14 bytes are ever read, however large the file.
const UINT kMaxBytesRead = 14;
} // namespace

BOOL ReadLastEntry(CString strPath, CString& strText) {
    CFile file;
    if (!file.Open(strPath, CFile::modeRead | CFile::shareDenyNone)) {
        strText.Empty();
        return FALSE;
    }
    DWORD dwLength = file.GetLength();
    UINT nToRead = dwLength < kMaxBytesRead ? (UINT)dwLength : kMaxBytesRead;
    BYTE abData[kMaxBytesRead + 1] = {0};
    file.Seek(0, CFile::begin);
    UINT nRead = file.Read(abData, nToRead);

    CString strRead;
    for (UINT i = 0; i < nRead; i += 2) {
        // An odd last byte is a code unit whose high byte is zero.
        TCHAR ch = (TCHAR)(abData[i] | (abData[i + 1] << 8));
        if (ch == 0) {
            break;
        }
        strRead += ch;
    }
    strText = strRead;
    file.Close();
    return TRUE;
}

BOOL WriteLastEntry(CString strPath, CString strText) {
    // The new content goes into a file beside the old one and takes its
    // place only once it is whole, so a card that fills up keeps the
    // previous entry.
    CString strTemp = strPath + _T(".new");
    CFile file;
    if (!file.Open(strTemp, CFile::modeCreate | CFile::modeWrite)) {
        return FALSE;
    }
    std::vector<BYTE> data;
    for (int i = 0; i < strText.GetLength(); i++) {
        TCHAR ch = strText.GetAt(i);
        data.push_back((BYTE)(ch & 0xFF));
        data.push_back((BYTE)(ch >> 8));
    }
    file.Write(data.data(), (UINT)data.size());
    file.Close();

    if (!::DeleteFile(strPath) && ::GetLastError() != ERROR_FILE_NOT_FOUND) {
        // The old file cannot be replaced (another program holds it): keep it.
        ::DeleteFile(strTemp);
        return FALSE;
    }
    return ::MoveFile(strTemp, strPath);
}
