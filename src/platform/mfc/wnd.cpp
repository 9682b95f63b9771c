// CWnd: the window object, its dispatch through message maps and the
// wrappers around the window services.
#include <afxwin.h>

#include <algorithm>

#include "mfc/handle_map.h"
#include "windowing/window_manager.h"

using kx::HandleMap;

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

CWnd::CWnd() : m_hWnd(NULL), m_pfnSuper(NULL) {}

CWnd::~CWnd() {
    if (m_hWnd && HandleMap::instance().permanent(m_hWnd) == this) {
        // The object goes before its window: the window falls back to the
        // default processing of its class.
        Detach();
    }
}

CWnd* PASCAL CWnd::FromHandle(HWND hWnd) {
    if (!hWnd || !::IsWindow(hWnd)) {
        return NULL;
    }
    if (CWnd* wnd = HandleMap::instance().permanent(hWnd)) {
        return wnd;
    }
    return HandleMap::instance().temporary(hWnd);
}

CWnd* PASCAL CWnd::FromHandlePermanent(HWND hWnd) {
    return HandleMap::instance().permanent(hWnd);
}

BOOL CWnd::Attach(HWND hWndNew) {
    if (!hWndNew || m_hWnd || HandleMap::instance().permanent(hWndNew)) {
        return FALSE;
    }
    HandleMap::instance().removeTemporary(hWndNew);
    m_hWnd = hWndNew;
    HandleMap::instance().setPermanent(hWndNew, this);
    return TRUE;
}

HWND CWnd::Detach() {
    HWND hWnd = m_hWnd;
    if (hWnd) {
        HandleMap::instance().removePermanent(hWnd);
        if (m_pfnSuper) {
            if (kx::Window* w = kx::WindowManager::instance().find(hWnd)) {
                w->proc = m_pfnSuper;
            }
            m_pfnSuper = NULL;
        }
    }
    m_hWnd = NULL;
    return hWnd;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
    kx::Window* w = kx::WindowManager::instance().find(hWnd);
    if (!w || !Attach(hWnd)) {
        return FALSE;
    }
    if (w->proc != AfxWndProc) {
        m_pfnSuper = w->proc;
        w->proc = AfxWndProc;
    }
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
    HWND control = pParent ? ::GetDlgItem(pParent->m_hWnd, int(nID)) : NULL;
    return control ? SubclassWindow(control) : FALSE;
}

CWnd* CWnd::GetDlgItem(int nID) const {
    return FromHandle(::GetDlgItem(m_hWnd, nID));
}

int CWnd::GetDlgCtrlID() const {
    return ::GetDlgCtrlID(m_hWnd);
}

CWnd* CWnd::GetParent() const {
    return FromHandle(::GetParent(m_hWnd));
}

void CWnd::SetWindowText(LPCTSTR lpszString) {
    ::SetWindowTextW(m_hWnd, lpszString);
}

int CWnd::GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const {
    return ::GetWindowTextW(m_hWnd, lpszStringBuf, nMaxCount);
}

void CWnd::GetWindowText(CString& rString) const {
    int length = ::GetWindowTextLengthW(m_hWnd);
    LPTSTR buffer = rString.GetBuffer(length);
    ::GetWindowTextW(m_hWnd, buffer, length + 1);
    rString.ReleaseBuffer();
}

int CWnd::GetWindowTextLength() const {
    return ::GetWindowTextLengthW(m_hWnd);
}

void CWnd::SetFont(CFont* pFont, BOOL bRedraw) {
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(pFont ? pFont->m_hObject : NULL), bRedraw);
}

HICON CWnd::SetIcon(HICON hIcon, BOOL bBigIcon) {
    return reinterpret_cast<HICON>(
        SendMessage(WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(hIcon)));
}

void CWnd::CenterWindow(CWnd* pAlternateOwner) {
    RECT self;
    RECT area;
    HWND against = pAlternateOwner ? pAlternateOwner->m_hWnd : ::GetParent(m_hWnd);
    if (!against) {
        against = ::GetDesktopWindow();
    }
    if (!::GetWindowRect(m_hWnd, &self) || !::GetWindowRect(against, &area)) {
        return;
    }
    int width = self.right - self.left;
    int height = self.bottom - self.top;
    int x = area.left + ((area.right - area.left) - width) / 2;
    int y = area.top + ((area.bottom - area.top) - height) / 2;
    // Keep the window on the screen.
    RECT screen;
    ::GetWindowRect(::GetDesktopWindow(), &screen);
    x = std::max<int>(screen.left, std::min<int>(x, screen.right - width));
    y = std::max<int>(screen.top, std::min<int>(y, screen.bottom - height));
    ::MoveWindow(m_hWnd, x, y, width, height, FALSE);
}

BOOL CWnd::ShowWindow(int nCmdShow) {
    return ::ShowWindow(m_hWnd, nCmdShow);
}

BOOL CWnd::DestroyWindow() {
    return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE;
}

void CWnd::GetWindowRect(LPRECT lpRect) const {
    ::GetWindowRect(m_hWnd, lpRect);
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::PostMessageW(m_hWnd, message, wParam, lParam);
}

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer) {
    return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
}

BOOL CWnd::KillTimer(UINT_PTR nIDEvent) {
    return ::KillTimer(m_hWnd, nIDEvent);
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

void CWnd::DoDataExchange(CDataExchange*) {}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper) {
        return m_pfnSuper(m_hWnd, message, wParam, lParam);
    }
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    const kx::CurrentMessage* msg = kx::currentMessage();
    if (!msg || msg->hwnd != m_hWnd) {
        return 0;
    }
    return DefWindowProc(msg->message, msg->wParam, msg->lParam);
}

void CWnd::PostNcDestroy() {}

void CWnd::OnDestroy() {
    Default();
}

void CWnd::OnTimer(UINT_PTR) {
    Default();
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result)) {
        result = DefWindowProc(message, wParam, lParam);
    }
    return result;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM) {
    return OnCmdMsg(LOWORD(wParam), HIWORD(wParam));
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    LRESULT result = 0;
    BOOL handled = FALSE;
    if (message == WM_COMMAND) {
        handled = OnCommand(wParam, lParam);
    } else if (const AFX_MSGMAP_ENTRY* e = FindMessageEntry(GetMessageMap(), message, 0, 0)) {
        handled = TRUE;
        switch (e->nSig) {
        case AfxSig_vv:
            (this->*e->fn.pfn)();
            break;
        case AfxSig_vw:
            (this->*e->fn.pfn_v_u)(UINT_PTR(wParam));
            break;
        case AfxSig_lwl:
            result = (this->*e->fn.pfn_l_wl)(wParam, lParam);
            break;
        default:
            handled = FALSE;
            break;
        }
    }
    if (pResult) {
        *pResult = result;
    }
    return handled;
}

// The window procedure of every window that has a window object. An
// exception of the class library that escapes a handler is reported in a
// message box and ends that handler; the message loop goes on.
LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    CWnd* pWnd = HandleMap::instance().permanent(hWnd);
    if (!pWnd) {
        return ::DefWindowProcW(hWnd, nMsg, wParam, lParam);
    }
    kx::CurrentMessageScope scope({hWnd, nMsg, wParam, lParam});
    LRESULT result = 0;
    try {
        result = pWnd->WindowProc(nMsg, wParam, lParam);
    } catch (CException* e) {
        e->ReportError(MB_ICONSTOP);
        e->Delete();
    }
    if (nMsg == WM_NCDESTROY) {
        // The window is gone: the object lets go of it.
        pWnd->Detach();
        pWnd->PostNcDestroy();
    }
    return result;
}
