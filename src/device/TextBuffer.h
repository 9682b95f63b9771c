// Copying a text into a fixed buffer of UTF-16 characters.
#pragma once

#include <afxwin.h>

// Copies as much of the text as fits in nBufferChars characters with the
// terminator, and terminates; a longer text is cut, never written past the
// buffer. Returns the number of characters copied.
int CopyTextToBuffer(TCHAR* pBuffer, int nBufferChars, const CString& strText);
