#include "app/MacSetApp.h"

#include "ui/MacSetDlg.h"

BEGIN_MESSAGE_MAP(CMacSetApp, CWinApp)
END_MESSAGE_MAP()

CMacSetApp theApp;

CMacSetApp::CMacSetApp() : CWinApp(NULL) {}

CMacSetApp::~CMacSetApp() {}

BOOL CMacSetApp::InitInstance() {
    SetRegistryKey(_T("로컬 응용 프로그램 마법사에서 생성된 응용 프로그램"));

    CMacSetDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();

    // The dialog has closed: return FALSE so that the program ends instead
    // of entering the class library's own message loop.
    return FALSE;
}
