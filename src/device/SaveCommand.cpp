// The Save command: the prefix and the six digits go into the driver
// settings, then the device's registry-saving program makes them permanent.
#include <shellapi.h>

#include "device/LaunchProgram.h"
#include "device/TextBuffer.h"
#include "ui/MacSetDlg.h"

namespace {
// Size, in characters with the terminator, of the path and parameter buffers.
const int kLaunchBufferChars = 260;
} // namespace

void LaunchProgram(CString strPath, CString strParameters) {
    TCHAR szPath[kLaunchBufferChars];
    TCHAR szParameters[kLaunchBufferChars];
    CopyTextToBuffer(szPath, kLaunchBufferChars, strPath);
    CopyTextToBuffer(szParameters, kLaunchBufferChars, strParameters);

    SHELLEXECUTEINFO sei = {};
    sei.cbSize = sizeof(sei);
    sei.fMask = SEE_MASK_CLASSNAME;
    sei.hwnd = NULL;
    sei.lpVerb = NULL;
    sei.lpFile = szPath;
    sei.lpParameters = szParameters;
    sei.lpDirectory = NULL;
    sei.nShow = SW_SHOW;
    ::ShellExecuteEx(&sei);
}

void CMacSetDlg::OnSave() {
    UpdateData(TRUE);

    CString c1, c2, c3, c4, c5, c6;
    GetDlgItem(IDC_DIGIT1)->GetWindowText(c1);
    GetDlgItem(IDC_DIGIT2)->GetWindowText(c2);
    GetDlgItem(IDC_DIGIT3)->GetWindowText(c3);
    GetDlgItem(IDC_DIGIT4)->GetWindowText(c4);
    GetDlgItem(IDC_DIGIT5)->GetWindowText(c5);
    GetDlgItem(IDC_DIGIT6)->GetWindowText(c6);

    CString strAddr6 = c5 + c6;
    CString strAddr5 = c3 + c4;
    CString strAddr4 = c1 + c2;

    if (CommitAddress(_T("02"), _T("7D"), _T("E3"), strAddr4, strAddr5, strAddr6)) {
        LaunchProgram(_T("Windows\\SaveRegs.exe"), _T(""));
    }
}
