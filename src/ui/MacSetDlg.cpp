// CMacSetDlg: construction, control bindings, the message map, start-up and
// teardown. The digit editor, detection and Save are in their own files.
#include "ui/MacSetDlg.h"

#include "device/LastEntryFile.h"

namespace {
// The six digit buttons in address order.
const int kDigitIds[6] = {IDC_DIGIT1, IDC_DIGIT2, IDC_DIGIT3, IDC_DIGIT4, IDC_DIGIT5, IDC_DIGIT6};
} // namespace

CMacSetDlg::CMacSetDlg(CWnd* pParent) : CDialog(CMacSetDlg::IDD, pParent), m_nSelectedDigit(0) {
    m_hIcon = AfxGetApp()->LoadIcon(IDR_MAINFRAME);
}

CMacSetDlg::~CMacSetDlg() {}

void CMacSetDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SEP1, m_stcSep1);
    DDX_Control(pDX, IDC_SEP2, m_stcSep2);
    DDX_Control(pDX, IDC_DIGIT1, m_btnDigit1);
    DDX_Control(pDX, IDC_DIGIT2, m_btnDigit2);
    DDX_Control(pDX, IDC_DIGIT3, m_btnDigit3);
    DDX_Control(pDX, IDC_DIGIT4, m_btnDigit4);
    DDX_Control(pDX, IDC_DIGIT5, m_btnDigit5);
    DDX_Control(pDX, IDC_DIGIT6, m_btnDigit6);
    DDX_Control(pDX, IDC_HWTYPE_LABEL, m_stcHwType);
}

BEGIN_MESSAGE_MAP(CMacSetDlg, CDialog)
ON_BN_CLICKED(IDC_KEY_1, OnKey1)
ON_BN_CLICKED(IDC_KEY_2, OnKey2)
ON_BN_CLICKED(IDC_KEY_3, OnKey3)
ON_BN_CLICKED(IDC_KEY_4, OnKey4)
ON_BN_CLICKED(IDC_KEY_5, OnKey5)
ON_BN_CLICKED(IDC_KEY_6, OnKey6)
ON_BN_CLICKED(IDC_KEY_7, OnKey7)
ON_BN_CLICKED(IDC_KEY_8, OnKey8)
ON_BN_CLICKED(IDC_KEY_9, OnKey9)
ON_BN_CLICKED(IDC_KEY_A, OnKeyA)
ON_BN_CLICKED(IDC_KEY_B, OnKeyB)
ON_BN_CLICKED(IDC_KEY_C, OnKeyC)
ON_BN_CLICKED(IDC_KEY_D, OnKeyD)
ON_BN_CLICKED(IDC_KEY_E, OnKeyE)
ON_BN_CLICKED(IDC_KEY_F, OnKeyF)
ON_BN_CLICKED(IDC_KEY_0, OnKey0)
ON_BN_CLICKED(IDC_DIGIT1, OnSelectDigit1)
ON_BN_CLICKED(IDC_DIGIT2, OnSelectDigit2)
ON_BN_CLICKED(IDC_DIGIT3, OnSelectDigit3)
ON_BN_CLICKED(IDC_DIGIT4, OnSelectDigit4)
ON_BN_CLICKED(IDC_DIGIT5, OnSelectDigit5)
ON_BN_CLICKED(IDC_DIGIT6, OnSelectDigit6)
ON_BN_CLICKED(IDC_SAVE, OnSave)
ON_BN_CLICKED(IDC_CLOSE, OnClose)
ON_WM_DESTROY()
ON_WM_TIMER()
END_MESSAGE_MAP()

BOOL CMacSetDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    SendMessage(WM_SETICON, ICON_BIG, (LPARAM)m_hIcon);
    SendMessage(WM_SETICON, ICON_SMALL, (LPARAM)m_hIcon);

    CenterWindow(CWnd::FromHandle(::GetDesktopWindow()));

    m_strHwType.Empty();
    m_strHwType = DetectHardwareType();
    m_stcHwType.SetWindowText(_T("Auto detected H/W type : ") + m_strHwType);

    m_fontLarge.CreatePointFont(220, _T("Tahoma"));
    m_fontMedium.CreatePointFont(170, _T("Tahoma"));
    m_fontSmall.CreatePointFont(100, _T("Tahoma"));
    ApplyFonts();

    SetTimer(1, 300, NULL);

    m_nSelectedDigit = IDC_DIGIT1;

    // Put back the digits shown when the dialog last closed.
    g_strLastEntryPath = _T("Storage Card\\LastMacSetEx.txt");
    CString strLast;
    if (ReadLastEntry(g_strLastEntryPath, strLast) && strLast.GetLength() == 6) {
        for (int i = 0; i < 6; i++) {
            GetDlgItem(kDigitIds[i])->SetWindowText(CString(strLast.GetAt(i)));
        }
    }

    UpdateData(FALSE);
    SetWindowText(_T("Kestrix v1.09"));
    return TRUE;
}

void CMacSetDlg::OnClose() {
    EndDialog(IDOK);
}

void CMacSetDlg::OnDestroy() {
    CDialog::OnDestroy();

    m_fontLarge.DeleteObject();
    m_fontMedium.DeleteObject();

    // Keep the digits shown now for the next start, saved or not.
    CString strDigits;
    for (int i = 0; i < 6; i++) {
        CString strDigit;
        GetDlgItem(kDigitIds[i])->GetWindowText(strDigit);
        strDigits += strDigit;
    }
    if (strDigits.GetLength() == 6) {
        WriteLastEntry(g_strLastEntryPath, strDigits);
    }
}
