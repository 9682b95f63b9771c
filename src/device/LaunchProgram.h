// Starting a program of the device without waiting for it.
#pragma once

#include <afxwin.h>

// Starts the program at strPath with the parameter text. The outcome is not
// reported: the program runs on its own.
void LaunchProgram(CString strPath, CString strParameters);
