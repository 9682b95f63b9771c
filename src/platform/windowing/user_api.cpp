// Window services of the system interface, on the emulated window system.
#include <windows.h>

#include <algorithm>

#include "windowing/backend/backend.h"
#include "windowing/clock.h"
#include "windowing/dialog_builder.h"
#include "windowing/window_manager.h"

using kx::Window;
using kx::WindowManager;

namespace {
WindowManager& wm() {
    return WindowManager::instance();
}

Window* findOrFail(HWND hWnd) {
    Window* w = wm().find(hWnd);
    if (!w) {
        SetLastError(ERROR_INVALID_HANDLE);
    }
    return w;
}
} // namespace

LRESULT SendMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    return wm().send(hWnd, Msg, wParam, lParam);
}

BOOL PostMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    return wm().post(hWnd, Msg, wParam, lParam);
}

LRESULT DefWindowProcW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    return kx::defaultWindowProc(hWnd, Msg, wParam, lParam);
}

UINT_PTR SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc) {
    return wm().setTimer(hWnd, nIDEvent, uElapse, lpTimerFunc);
}

BOOL KillTimer(HWND hWnd, UINT_PTR uIDEvent) {
    return wm().killTimer(hWnd, uIDEvent);
}

HWND GetDesktopWindow() {
    return wm().desktop();
}

HWND GetDlgItem(HWND hDlg, int nIDDlgItem) {
    Window* dialog = findOrFail(hDlg);
    if (!dialog) {
        return nullptr;
    }
    for (HWND child : dialog->children) {
        Window* w = wm().find(child);
        if (w && w->id == nIDDlgItem) {
            return child;
        }
    }
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
}

int GetDlgCtrlID(HWND hWnd) {
    Window* w = findOrFail(hWnd);
    return w ? w->id : 0;
}

HWND GetParent(HWND hWnd) {
    Window* w = findOrFail(hWnd);
    return w ? w->parent : nullptr;
}

// The desktop is a window too: the screen that top-level windows are
// centred on.
BOOL IsWindow(HWND hWnd) {
    return hWnd == wm().desktop() || wm().find(hWnd) != nullptr;
}

BOOL IsWindowVisible(HWND hWnd) {
    Window* w = wm().find(hWnd);
    while (w) {
        if (!w->visible()) {
            return FALSE;
        }
        if (!w->parent) {
            return TRUE;
        }
        w = wm().find(w->parent);
    }
    return FALSE;
}

BOOL ShowWindow(HWND hWnd, int nCmdShow) {
    Window* w = findOrFail(hWnd);
    if (!w) {
        return FALSE;
    }
    BOOL wasVisible = w->visible();
    if (nCmdShow == SW_HIDE) {
        w->style &= ~DWORD(WS_VISIBLE);
    } else {
        w->style |= WS_VISIBLE;
    }
    kx::backend().windowChanged(hWnd);
    return wasVisible;
}

BOOL DestroyWindow(HWND hWnd) {
    return wm().destroy(hWnd);
}

BOOL SetWindowTextW(HWND hWnd, LPCWSTR lpString) {
    if (!findOrFail(hWnd)) {
        return FALSE;
    }
    return BOOL(wm().send(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString)));
}

int GetWindowTextW(HWND hWnd, LPWSTR lpString, int nMaxCount) {
    if (!findOrFail(hWnd) || !lpString || nMaxCount <= 0) {
        return 0;
    }
    return int(wm().send(hWnd, WM_GETTEXT, WPARAM(nMaxCount), reinterpret_cast<LPARAM>(lpString)));
}

int GetWindowTextLengthW(HWND hWnd) {
    if (!findOrFail(hWnd)) {
        return 0;
    }
    return int(wm().send(hWnd, WM_GETTEXTLENGTH, 0, 0));
}

BOOL GetWindowRect(HWND hWnd, LPRECT lpRect) {
    if (!lpRect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (hWnd == wm().desktop()) {
        SIZE screen = kx::backend().screenSize();
        *lpRect = RECT{0, 0, screen.cx, screen.cy};
        return TRUE;
    }
    Window* w = findOrFail(hWnd);
    if (!w) {
        return FALSE;
    }
    RECT r = w->pixelRect;
    // Children are kept relative to their parent's client area, which starts
    // past the parent's frame and caption; report screen coordinates.
    for (Window* p = w->parent ? wm().find(w->parent) : nullptr; p;
         p = p->parent ? wm().find(p->parent) : nullptr) {
        POINT client = kx::clientOffset(p->style);
        r.left += p->pixelRect.left + client.x;
        r.right += p->pixelRect.left + client.x;
        r.top += p->pixelRect.top + client.y;
        r.bottom += p->pixelRect.top + client.y;
    }
    *lpRect = r;
    return TRUE;
}

BOOL GetClientRect(HWND hWnd, LPRECT lpRect) {
    RECT r;
    if (!lpRect || !GetWindowRect(hWnd, &r)) {
        return FALSE;
    }
    *lpRect = RECT{0, 0, r.right - r.left, r.bottom - r.top};
    return TRUE;
}

BOOL MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight, BOOL bRepaint) {
    Window* w = findOrFail(hWnd);
    if (!w) {
        return FALSE;
    }
    w->pixelRect = RECT{X, Y, X + nWidth, Y + nHeight};
    if (bRepaint) {
        kx::backend().windowChanged(hWnd);
    }
    return TRUE;
}

BOOL MapDialogRect(HWND hDlg, LPRECT lpRect) {
    Window* w = findOrFail(hDlg);
    if (!w || !w->isDialog || !lpRect) {
        return FALSE;
    }
    lpRect->left = lpRect->left * w->baseUnitX / 4;
    lpRect->right = lpRect->right * w->baseUnitX / 4;
    lpRect->top = lpRect->top * w->baseUnitY / 8;
    lpRect->bottom = lpRect->bottom * w->baseUnitY / 8;
    return TRUE;
}

BOOL EndDialog(HWND hDlg, INT_PTR nResult) {
    return wm().endDialog(hDlg, nResult);
}

int MessageBoxW(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType) {
    std::u16string text = lpText ? lpText : u"";
    std::u16string caption = lpCaption ? lpCaption : u"Error";
    return kx::backend().messageBox(hWnd, text, caption, uType);
}

int GetSystemMetrics(int nIndex) {
    SIZE screen = kx::backend().screenSize();
    switch (nIndex) {
    case SM_CXSCREEN:
        return screen.cx;
    case SM_CYSCREEN:
        return screen.cy;
    default:
        return 0;
    }
}

DWORD GetTickCount() {
    return DWORD(kx::backend().clock().now());
}
