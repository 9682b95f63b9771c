#include <afxwin.h>

// Binds the control once: later exchanges find it bound and leave it.
void AFXAPI DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
    if (rControl.m_hWnd != NULL || !pDX || !pDX->m_pDlgWnd) {
        return;
    }
    rControl.SubclassDlgItem(UINT(nIDC), pDX->m_pDlgWnd);
}
