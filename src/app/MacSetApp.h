// CMacSetApp: the application object. It runs the main dialog once,
// modally, and ends the program when the dialog closes.
#pragma once

#include <afxwin.h>

class CMacSetApp : public CWinApp {
public:
    CMacSetApp();
    ~CMacSetApp() override;

protected:
    DECLARE_MESSAGE_MAP()

public:
    BOOL InitInstance() override;
};

extern CMacSetApp theApp;
