// The window procedures of the built-in classes: the default processing that
// every window gets, push buttons, static controls and dialogs.
#include <algorithm>

#include "windowing/backend/backend.h"
#include "windowing/window_manager.h"

namespace kx {

LRESULT CALLBACK defaultWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Window* w = WindowManager::instance().find(hwnd);
    if (!w) {
        return 0;
    }
    switch (msg) {
    case WM_SETTEXT: {
        auto text = reinterpret_cast<LPCWSTR>(lParam);
        w->text = text ? std::u16string(text) : std::u16string();
        backend().windowChanged(hwnd);
        return TRUE;
    }
    case WM_GETTEXT: {
        auto buffer = reinterpret_cast<LPWSTR>(lParam);
        if (!buffer || wParam == 0) {
            return 0;
        }
        size_t n = std::min<size_t>(w->text.size(), size_t(wParam) - 1);
        std::copy_n(w->text.data(), n, buffer);
        buffer[n] = 0;
        return LRESULT(n);
    }
    case WM_GETTEXTLENGTH:
        return LRESULT(w->text.size());
    case WM_SETFONT:
        w->font = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam)) {
            backend().windowChanged(hwnd);
        }
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(w->font);
    case WM_SETICON: {
        HICON icon = reinterpret_cast<HICON>(lParam);
        HICON& slot = wParam == ICON_BIG ? w->bigIcon : w->smallIcon;
        HICON previous = slot;
        slot = icon;
        backend().windowChanged(hwnd);
        return reinterpret_cast<LRESULT>(previous);
    }
    case WM_CLOSE:
        WindowManager::instance().destroy(hwnd);
        return 0;
    default:
        return 0;
    }
}

// A tap on a push button, delivered as BM_CLICK, tells the parent with
// WM_COMMAND and BN_CLICKED. Hidden or disabled buttons take no taps.
LRESULT CALLBACK buttonWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == BM_CLICK) {
        Window* w = WindowManager::instance().find(hwnd);
        if (!w || !w->visible() || (w->style & WS_DISABLED) || !w->parent) {
            return 0;
        }
        HWND parent = w->parent;
        WPARAM command = MAKEWPARAM(w->id, BN_CLICKED);
        WindowManager::instance().send(parent, WM_COMMAND, command, reinterpret_cast<LPARAM>(hwnd));
        return 0;
    }
    return defaultWindowProc(hwnd, msg, wParam, lParam);
}

// The dialog class: closing the window cancels the dialog.
LRESULT CALLBACK dialogWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_CLOSE) {
        WindowManager::instance().post(hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return 0;
    }
    return defaultWindowProc(hwnd, msg, wParam, lParam);
}

WNDPROC windowProcForClass(const std::u16string& className) {
    if (className == u"BUTTON") {
        return buttonWindowProc;
    }
    if (className == kDialogClass) {
        return dialogWindowProc;
    }
    return defaultWindowProc;
}

} // namespace kx
