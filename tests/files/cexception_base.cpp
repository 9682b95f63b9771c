// The two CException members that the window system's class library
// provides, for tests that link the file object alone. Only the file
// exception's own text is tested here, never the base's.
#include <afxwin.h>

BOOL CException::GetErrorMessage(LPTSTR, UINT, UINT*) {
    return FALSE;
}
int CException::ReportError(UINT, UINT) {
    return 0;
}
