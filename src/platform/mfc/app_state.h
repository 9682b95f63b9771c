// Start-up hooks of the class library for the process entry point.
#pragma once

#include <afxwin.h>

// Gives the application object its instance and, unless it named itself,
// the executable's name without folder and extension.
void AfxWinInitApp(CWinApp* app, LPCTSTR exeName);
