// The digit editor: selection, keypad, wrap-around and the blink.
#include <gtest/gtest.h>

#include "scripted_run.h"

using kxtest::ScriptRun;
using kxtest::TempDevice;
using nlohmann::json;

namespace {

json dumpAfter(const TempDevice& device, const std::string& script) {
    ScriptRun run = kxtest::runScript(device, script + "dump\n");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(run.eventsOf("error").empty()) << run.rawOut;
    return run.lastDump();
}

} // namespace

// The devices have no storage card, so no run finds the digits of the one
// before.
TEST(DigitEditor, KeysFillTheDigitsInOrderAndWrapToTheFirst) {
    TempDevice device("--no-card");
    struct Case {
        const char* name;
        const char* script;
        const char* digits;
    } cases[] = {
        {"six keys",
         "click IDC_KEY_1\nclick IDC_KEY_2\nclick IDC_KEY_3\nclick IDC_KEY_4\n"
         "click IDC_KEY_5\nclick IDC_KEY_6\n",
         "123456"},
        {"seventh key wraps to digit 1",
         "click IDC_KEY_A\nclick IDC_KEY_B\nclick IDC_KEY_C\nclick IDC_KEY_D\nclick "
         "IDC_KEY_E\nclick IDC_KEY_F\nclick IDC_KEY_9\n",
         "9BCDEF"},
        {"tap on digit 4 then a key writes digit 4 and moves to 5",
         "click IDC_DIGIT4\nclick IDC_KEY_7\nclick IDC_KEY_8\n", "000780"},
        {"digit 6 then a key wraps to digit 1",
         "click IDC_DIGIT6\nclick IDC_KEY_0\nclick "
         "IDC_KEY_C\n",
         "C00000"},
        {"tap on the selected digit changes nothing", "click IDC_DIGIT1\nclick IDC_KEY_8\n",
         "800000"},
        {"numeric ids", "click 1021\nclick 0x3F0\n", "C30000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(kxtest::digits(dumpAfter(device, c.script)), c.digits);
    }
}

// Each key writes its own character: the ids of the keypad are not in the
// order of their captions (IDC_KEY_C is 1021).
TEST(DigitEditor, EveryKeyWritesItsCaption) {
    TempDevice device("--no-card");
    const std::string keys = "0123456789ABCDEF";
    for (char k : keys) {
        SCOPED_TRACE(std::string("key ") + k);
        json dump = dumpAfter(device, std::string("click IDC_KEY_") + k + "\n");
        EXPECT_EQ(kxtest::control(dump, "IDC_DIGIT1")["text"], std::string(1, k));
    }
}

TEST(DigitEditor, TheSelectedDigitBlinksBetween17And22Points) {
    TempDevice device;
    ScriptRun run = kxtest::runScript(device, "dump\ntick\ndump\ntick\ndump\ntick 3\ndump\n");
    auto dumps = run.eventsOf("dump");
    ASSERT_EQ(dumps.size(), 4u);
    EXPECT_EQ(kxtest::points(dumps[0], "IDC_DIGIT1"), 22);
    EXPECT_EQ(kxtest::points(dumps[1], "IDC_DIGIT1"), 17);
    EXPECT_EQ(kxtest::points(dumps[2], "IDC_DIGIT1"), 22);
    EXPECT_EQ(kxtest::points(dumps[3], "IDC_DIGIT1"), 17);
    EXPECT_EQ(kxtest::control(dumps[1], "IDC_DIGIT1")["font"]["height"], -22);
    for (const auto& dump : dumps) {
        EXPECT_EQ(kxtest::points(dump, "IDC_DIGIT2"), 22);
    }
}

// Selecting a digit does not redo the fonts: the digit caught in its small
// phase keeps it until the next key press, while the blink goes on with the
// newly selected one from the counter's parity.
TEST(DigitEditor, ATapDuringTheSmallPhaseLeavesThatDigitSmallUntilTheNextKey) {
    TempDevice device;
    ScriptRun run = kxtest::runScript(
        device, "tick\nclick IDC_DIGIT3\ndump\ntick\ndump\nclick IDC_KEY_5\ndump\n");
    auto dumps = run.eventsOf("dump");
    ASSERT_EQ(dumps.size(), 3u);
    EXPECT_EQ(kxtest::points(dumps[0], "IDC_DIGIT1"), 17);
    EXPECT_EQ(kxtest::points(dumps[0], "IDC_DIGIT3"), 22);
    EXPECT_EQ(kxtest::points(dumps[1], "IDC_DIGIT1"), 17);
    EXPECT_EQ(kxtest::points(dumps[1], "IDC_DIGIT3"), 22) << "second tick: even, large";
    EXPECT_EQ(kxtest::points(dumps[2], "IDC_DIGIT1"), 22);
    EXPECT_EQ(kxtest::digits(dumps[2]), "005000");
}

TEST(DigitEditor, LabelsKeepTheDialogFontAndCommandsTheSmallOne) {
    TempDevice device;
    json dump = dumpAfter(device, "click IDC_KEY_1\ntick\nclick IDC_KEY_2\n");
    EXPECT_TRUE(kxtest::control(dump, "IDC_PREFIX_LABEL")["font"].is_null());
    EXPECT_TRUE(kxtest::control(dump, "IDC_HWTYPE_LABEL")["font"].is_null());
    EXPECT_EQ(kxtest::points(dump, "IDC_SAVE"), 10);
    EXPECT_EQ(kxtest::points(dump, "IDC_CLOSE"), 10);
    EXPECT_EQ(kxtest::control(dump, "IDC_SAVE")["font"]["height"], -13);
}
