// Generic-text mappings. The program is built for Unicode only, so TCHAR is a
// UTF-16 code unit and _T("...") a UTF-16 literal.
#pragma once

#include "windef.h"

typedef WCHAR TCHAR;
typedef LPWSTR LPTSTR;
typedef LPCWSTR LPCTSTR;

#define __KX_T(x) u##x
#define _T(x) __KX_T(x)
#define TEXT(x) __KX_T(x)
