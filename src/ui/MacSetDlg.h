// CMacSetDlg: the main dialog. It owns all run-time state of the program:
// the three fonts, the detected hardware type, the selected digit and the
// bound controls. The six address digits are not kept here: they live as the
// captions of the six digit buttons.
#pragma once

#include <afxwin.h>

#include "resource.h"

class CMacSetDlg : public CDialog {
public:
    explicit CMacSetDlg(CWnd* pParent = NULL);
    ~CMacSetDlg() override;

    enum { IDD = IDD_MAIN_DIALOG };

protected:
    DECLARE_MESSAGE_MAP()

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    // Start-up and teardown.
    afx_msg void OnClose();
    afx_msg void OnDestroy();

    // Hardware type detection.
    BOOL FileExists(CString strPath);
    CString DetectHardwareType();

    // The digit editor.
    afx_msg void OnKey1();
    afx_msg void OnKey2();
    afx_msg void OnKey3();
    afx_msg void OnKey4();
    afx_msg void OnKey5();
    afx_msg void OnKey6();
    afx_msg void OnKey7();
    afx_msg void OnKey8();
    afx_msg void OnKey9();
    afx_msg void OnKeyA();
    afx_msg void OnKeyB();
    afx_msg void OnKeyC();
    afx_msg void OnKeyD();
    afx_msg void OnKeyE();
    afx_msg void OnKeyF();
    afx_msg void OnKey0();
    afx_msg void OnSelectDigit1();
    afx_msg void OnSelectDigit2();
    afx_msg void OnSelectDigit3();
    afx_msg void OnSelectDigit4();
    afx_msg void OnSelectDigit5();
    afx_msg void OnSelectDigit6();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    void OnKey(LPCTSTR lpszKey);
    void OnSelectDigit(UINT nID);
    void AdvanceSelection();
    void ApplyFonts();

    // Save.
    afx_msg void OnSave();
    BOOL CommitAddress(CString strAddr1, CString strAddr2, CString strAddr3, CString strAddr4,
                       CString strAddr5, CString strAddr6);

    CFont m_fontLarge;
    CFont m_fontMedium;
    CFont m_fontSmall;
    CString m_strHwType;
    int m_nSelectedDigit;
    HICON m_hIcon;
    CStatic m_stcSep1;
    CStatic m_stcSep2;
    CButton m_btnDigit1;
    CButton m_btnDigit2;
    CButton m_btnDigit3;
    CButton m_btnDigit4;
    CButton m_btnDigit5;
    CButton m_btnDigit6;
    CStatic m_stcHwType;
};
