// CFile and CFileException: the class library's file object over the file
// services, and the exception it throws when a file fails after its open.
//
// Open reports failure only by its result (and in the caller's exception
// object when one is given); every other operation that fails throws a
// CFileException pointer, as the class library does. Showing the error is
// the message dispatch's job, not this file's.
#include <afxwin.h>

namespace {

struct CauseText {
    int cause;
    const char16_t* text;
};

const CauseText kCauseTexts[] = {
    {CFileException::none, u"no error was reported."},
    {CFileException::genericException, u"an unexpected error occurred."},
    {CFileException::fileNotFound, u"the file was not found."},
    {CFileException::badPath, u"all or part of the path is invalid."},
    {CFileException::tooManyOpenFiles, u"too many files are open."},
    {CFileException::accessDenied, u"access to the file was denied."},
    {CFileException::invalidFile, u"the file is not open."},
    {CFileException::removeCurrentDir, u"the current folder cannot be removed."},
    {CFileException::directoryFull, u"the folder is full."},
    {CFileException::badSeek, u"the position in the file could not be set."},
    {CFileException::hardIO, u"the storage reported a hardware error."},
    {CFileException::sharingViolation, u"the file is in use by another program."},
    {CFileException::lockViolation, u"part of the file is locked."},
    {CFileException::diskFull, u"the storage is full."},
    {CFileException::endOfFile, u"the end of the file was reached."},
};

const char16_t* causeText(int cause) {
    for (const CauseText& entry : kCauseTexts) {
        if (entry.cause == cause) {
            return entry.text;
        }
    }
    return kCauseTexts[1].text;
}

// Copies as much of the text as fits, always terminated.
void copyTruncated(LPTSTR out, UINT nMax, const std::u16string& text) {
    UINT n = 0;
    for (; n + 1 < nMax && n < text.size(); ++n) {
        out[n] = text[n];
    }
    out[n] = 0;
}

void throwLastError(const CString& fileName) {
    CFileException::ThrowOsError(LONG(::GetLastError()), fileName);
}

} // namespace

// ---------------------------------------------------------------- CFileException

CFileException::CFileException(int cause, LONG lOsError, LPCTSTR lpszFileName)
    : m_cause(cause), m_lOsError(lOsError), m_strFileName(lpszFileName) {}

BOOL CFileException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) {
    if (pnHelpContext) {
        *pnHelpContext = 0;
    }
    if (!lpszError || nMaxError == 0) {
        return FALSE;
    }
    std::u16string text = causeText(m_cause);
    if (m_strFileName.IsEmpty()) {
        text[0] = char16_t(text[0] - u'a' + u'A');
    } else {
        text = m_strFileName.str() + u": " + text;
    }
    copyTruncated(lpszError, nMaxError, text);
    return TRUE;
}

int PASCAL CFileException::OsErrorToException(LONG lOsError) {
    switch (lOsError) {
    case ERROR_SUCCESS:
        return none;
    case ERROR_FILE_NOT_FOUND:
        return fileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
        return badPath;
    case ERROR_TOO_MANY_OPEN_FILES:
        return tooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return accessDenied;
    case ERROR_INVALID_HANDLE:
        return invalidFile;
    case ERROR_NEGATIVE_SEEK:
        return badSeek;
    case ERROR_WRITE_FAULT:
    case ERROR_READ_FAULT:
        return hardIO;
    case ERROR_SHARING_VIOLATION:
        return sharingViolation;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return diskFull;
    default:
        return genericException;
    }
}

void PASCAL CFileException::ThrowOsError(LONG lOsError, LPCTSTR lpszFileName) {
    if (lOsError != 0) {
        AfxThrowFileException(OsErrorToException(lOsError), lOsError, lpszFileName);
    }
}

void AFXAPI AfxThrowFileException(int cause, LONG lOsError, LPCTSTR lpszFileName) {
    throw new CFileException(cause, lOsError, lpszFileName);
}

// ---------------------------------------------------------------- CFile

CFile::CFile() : m_hFile(INVALID_HANDLE_VALUE) {}

CFile::~CFile() {
    // A destructor must not throw: a file still open is closed quietly.
    if (m_hFile != INVALID_HANDLE_VALUE) {
        Abort();
    }
}

BOOL CFile::Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError) {
    auto fail = [&](LONG osError) {
        if (pError) {
            pError->m_cause = CFileException::OsErrorToException(osError);
            pError->m_lOsError = osError;
            pError->m_strFileName = CString(lpszFileName);
        }
        return FALSE;
    };
    // A file object opens one file at a time.
    if (m_hFile != INVALID_HANDLE_VALUE || !lpszFileName) {
        return fail(ERROR_INVALID_PARAMETER);
    }

    DWORD access;
    switch (nOpenFlags & 3) {
    case modeRead:
        access = GENERIC_READ;
        break;
    case modeWrite:
        access = GENERIC_WRITE;
        break;
    case modeReadWrite:
        access = GENERIC_READ | GENERIC_WRITE;
        break;
    default:
        return fail(ERROR_INVALID_PARAMETER);
    }

    DWORD share;
    switch (nOpenFlags & 0x70) {
    case shareCompat:
    case shareExclusive:
        share = 0;
        break;
    case shareDenyWrite:
        share = FILE_SHARE_READ;
        break;
    case shareDenyRead:
        share = FILE_SHARE_WRITE;
        break;
    case shareDenyNone:
        share = FILE_SHARE_READ | FILE_SHARE_WRITE;
        break;
    default:
        return fail(ERROR_INVALID_PARAMETER);
    }

    DWORD disposition = OPEN_EXISTING;
    if (nOpenFlags & modeCreate) {
        disposition = (nOpenFlags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
    }

    HANDLE h =
        ::CreateFileW(lpszFileName, access, share, NULL, disposition, FILE_ATTRIBUTE_NORMAL, NULL);
    if (h == INVALID_HANDLE_VALUE) {
        return fail(LONG(::GetLastError()));
    }
    m_hFile = h;
    m_strFileName = CString(lpszFileName);
    return TRUE;
}

DWORD CFile::GetLength() const {
    DWORD high = 0;
    DWORD low = ::GetFileSize(m_hFile, &high);
    if (low == INVALID_FILE_SIZE && ::GetLastError() != NO_ERROR) {
        throwLastError(m_strFileName);
    }
    return low;
}

LONG CFile::Seek(LONG lOff, UINT nFrom) {
    DWORD position = ::SetFilePointer(m_hFile, lOff, NULL, DWORD(nFrom));
    if (position == INVALID_SET_FILE_POINTER && ::GetLastError() != NO_ERROR) {
        throwLastError(m_strFileName);
    }
    return LONG(position);
}

UINT CFile::Read(void* lpBuf, UINT nCount) {
    if (nCount == 0) {
        return 0;
    }
    DWORD read = 0;
    if (!::ReadFile(m_hFile, lpBuf, nCount, &read, NULL)) {
        throwLastError(m_strFileName);
    }
    return UINT(read);
}

void CFile::Write(const void* lpBuf, UINT nCount) {
    if (nCount == 0) {
        return;
    }
    DWORD written = 0;
    if (!::WriteFile(m_hFile, lpBuf, nCount, &written, NULL)) {
        throwLastError(m_strFileName);
    }
    // A write that stops short means the storage is full.
    if (written != nCount) {
        AfxThrowFileException(CFileException::diskFull, -1, m_strFileName);
    }
}

void CFile::SetLength(DWORD dwNewLen) {
    Seek(LONG(dwNewLen), begin);
    if (!::SetEndOfFile(m_hFile)) {
        throwLastError(m_strFileName);
    }
}

void CFile::Flush() {
    if (m_hFile == INVALID_HANDLE_VALUE) {
        return;
    }
    if (!::FlushFileBuffers(m_hFile)) {
        throwLastError(m_strFileName);
    }
}

void CFile::Close() {
    if (m_hFile == INVALID_HANDLE_VALUE) {
        return;
    }
    BOOL closed = ::CloseHandle(m_hFile);
    m_hFile = INVALID_HANDLE_VALUE;
    CString name = m_strFileName;
    m_strFileName.Empty();
    if (!closed) {
        throwLastError(name);
    }
}

void CFile::Abort() {
    if (m_hFile != INVALID_HANDLE_VALUE) {
        ::CloseHandle(m_hFile);
        m_hFile = INVALID_HANDLE_VALUE;
    }
    m_strFileName.Empty();
}
