// Graphics services: fonts and device capabilities.
#pragma once

#include "windef.h"

#define LF_FACESIZE 32

#define FW_DONTCARE 0
#define FW_NORMAL 400
#define FW_BOLD 700
#define ANSI_CHARSET 0
#define DEFAULT_CHARSET 1
#define HANGUL_CHARSET 129

#define LOGPIXELSX 88
#define LOGPIXELSY 90
#define HORZRES 8
#define VERTRES 10

struct LOGFONTW {
    LONG lfHeight;
    LONG lfWidth;
    LONG lfEscapement;
    LONG lfOrientation;
    LONG lfWeight;
    BYTE lfItalic;
    BYTE lfUnderline;
    BYTE lfStrikeOut;
    BYTE lfCharSet;
    BYTE lfOutPrecision;
    BYTE lfClipPrecision;
    BYTE lfQuality;
    BYTE lfPitchAndFamily;
    WCHAR lfFaceName[LF_FACESIZE];
};
typedef LOGFONTW* LPLOGFONTW;
typedef LOGFONTW LOGFONT;

HFONT CreateFontIndirectW(const LOGFONTW* lplf);
#define CreateFontIndirect CreateFontIndirectW
BOOL DeleteObject(HGDIOBJ ho);
int GetObjectW(HGDIOBJ h, int c, LPVOID pv);
HDC GetDC(HWND hWnd);
int ReleaseDC(HWND hWnd, HDC hDC);
int GetDeviceCaps(HDC hdc, int index);
