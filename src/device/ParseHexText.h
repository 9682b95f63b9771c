// Conversion of a hexadecimal text to a number.
#pragma once

#include <afxwin.h>

// The value of a hexadecimal text: every "0x" is removed first; a longer text
// is read as its last four digits and the digits before them, joined in 32
// bits. Characters after the leading digits are ignored; no digits give 0.
DWORD ParseHexText(CString strText);
