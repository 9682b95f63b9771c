// The class library and window system as the program relies on them:
// message maps, timers, the end of a modal dialog, fonts and strings.
#include <gtest/gtest.h>

#include <cstring>

#include "windowing/backend/headless_backend.h"
#include "windowing/dialog_builder.h"

#include "test_dialog.h"
#include "windowing/window_manager.h"

using kxtest::RecordingDialog;

TEST(MessageMap, CommandsReachTheirHandlersAndTheBaseClassEndsTheDialog) {
    struct Case {
        const char* name;
        const char* script;
        INT_PTR result;
        std::vector<std::string> calls;
    } cases[] = {
        {"own handler, then the caption's OK",
         "click 100\ncommand IDOK\n",
         IDOK,
         {"init", "A", "destroy"}},
        {"caption close", "command IDCANCEL\n", IDCANCEL, {"init", "destroy"}},
        {"a handler that ends the dialog", "click 101\nclick 100\n", 7, {"init", "B", "destroy"}},
        {"a control with no handler", "click 102\ncommand 555\n", IDCANCEL, {"init", "destroy"}},
        {"end of input cancels", "", IDCANCEL, {"init", "destroy"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingDialog dialog;
        EXPECT_EQ(kxtest::runModal(dialog, c.script), c.result);
        EXPECT_EQ(dialog.calls, c.calls);
    }
}

TEST(Teardown, OnDestroyRunsWhileTheControlsStillExistAndEverythingGoesAfter) {
    RecordingDialog dialog;
    kxtest::runModal(dialog, "click 100\ncommand IDOK\n");
    EXPECT_TRUE(dialog.childrenAliveAtDestroy);
    EXPECT_EQ(dialog.labelAtDestroy, u"label");
    EXPECT_EQ(dialog.m_hWnd, nullptr) << "the object lets go of its destroyed window";
    EXPECT_TRUE(kx::WindowManager::instance().allWindows().empty());
}

// Ticks deliver every timer message of the period, in the order the timers
// fall due; a killed timer sends nothing more.
TEST(Timers, TicksDeliverEachTimerWhenItFallsDue) {
    RecordingDialog dialog;
    kx::WindowManager::instance().reset();
    std::istringstream input("tick 3\n");
    kx::setBackend(std::make_unique<kx::HeadlessBackend>(input));
    HWND hwnd = kx::createDialogFromTemplate(kxtest::smallTemplate(), nullptr);
    ASSERT_TRUE(dialog.SubclassWindow(hwnd));
    EXPECT_EQ(dialog.SetTimer(1, 300, nullptr), 1u);
    EXPECT_EQ(dialog.SetTimer(2, 700, nullptr), 2u);
    EXPECT_EQ(dialog.SetTimer(3, 100, nullptr), 3u);
    EXPECT_TRUE(dialog.KillTimer(3));
    EXPECT_FALSE(dialog.KillTimer(3));
    kx::WindowManager::instance().runModal(hwnd);
    dialog.DestroyWindow();
    kx::setBackend(nullptr);
    EXPECT_EQ(dialog.calls,
              (std::vector<std::string>{"timer 1 at 300", "timer 1 at 600", "timer 2 at 700",
                                        "timer 1 at 900", "destroy"}));
}

TEST(Fonts, CreatePointFontGivesTheHeightForTheScreen) {
    struct Case {
        int tenths;
        LONG height;
    } cases[] = {{220, -29}, {170, -22}, {100, -13}, {80, -10}, {95, -12}, {0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tenths);
        CFont font;
        ASSERT_TRUE(font.CreatePointFont(c.tenths, u"Tahoma"));
        LOGFONTW lf;
        std::memset(&lf, 0xA5, sizeof lf);
        ASSERT_EQ(GetObjectW(font.m_hObject, sizeof lf, &lf), int(sizeof lf));
        EXPECT_EQ(lf.lfHeight, c.height);
        EXPECT_EQ(lf.lfWidth, 0);
        EXPECT_EQ(lf.lfCharSet, DEFAULT_CHARSET);
        EXPECT_EQ(std::u16string(lf.lfFaceName), u"Tahoma");
    }
}

TEST(Fonts, ADeletedFontIsGoneAndDeletingAgainFails) {
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(100, u"Tahoma"));
    HGDIOBJ handle = font.m_hObject;
    EXPECT_TRUE(font.DeleteObject());
    EXPECT_EQ(font.m_hObject, nullptr);
    EXPECT_FALSE(font.DeleteObject());
    LOGFONTW lf;
    EXPECT_EQ(GetObjectW(handle, sizeof lf, &lf), 0);
    EXPECT_FALSE(DeleteObject(handle));
}

TEST(Strings, CStringOperationsClampAndReplaceEveryOccurrence) {
    CString s(u"0x0x1A");
    EXPECT_EQ(s.Replace(u"0x", u""), 2);
    EXPECT_EQ(s, u"1A");
    EXPECT_EQ(CString(u"1A2B3C").Right(4), u"2B3C");
    EXPECT_EQ(CString(u"1A2B3C").Left(2), u"1A");
    EXPECT_EQ(CString(u"ab").Right(5), u"ab");
    EXPECT_EQ(CString(u"ab").Left(-1), u"");
    EXPECT_EQ(CString(u"ab").GetAt(9), 0);
    CString buffer;
    LPTSTR raw = buffer.GetBuffer(8);
    raw[0] = u'x';
    raw[1] = 0;
    buffer.ReleaseBuffer();
    EXPECT_EQ(buffer.GetLength(), 1);
}

TEST(Strings, WcstoulFollowsTheStandardRulesIn32Bits) {
    struct Case {
        const char16_t* text;
        int base;
        unsigned long value;
        size_t consumed;
    } cases[] = {
        {u"1A", 16, 0x1A, 2},
        {u"  1a", 16, 0x1A, 4},
        {u"0x1A", 16, 0x1A, 4},
        {u"0X1A", 16, 0x1A, 4},
        {u"1G", 16, 1, 1},
        {u"G1", 16, 0, 0},
        {u"", 16, 0, 0},
        {u"0x", 16, 0, 1},
        {u"+F", 16, 0xF, 2},
        {u"-1", 16, 0xFFFFFFFF, 2},
        {u"FFFFFFFFF", 16, 0xFFFFFFFF, 9},
        {u"777", 8, 0777, 3},
        {u"019", 0, 01, 2},
        {u"0x1f", 0, 0x1F, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.text, c.text + std::char_traits<char16_t>::length(c.text)));
        WCHAR* end = reinterpret_cast<WCHAR*>(0xdeadbeef);
        EXPECT_EQ(wcstoul(c.text, &end, c.base), c.value);
        EXPECT_EQ(size_t(end - c.text), c.consumed);
    }
}
