// Shell services: starting a program.
#pragma once

#include "windef.h"
#include "winreg.h"

#define SEE_MASK_CLASSNAME 0x00000001
#define SEE_MASK_NOCLOSEPROCESS 0x00000040
#define SEE_MASK_FLAG_NO_UI 0x00000400

struct SHELLEXECUTEINFO {
    DWORD cbSize;
    ULONG fMask;
    HWND hwnd;
    LPCWSTR lpVerb;
    LPCWSTR lpFile;
    LPCWSTR lpParameters;
    LPCWSTR lpDirectory;
    int nShow;
    HINSTANCE hInstApp;
    LPVOID lpIDList;
    LPCWSTR lpClass;
    HKEY hkeyClass;
    DWORD dwHotKey;
    HANDLE hIcon;
    HANDLE hProcess;
};
typedef SHELLEXECUTEINFO* LPSHELLEXECUTEINFO;

// The record's size on the target (32-bit pointers); hosts with wider
// pointers accept it as well.
#define SHELLEXECUTEINFO_TARGET_SIZE 60

BOOL ShellExecuteEx(LPSHELLEXECUTEINFO lpExecInfo);
