// A small dialog for the class-library tests: two buttons and a label, made
// from a template built in code, with handlers that record what reached them.
#pragma once

#include <afxwin.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "resources/dialog_template.h"

namespace kxtest {

inline constexpr int kButtonA = 100;
inline constexpr int kButtonB = 101;
inline constexpr int kLabel = 102;

kx::DialogTemplate smallTemplate();

class RecordingDialog : public CDialog {
public:
    std::vector<std::string> calls;
    bool childrenAliveAtDestroy = false;
    std::u16string labelAtDestroy;

protected:
    DECLARE_MESSAGE_MAP()
    BOOL OnInitDialog() override;
    afx_msg void OnButtonA();
    afx_msg void OnButtonB();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnDestroy();
};

// Runs the dialog modally the way DoModal does, with a headless backend
// reading `script`; returns the result. Resets the window system first.
INT_PTR runModal(RecordingDialog& dialog, const std::string& script);

} // namespace kxtest
