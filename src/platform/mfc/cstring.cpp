#include <afxstr.h>

#include <algorithm>

#include "common/utf.h"

TCHAR CString::GetAt(int nIndex) const {
    if (nIndex < 0 || nIndex >= GetLength()) {
        return 0;
    }
    return m_str[size_t(nIndex)];
}

void CString::SetAt(int nIndex, TCHAR ch) {
    if (nIndex >= 0 && nIndex < GetLength()) {
        m_str[size_t(nIndex)] = ch;
    }
}

CString CString::Left(int nCount) const {
    nCount = std::clamp(nCount, 0, GetLength());
    return CString(m_str.substr(0, size_t(nCount)));
}

CString CString::Right(int nCount) const {
    nCount = std::clamp(nCount, 0, GetLength());
    return CString(m_str.substr(m_str.size() - size_t(nCount)));
}

CString CString::Mid(int nFirst) const {
    return Mid(nFirst, GetLength());
}

CString CString::Mid(int nFirst, int nCount) const {
    nFirst = std::clamp(nFirst, 0, GetLength());
    nCount = std::clamp(nCount, 0, GetLength() - nFirst);
    return CString(m_str.substr(size_t(nFirst), size_t(nCount)));
}

int CString::Replace(LPCTSTR lpszOld, LPCTSTR lpszNew) {
    std::u16string_view oldText = lpszOld ? lpszOld : u"";
    std::u16string_view newText = lpszNew ? lpszNew : u"";
    if (oldText.empty()) {
        return 0;
    }
    int count = 0;
    std::u16string result;
    size_t pos = 0;
    while (true) {
        size_t hit = m_str.find(oldText, pos);
        if (hit == std::u16string::npos) {
            break;
        }
        result.append(m_str, pos, hit - pos);
        result.append(newText);
        pos = hit + oldText.size();
        ++count;
    }
    if (count > 0) {
        result.append(m_str, pos);
        m_str = std::move(result);
    }
    return count;
}

int CString::Find(LPCTSTR lpszSub, int nStart) const {
    if (!lpszSub || nStart < 0 || nStart > GetLength()) {
        return -1;
    }
    size_t hit = m_str.find(lpszSub, size_t(nStart));
    return hit == std::u16string::npos ? -1 : int(hit);
}

int CString::Compare(LPCTSTR lpsz) const {
    int c = m_str.compare(lpsz ? lpsz : u"");
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

int CString::CompareNoCase(LPCTSTR lpsz) const {
    std::u16string a = kx::foldedCopy(m_str);
    std::u16string b = kx::foldedCopy(lpsz ? lpsz : u"");
    int c = a.compare(b);
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

void CString::MakeUpper() {
    for (auto& c : m_str) {
        if (c >= u'a' && c <= u'z') {
            c = char16_t(c - 32);
        }
    }
}

void CString::MakeLower() {
    for (auto& c : m_str) {
        if (c >= u'A' && c <= u'Z') {
            c = char16_t(c + 32);
        }
    }
}

CString& CString::operator=(LPCTSTR psz) {
    m_str = psz ? psz : u"";
    return *this;
}

CString& CString::operator=(TCHAR ch) {
    m_str.assign(1, ch);
    return *this;
}

CString& CString::operator+=(const CString& s) {
    m_str += s.m_str;
    return *this;
}

CString& CString::operator+=(LPCTSTR psz) {
    if (psz) {
        m_str += psz;
    }
    return *this;
}

CString& CString::operator+=(TCHAR ch) {
    m_str += ch;
    return *this;
}

LPTSTR CString::GetBuffer(int nMinBufLength) {
    if (nMinBufLength > GetLength()) {
        m_str.resize(size_t(nMinBufLength));
    }
    return m_str.data();
}

void CString::ReleaseBuffer(int nNewLength) {
    if (nNewLength < 0) {
        size_t end = m_str.find(u'\0');
        if (end != std::u16string::npos) {
            m_str.resize(end);
        }
    } else if (nNewLength <= GetLength()) {
        m_str.resize(size_t(nNewLength));
    }
}

CString operator+(const CString& a, const CString& b) {
    return CString(a.m_str + b.m_str);
}

CString operator+(const CString& a, LPCTSTR b) {
    CString r(a);
    r += b;
    return r;
}

CString operator+(LPCTSTR a, const CString& b) {
    CString r(a);
    r += b;
    return r;
}

CString operator+(const CString& a, TCHAR b) {
    CString r(a);
    r += b;
    return r;
}
