// The digit editor of CMacSetDlg: one digit is selected and pulses between
// two font sizes; a keypad tap writes it and moves on to the next digit, a
// digit tap selects that digit. The digits are the captions of the buttons.
#include "ui/MacSetDlg.h"

// Counts blink ticks for all digits alike; only its parity is used.
UINT g_nBlinkCounter = 0;

void CMacSetDlg::OnKey1() {
    OnKey(_T("1"));
}
void CMacSetDlg::OnKey2() {
    OnKey(_T("2"));
}
void CMacSetDlg::OnKey3() {
    OnKey(_T("3"));
}
void CMacSetDlg::OnKey4() {
    OnKey(_T("4"));
}
void CMacSetDlg::OnKey5() {
    OnKey(_T("5"));
}
void CMacSetDlg::OnKey6() {
    OnKey(_T("6"));
}
void CMacSetDlg::OnKey7() {
    OnKey(_T("7"));
}
void CMacSetDlg::OnKey8() {
    OnKey(_T("8"));
}
void CMacSetDlg::OnKey9() {
    OnKey(_T("9"));
}
void CMacSetDlg::OnKeyA() {
    OnKey(_T("A"));
}
void CMacSetDlg::OnKeyB() {
    OnKey(_T("B"));
}
void CMacSetDlg::OnKeyC() {
    OnKey(_T("C"));
}
void CMacSetDlg::OnKeyD() {
    OnKey(_T("D"));
}
void CMacSetDlg::OnKeyE() {
    OnKey(_T("E"));
}
void CMacSetDlg::OnKeyF() {
    OnKey(_T("F"));
}
void CMacSetDlg::OnKey0() {
    OnKey(_T("0"));
}

void CMacSetDlg::OnSelectDigit1() {
    OnSelectDigit(IDC_DIGIT1);
}
void CMacSetDlg::OnSelectDigit2() {
    OnSelectDigit(IDC_DIGIT2);
}
void CMacSetDlg::OnSelectDigit3() {
    OnSelectDigit(IDC_DIGIT3);
}
void CMacSetDlg::OnSelectDigit4() {
    OnSelectDigit(IDC_DIGIT4);
}
void CMacSetDlg::OnSelectDigit5() {
    OnSelectDigit(IDC_DIGIT5);
}
void CMacSetDlg::OnSelectDigit6() {
    OnSelectDigit(IDC_DIGIT6);
}

void CMacSetDlg::OnKey(LPCTSTR lpszKey) {
    if (m_nSelectedDigit == 0) {
        return;
    }
    GetDlgItem(m_nSelectedDigit)->SetWindowText(lpszKey);
    AdvanceSelection();
}

// Selecting a digit changes neither fonts nor captions: a digit caught in
// its small blink phase stays small until the next key press.
void CMacSetDlg::OnSelectDigit(UINT nID) {
    m_nSelectedDigit = nID;
}

void CMacSetDlg::AdvanceSelection() {
    switch (m_nSelectedDigit) {
    case IDC_DIGIT1:
        m_nSelectedDigit = IDC_DIGIT2;
        break;
    case IDC_DIGIT2:
        m_nSelectedDigit = IDC_DIGIT3;
        break;
    case IDC_DIGIT3:
        m_nSelectedDigit = IDC_DIGIT4;
        break;
    case IDC_DIGIT4:
        m_nSelectedDigit = IDC_DIGIT5;
        break;
    case IDC_DIGIT5:
        m_nSelectedDigit = IDC_DIGIT6;
        break;
    case IDC_DIGIT6:
        m_nSelectedDigit = IDC_DIGIT1;
        break;
    default:
        break;
    }
    ApplyFonts();
}

void CMacSetDlg::ApplyFonts() {
    m_btnDigit1.SendMessage(WM_SETFONT, (WPARAM)(HFONT)m_fontLarge, TRUE);
    m_btnDigit2.SendMessage(WM_SETFONT, (WPARAM)(HFONT)m_fontLarge, TRUE);
    m_btnDigit3.SendMessage(WM_SETFONT, (WPARAM)(HFONT)m_fontLarge, TRUE);
    m_btnDigit4.SendMessage(WM_SETFONT, (WPARAM)(HFONT)m_fontLarge, TRUE);
    m_btnDigit5.SendMessage(WM_SETFONT, (WPARAM)(HFONT)m_fontLarge, TRUE);
    m_btnDigit6.SendMessage(WM_SETFONT, (WPARAM)(HFONT)m_fontLarge, TRUE);

    m_stcSep2.SendMessage(WM_SETFONT, (WPARAM)(HFONT)m_fontLarge, TRUE);
    m_stcSep1.SendMessage(WM_SETFONT, (WPARAM)(HFONT)m_fontLarge, TRUE);

    static const int keys[16] = {IDC_KEY_1, IDC_KEY_2, IDC_KEY_3, IDC_KEY_4, IDC_KEY_5, IDC_KEY_6,
                                 IDC_KEY_7, IDC_KEY_8, IDC_KEY_9, IDC_KEY_0, IDC_KEY_A, IDC_KEY_B,
                                 IDC_KEY_C, IDC_KEY_D, IDC_KEY_E, IDC_KEY_F};
    for (int i = 0; i < 16; i++) {
        GetDlgItem(keys[i])->SendMessage(WM_SETFONT, (WPARAM)(HFONT)m_fontLarge, TRUE);
    }

    GetDlgItem(IDC_SAVE)->SendMessage(WM_SETFONT, (WPARAM)(HFONT)m_fontSmall, TRUE);
    GetDlgItem(IDC_CLOSE)->SendMessage(WM_SETFONT, (WPARAM)(HFONT)m_fontSmall, TRUE);
}

// Every tick, whatever its timer, flips the selected digit between 17 and
// 22 points.
void CMacSetDlg::OnTimer(UINT_PTR nIDEvent) {
    UNREFERENCED_PARAMETER(nIDEvent);
    if (m_nSelectedDigit != 0) {
        CWnd* pDigit = GetDlgItem(m_nSelectedDigit);
        g_nBlinkCounter++;
        if (g_nBlinkCounter % 2 == 1) {
            pDigit->SendMessage(WM_SETFONT, (WPARAM)(HFONT)m_fontMedium, TRUE);
        } else {
            pDigit->SendMessage(WM_SETFONT, (WPARAM)(HFONT)m_fontLarge, TRUE);
        }
    }
    CDialog::OnTimer(nIDEvent);
}
