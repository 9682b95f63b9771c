// The class library: application, windows, dialogs, controls, fonts, files,
// message maps and dialog data exchange, as the program uses them.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include "afxstr.h"

#ifndef NULL
#define NULL 0
#endif
#define afx_msg
#define AFXAPI
#define AFX_CDECL

class CWnd;
class CDialog;
class CDataExchange;
class CDC;

// ---------------------------------------------------------------- objects

class CObject {
public:
    virtual ~CObject() = default;

protected:
    CObject() = default;

private:
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;
};

// Exceptions of the class library are thrown as pointers and deleted by the
// code that catches them, as on the target.
class CException : public CObject {
public:
    void Delete() { delete this; }
    // Writes a text that describes the error; FALSE when there is none.
    virtual BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = NULL);
    // Shows the text in a message box of the given type; returns the button.
    virtual int ReportError(UINT nType = MB_OK, UINT nMessageID = 0);
};

class CFileException : public CException {
public:
    enum {
        none,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile
    };
    explicit CFileException(int cause = none, LONG lOsError = -1, LPCTSTR lpszFileName = NULL);
    BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = NULL) override;

    static void PASCAL ThrowOsError(LONG lOsError, LPCTSTR lpszFileName = NULL);
    static int PASCAL OsErrorToException(LONG lOsError);

    int m_cause;
    LONG m_lOsError;
    CString m_strFileName;
};

void AFXAPI AfxThrowFileException(int cause, LONG lOsError = -1, LPCTSTR lpszFileName = NULL);

// ---------------------------------------------------------------- files

class CFile : public CObject {
public:
    enum OpenFlags {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000
    };
    enum SeekPosition { begin = 0x0, current = 0x1, end = 0x2 };

    CFile();
    ~CFile() override;

    // Opens the file; reports failure only by its result, and in pError when
    // one is given.
    virtual BOOL Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError = NULL);
    virtual DWORD GetLength() const;
    virtual LONG Seek(LONG lOff, UINT nFrom);
    void SeekToBegin() { Seek(0, begin); }
    virtual UINT Read(void* lpBuf, UINT nCount);
    virtual void Write(const void* lpBuf, UINT nCount);
    virtual void SetLength(DWORD dwNewLen);
    virtual void Flush();
    virtual void Close();
    virtual void Abort();

    HANDLE m_hFile;
    CString m_strFileName;
};

// ---------------------------------------------------------------- message maps

class CCmdTarget;
typedef void (CCmdTarget::*AFX_PMSG)(void);

enum AfxSig : UINT_PTR {
    AfxSig_end = 0,
    AfxSig_vv,  // void (void)
    AfxSig_vw,  // void (UINT_PTR)
    AfxSig_lwl, // LRESULT (WPARAM, LPARAM)
};

// The handler of an entry, of the type that nSig names.
union AFX_PMSG_ANY {
    AFX_PMSG pfn;                              // AfxSig_vv
    void (CWnd::*pfn_v_u)(UINT_PTR);           // AfxSig_vw
    LRESULT (CWnd::*pfn_l_wl)(WPARAM, LPARAM); // AfxSig_lwl
};

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;
    UINT nCode;
    UINT nID;
    UINT nLastID;
    UINT_PTR nSig;
    AFX_PMSG_ANY fn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

#define DECLARE_MESSAGE_MAP()                                                                      \
protected:                                                                                         \
    static const AFX_MSGMAP* PASCAL GetThisMessageMap();                                           \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                     \
    const AFX_MSGMAP* theClass::GetMessageMap() const {                                            \
        return GetThisMessageMap();                                                                \
    }                                                                                              \
    const AFX_MSGMAP* PASCAL theClass::GetThisMessageMap() {                                       \
        using ThisClass [[maybe_unused]] = theClass;                                               \
        typedef baseClass TheBaseClass;                                                            \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                                          \
    {                                                                                              \
        0, 0, 0, 0, AfxSig_end, {                                                                  \
            nullptr                                                                                \
        }                                                                                          \
    }                                                                                              \
    }                                                                                              \
    ;                                                                                              \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]};  \
    return &messageMap;                                                                            \
    }

#define ON_COMMAND(id, memberFxn)                                                                  \
    {WM_COMMAND, 0,         (WORD)(id),                                                            \
     (WORD)(id), AfxSig_vv, {static_cast<AFX_PMSG>(&ThisClass::memberFxn)}},
#define ON_BN_CLICKED(id, memberFxn)                                                               \
    {WM_COMMAND, BN_CLICKED, (WORD)(id),                                                           \
     (WORD)(id), AfxSig_vv,  {static_cast<AFX_PMSG>(&ThisClass::memberFxn)}},
#define ON_WM_DESTROY()                                                                            \
    {WM_DESTROY, 0, 0, 0, AfxSig_vv, {static_cast<AFX_PMSG>(&ThisClass::OnDestroy)}},
#define ON_WM_TIMER()                                                                              \
    {                                                                                              \
        WM_TIMER,  0,                                                                              \
        0,         0,                                                                              \
        AfxSig_vw, {.pfn_v_u = static_cast<void (CWnd::*)(UINT_PTR)>(&ThisClass::OnTimer)}},
#define ON_MESSAGE(message, memberFxn)                                                             \
    {message,                                                                                      \
     0,                                                                                            \
     0,                                                                                            \
     0,                                                                                            \
     AfxSig_lwl,                                                                                   \
     {.pfn_l_wl = static_cast<LRESULT (CWnd::*)(WPARAM, LPARAM)>(&ThisClass::memberFxn)}},

class CCmdTarget : public CObject {
public:
    // Finds the handler of a command (WM_COMMAND id and notification code) in
    // the message maps, from this class up, and calls it.
    virtual BOOL OnCmdMsg(UINT nID, int nCode);

protected:
    static const AFX_MSGMAP* PASCAL GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
    static const AFX_MSGMAP_ENTRY* FindMessageEntry(const AFX_MSGMAP* pMap, UINT nMsg, UINT nCode,
                                                    UINT nID);
};

// ---------------------------------------------------------------- GDI objects

class CGdiObject : public CObject {
public:
    CGdiObject() : m_hObject(NULL) {}
    ~CGdiObject() override { DeleteObject(); }
    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    BOOL DeleteObject();

    HGDIOBJ m_hObject;
};

class CFont : public CGdiObject {
public:
    operator HFONT() const { return (HFONT)m_hObject; }
    // Creates a font of nPointSize tenths of a point for the screen.
    BOOL CreatePointFont(int nPointSize, LPCTSTR lpszFaceName, CDC* pDC = NULL);
    BOOL CreateFontIndirect(const LOGFONT* lpLogFont);
};

// ---------------------------------------------------------------- windows

class CWnd : public CCmdTarget {
public:
    CWnd();
    ~CWnd() override;

    HWND m_hWnd;
    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }

    // The object attached to a window, or a temporary one that lives until
    // the window is destroyed.
    static CWnd* PASCAL FromHandle(HWND hWnd);
    static CWnd* PASCAL FromHandlePermanent(HWND hWnd);
    BOOL Attach(HWND hWndNew);
    HWND Detach();
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);

    CWnd* GetDlgItem(int nID) const;
    int GetDlgCtrlID() const;
    CWnd* GetParent() const;
    void SetWindowText(LPCTSTR lpszString);
    int GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const;
    void GetWindowText(CString& rString) const;
    int GetWindowTextLength() const;
    void SetFont(CFont* pFont, BOOL bRedraw = TRUE);
    HICON SetIcon(HICON hIcon, BOOL bBigIcon);
    void CenterWindow(CWnd* pAlternateOwner = NULL);
    BOOL ShowWindow(int nCmdShow);
    BOOL DestroyWindow();
    void GetWindowRect(LPRECT lpRect) const;

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer);
    BOOL KillTimer(UINT_PTR nIDEvent);

    // Moves data between the controls and the members (FALSE: to the
    // controls, TRUE: from them) through DoDataExchange.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual void PostNcDestroy();

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    // Default processing of the message being handled.
    LRESULT Default();

    afx_msg void OnDestroy();
    afx_msg void OnTimer(UINT_PTR nIDEvent);

    WNDPROC m_pfnSuper;

    DECLARE_MESSAGE_MAP()

    friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM);
};

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

class CButton : public CWnd {};
class CStatic : public CWnd {};

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}
    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
};

// Binds a control of the dialog to a window object, once.
void AFXAPI DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

class CDialog : public CWnd {
public:
    CDialog();
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = NULL);
    ~CDialog() override;

    // Creates the dialog from its template, runs it until EndDialog, destroys
    // the window and returns the result; -1 when the window cannot be made.
    virtual INT_PTR DoModal();
    void EndDialog(int nResult);
    virtual BOOL OnInitDialog();

protected:
    virtual void OnOK();
    virtual void OnCancel();
    afx_msg LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

    DECLARE_MESSAGE_MAP()
};

// ---------------------------------------------------------------- application

class CWinThread : public CCmdTarget {
public:
    CWinThread() : m_pMainWnd(NULL) {}
    virtual BOOL InitInstance() { return FALSE; }
    virtual int Run();
    virtual int ExitInstance() { return 0; }

    CWnd* m_pMainWnd;
};

class CWinApp : public CWinThread {
public:
    explicit CWinApp(LPCTSTR lpszAppName = NULL);
    ~CWinApp() override;

    // Where settings of the application would be kept in the registry.
    void SetRegistryKey(LPCTSTR lpszRegistryKey);

    BOOL InitInstance() override;
    // An icon of the program's own resources.
    HICON LoadIcon(UINT nIDResource) const;

    LPCTSTR m_pszAppName;
    LPCTSTR m_pszExeName;
    LPCTSTR m_pszRegistryKey;
    HINSTANCE m_hInstance;

protected:
    DECLARE_MESSAGE_MAP()

private:
    CString m_strAppName;
    CString m_strExeName;
    CString m_strRegistryKey;
    friend void AfxWinInitApp(CWinApp*, LPCTSTR);
};

CWinApp* AFXAPI AfxGetApp();
LPCTSTR AFXAPI AfxGetAppName();
HINSTANCE AFXAPI AfxGetInstanceHandle();
HINSTANCE AFXAPI AfxGetResourceHandle();
CWnd* AFXAPI AfxGetMainWnd();

// Shows a message box owned by the main window, with the application's name
// as caption; without an icon in nType, the exclamation icon.
int AFXAPI AfxMessageBox(LPCTSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
