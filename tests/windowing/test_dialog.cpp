#include "test_dialog.h"

#include "windowing/backend/headless_backend.h"
#include "windowing/dialog_builder.h"
#include "windowing/window_manager.h"

namespace kxtest {

namespace {
kx::DialogItem item(int id, const char16_t* cls, const char16_t* text, int16_t x) {
    kx::DialogItem i;
    i.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    i.x = x;
    i.y = 10;
    i.cx = 30;
    i.cy = 14;
    i.id = uint16_t(id);
    i.windowClass = kx::SzOrOrdinal::fromText(cls);
    i.text = kx::SzOrOrdinal::fromText(text);
    return i;
}
} // namespace

kx::DialogTemplate smallTemplate() {
    kx::DialogTemplate t;
    t.style = WS_POPUP | WS_VISIBLE | WS_CAPTION | DS_SETFONT;
    t.cx = 120;
    t.cy = 60;
    t.title = u"Test";
    t.hasFont = true;
    t.pointSize = 8;
    t.faceName = u"Sans";
    t.items = {item(kButtonA, u"BUTTON", u"A", 5), item(kButtonB, u"BUTTON", u"B", 40),
               item(kLabel, u"STATIC", u"label", 80)};
    return t;
}

BEGIN_MESSAGE_MAP(RecordingDialog, CDialog)
ON_BN_CLICKED(kButtonA, OnButtonA)
ON_BN_CLICKED(kButtonB, OnButtonB)
ON_WM_TIMER()
ON_WM_DESTROY()
END_MESSAGE_MAP()

BOOL RecordingDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    calls.push_back("init");
    return TRUE;
}

void RecordingDialog::OnButtonA() {
    calls.push_back("A");
}

void RecordingDialog::OnButtonB() {
    calls.push_back("B");
    EndDialog(7);
}

void RecordingDialog::OnTimer(UINT_PTR nIDEvent) {
    calls.push_back("timer " + std::to_string(nIDEvent) + " at " +
                    std::to_string(::GetTickCount()));
    CDialog::OnTimer(nIDEvent);
}

void RecordingDialog::OnDestroy() {
    CDialog::OnDestroy();
    calls.push_back("destroy");
    CWnd* label = GetDlgItem(kLabel);
    childrenAliveAtDestroy = label != nullptr && GetDlgItem(kButtonA) != nullptr;
    if (label) {
        CString text;
        label->GetWindowText(text);
        labelAtDestroy = text.str();
    }
}

INT_PTR runModal(RecordingDialog& dialog, const std::string& script) {
    kx::setBackend(nullptr);
    static std::istringstream input;
    input.clear();
    input.str(script);
    kx::WindowManager::instance().reset();
    kx::setBackend(std::make_unique<kx::HeadlessBackend>(input));
    HWND hwnd = kx::createDialogFromTemplate(smallTemplate(), nullptr);
    if (!hwnd || !dialog.SubclassWindow(hwnd)) {
        return -1;
    }
    dialog.SendMessage(WM_INITDIALOG, 0, 0);
    INT_PTR result = kx::WindowManager::instance().runModal(hwnd);
    dialog.DestroyWindow();
    kx::setBackend(nullptr);
    return result;
}

} // namespace kxtest
