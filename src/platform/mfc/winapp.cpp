// CWinApp: the one application object of the program.
#include <afxwin.h>

#include "mfc/app_state.h"

namespace {
CWinApp* g_app = NULL;
const HINSTANCE kProgramModule = reinterpret_cast<HINSTANCE>(uintptr_t(0x00010000));
} // namespace

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCTSTR lpszAppName)
    : m_pszAppName(NULL), m_pszExeName(NULL), m_pszRegistryKey(NULL), m_hInstance(NULL) {
    if (lpszAppName) {
        m_strAppName = lpszAppName;
        m_pszAppName = m_strAppName;
    }
    g_app = this;
}

CWinApp::~CWinApp() {
    if (g_app == this) {
        g_app = NULL;
    }
}

void CWinApp::SetRegistryKey(LPCTSTR lpszRegistryKey) {
    // Only remembered: settings of the application would live under it, and
    // nothing here reads or writes them.
    m_strRegistryKey = lpszRegistryKey ? lpszRegistryKey : u"";
    m_pszRegistryKey = m_strRegistryKey;
}

BOOL CWinApp::InitInstance() {
    return TRUE;
}

HICON CWinApp::LoadIcon(UINT nIDResource) const {
    return ::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCE(nIDResource));
}

int CWinThread::Run() {
    // The program's own message loop: there are no windows of its own left
    // to serve once the main window is gone, so it ends at once.
    return ExitInstance();
}

// Names the application after its executable when it did not name itself.
void AfxWinInitApp(CWinApp* app, LPCTSTR exeName) {
    app->m_hInstance = kProgramModule;
    app->m_strExeName = exeName ? exeName : u"";
    app->m_pszExeName = app->m_strExeName;
    if (!app->m_pszAppName) {
        app->m_strAppName = app->m_strExeName;
        app->m_pszAppName = app->m_strAppName;
    }
}

CWinApp* AFXAPI AfxGetApp() {
    return g_app;
}

LPCTSTR AFXAPI AfxGetAppName() {
    return g_app && g_app->m_pszAppName ? g_app->m_pszAppName : u"";
}

HINSTANCE AFXAPI AfxGetInstanceHandle() {
    return kProgramModule;
}

HINSTANCE AFXAPI AfxGetResourceHandle() {
    return kProgramModule;
}

CWnd* AFXAPI AfxGetMainWnd() {
    return g_app ? g_app->m_pMainWnd : NULL;
}

HMODULE GetModuleHandleW(LPCWSTR lpModuleName) {
    return lpModuleName ? NULL : kProgramModule;
}
