// CDialog: a dialog made from its template, run modally.
#include <afxwin.h>

#include "common/event_log.h"
#include "windowing/dialog_builder.h"
#include "windowing/window_manager.h"

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
ON_COMMAND(IDOK, OnOK)
ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog() : m_nIDTemplate(0), m_pParentWnd(NULL) {}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

CDialog::~CDialog() {
    if (m_hWnd) {
        DestroyWindow();
    }
}

INT_PTR CDialog::DoModal() {
    HWND parent = m_pParentWnd ? m_pParentWnd->m_hWnd : NULL;
    HWND hwnd = kx::createDialogFromResource(m_nIDTemplate, parent);
    if (!hwnd || !SubclassWindow(hwnd)) {
        if (hwnd) {
            ::DestroyWindow(hwnd);
        }
        kx::emitEvent({{"event", "exit"}, {"result", -1}});
        return -1;
    }
    SendMessage(WM_INITDIALOG, 0, 0);
    // A dialog is shown once it has been initialised, unless it already ended.
    kx::Window* w = kx::WindowManager::instance().find(hwnd);
    if (w && !w->endRequested && (w->templateStyle & WS_VISIBLE)) {
        ::ShowWindow(hwnd, SW_SHOW);
    }
    INT_PTR result = kx::WindowManager::instance().runModal(hwnd);
    if (m_hWnd) {
        DestroyWindow();
    }
    kx::emitEvent({{"event", "exit"}, {"result", result}});
    return result;
}

void CDialog::EndDialog(int nResult) {
    ::EndDialog(m_hWnd, nResult);
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM) {
    return OnInitDialog();
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) {
        return;
    }
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}
