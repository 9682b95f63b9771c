// The last-entry file on the storage card: the six address digits shown
// when the dialog last closed, as 12 bytes of UTF-16LE.
#pragma once

#include <afxwin.h>

// The path of the file; set when the dialog starts.
extern CString g_strLastEntryPath;

// Reads the file's text: the UTF-16LE code units before the first zero one
// (an odd last byte counts as a code unit with a zero high byte). FALSE, with
// the text empty, when the file cannot be opened.
BOOL ReadLastEntry(CString strPath, CString& strText);
// Replaces the file with the text's code units, low byte first, nothing
// before or after them. FALSE when the file cannot be opened for writing.
BOOL WriteLastEntry(CString strPath, CString strText);
