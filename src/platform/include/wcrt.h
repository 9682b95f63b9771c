// The C runtime's wide-text functions, on UTF-16 text.
#pragma once

// The C library's declarations come first, so that the standard library's
// own references to wcstoul and wcslen keep meaning the wchar_t versions.
#include <cwchar>
#include <string>

#include "windef.h"

// Converts the leading part of a text to an unsigned long in the given base,
// by the standard rules: leading white space is skipped, a sign and (for base
// 16 or 0) a "0x"/"0X" prefix are accepted, conversion stops at the first
// character that is not a digit of the base, and a text without digits gives 0
// with *endptr set to the text itself. Out of range gives ULONG_MAX.
unsigned long wcstoul(const WCHAR* nptr, WCHAR** endptr, int base);
size_t wcslen(const WCHAR* s);
