// CString: the class library's UTF-16 string, passed by value.
#pragma once

#include <string>

#include "tchar.h"

class CString {
public:
    CString() = default;
    CString(LPCTSTR psz) : m_str(psz ? psz : u"") {}
    CString(LPCTSTR pch, int nLength) : m_str(pch, nLength > 0 ? size_t(nLength) : 0) {}
    CString(TCHAR ch, int nRepeat = 1) : m_str(nRepeat > 0 ? size_t(nRepeat) : 0, ch) {}
    explicit CString(std::u16string s) : m_str(std::move(s)) {}

    operator LPCTSTR() const { return m_str.c_str(); }
    const std::u16string& str() const { return m_str; }

    int GetLength() const { return int(m_str.size()); }
    BOOL IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    TCHAR GetAt(int nIndex) const;
    TCHAR operator[](int nIndex) const { return GetAt(nIndex); }
    void SetAt(int nIndex, TCHAR ch);

    // Out-of-range counts are clamped, as the class library does.
    CString Left(int nCount) const;
    CString Right(int nCount) const;
    CString Mid(int nFirst) const;
    CString Mid(int nFirst, int nCount) const;

    // Replaces every occurrence of lpszOld; returns how many were replaced.
    int Replace(LPCTSTR lpszOld, LPCTSTR lpszNew);
    int Find(LPCTSTR lpszSub, int nStart = 0) const;
    int Compare(LPCTSTR lpsz) const;
    int CompareNoCase(LPCTSTR lpsz) const;
    void MakeUpper();
    void MakeLower();

    CString& operator=(LPCTSTR psz);
    CString& operator=(TCHAR ch);
    CString& operator+=(const CString& s);
    CString& operator+=(LPCTSTR psz);
    CString& operator+=(TCHAR ch);

    // Direct access to a buffer of at least nMinBufLength characters plus a
    // terminator; ReleaseBuffer(-1) takes the length up to the first zero.
    LPTSTR GetBuffer(int nMinBufLength);
    void ReleaseBuffer(int nNewLength = -1);

    friend CString operator+(const CString& a, const CString& b);
    friend CString operator+(const CString& a, LPCTSTR b);
    friend CString operator+(LPCTSTR a, const CString& b);
    friend CString operator+(const CString& a, TCHAR b);
    friend bool operator==(const CString& a, const CString& b) { return a.m_str == b.m_str; }
    friend bool operator==(const CString& a, LPCTSTR b) { return a.Compare(b) == 0; }
    friend bool operator==(LPCTSTR a, const CString& b) { return b.Compare(a) == 0; }
    friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
    friend bool operator!=(const CString& a, LPCTSTR b) { return !(a == b); }

private:
    std::u16string m_str;
};
