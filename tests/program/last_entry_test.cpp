// The last-entry file on the storage card: what a start shows for each kind
// of file, what closing writes, and what happens when the card fails.
#include <gtest/gtest.h>

#include "scripted_run.h"

using kxtest::ScriptRun;
using kxtest::TempDevice;

namespace {

std::string utf16(const std::string& ascii) {
    std::string out;
    for (char c : ascii) {
        out += c;
        out += '\0';
    }
    return out;
}

const unsigned kStopIcon = 0x10;

} // namespace

TEST(LastEntry, AStartShowsTheFileOnlyWhenItHoldsExactlySixCharacters) {
    struct Case {
        const char* name;
        std::string bytes;
        const char* shown;
    } cases[] = {
        {"12 bytes", utf16("1A2B3C"), "1A2B3C"},
        {"12 bytes ending in a zero unit", utf16("12345") + std::string(2, '\0'), "000000"},
        {"14 bytes: six units and a zero one", utf16("ABCDEF") + std::string(2, '\0'), "ABCDEF"},
        {"13 bytes ending in a zero byte", utf16("123456") + std::string(1, '\0'), "123456"},
        {"13 bytes ending in a digit", utf16("123456") + "7", "000000"},
        {"a byte-order mark in front", "\xff\xfe" + utf16("123456"), "000000"},
        {"8-bit text", "1A2B3C", "000000"},
        {"lower case", utf16("abcdef"), "abcdef"},
        {"not hexadecimal", utf16("G1-?Z "), "G1-?Z "},
        {"five characters", utf16("12345"), "000000"},
        {"seven characters", utf16("1234567"), "000000"},
        {"empty", "", "000000"},
        {"a large file with six characters first",
         utf16("9876AB") + std::string(2, '\0') + std::string(4 << 20, 'x'), "9876AB"},
        {"a large file without a zero unit", std::string(4 << 20, 'x'), "000000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDevice device;
        kxtest::writeFile(device.lastEntryFile(), c.bytes);
        ScriptRun run = kxtest::runScript(device, "dump\ncommand IDCANCEL\n");
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(kxtest::digits(run.lastDump()), c.shown);
        EXPECT_TRUE(run.eventsOf("messagebox").empty());
        EXPECT_EQ(kxtest::control(run.lastDump(), "IDC_DIGIT1")["font"]["points"], 22);
        // Closing writes the six digits shown, as 12 bytes.
        EXPECT_EQ(kxtest::readFile(device.lastEntryFile()), utf16(c.shown));
    }
}

TEST(LastEntry, ClosingStoresTheDigitsShownAndTheNextStartShowsThem) {
    TempDevice device;
    ScriptRun first = kxtest::runScript(device, "click IDC_KEY_B\nclick IDC_KEY_E\nclick "
                                                "IDC_DIGIT6\nclick IDC_KEY_7\nclick IDC_CLOSE\n");
    ASSERT_EQ(first.exitCode, 0);
    EXPECT_EQ(kxtest::readFile(device.lastEntryFile()), utf16("BE0007"));
    ScriptRun second = kxtest::runScript(device, "dump\n");
    EXPECT_EQ(kxtest::digits(second.lastDump()), "BE0007");
    // The restored digits keep the selection on the first digit.
    ScriptRun third = kxtest::runScript(device, "click IDC_KEY_1\ndump\n");
    EXPECT_EQ(kxtest::digits(third.lastDump()), "1E0007");
}

TEST(LastEntry, WithoutACardTheDigitsAreZeroAndNothingIsShownOrWritten) {
    TempDevice device("--no-card");
    ScriptRun run = kxtest::runScript(device, "click IDC_KEY_5\ndump\ncommand IDOK\n");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(kxtest::digits(run.lastDump()), "500000");
    EXPECT_TRUE(run.eventsOf("messagebox").empty());
    EXPECT_FALSE(std::filesystem::exists(device.root() / "Storage Card"));
    EXPECT_EQ(run.eventsOf("exit").at(0)["result"], 1);
}

TEST(LastEntry, AWriteProtectedCardKeepsTheOldEntryWithoutAMessage) {
    TempDevice device;
    kxtest::writeFile(device.lastEntryFile(), utf16("ABCDEF"));
    ScriptRun run = kxtest::runScript(device, "click IDC_KEY_1\ncommand IDOK\n",
                                      "KESTRIX_FAULTS='write-protect:Storage Card'");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(run.eventsOf("messagebox").empty());
    EXPECT_EQ(kxtest::readFile(device.lastEntryFile()), utf16("ABCDEF"));
}

// A card that fills up while the entry is written: the class library
// reports the error, and the entry that was there survives.
TEST(LastEntry, AFullCardIsReportedAndKeepsTheOldEntry) {
    for (const char* fault : {"write-full", "write-short"}) {
        SCOPED_TRACE(fault);
        TempDevice device;
        kxtest::writeFile(device.lastEntryFile(), utf16("ABCDEF"));
        ScriptRun run =
            kxtest::runScript(device, "click IDC_KEY_1\ncommand IDOK\n",
                              std::string("KESTRIX_FAULTS='") + fault + ":Storage Card'");
        ASSERT_EQ(run.exitCode, 0) << run.err;
        auto boxes = run.eventsOf("messagebox");
        ASSERT_EQ(boxes.size(), 1u) << run.rawOut;
        EXPECT_EQ(boxes[0]["caption"], "Kestrix");
        EXPECT_EQ(boxes[0]["type"].get<unsigned>() & 0xF0, kStopIcon);
        EXPECT_NE(boxes[0]["text"].get<std::string>().find("LastMacSetEx.txt"), std::string::npos);
        EXPECT_EQ(kxtest::readFile(device.lastEntryFile()), utf16("ABCDEF"));
        EXPECT_EQ(run.eventsOf("exit").at(0)["result"], 1);
    }
}

// A read that fails after the open is reported, and the rest of the
// dialog's start is skipped: the title stays the template's.
TEST(LastEntry, AReadErrorIsReportedAndEndsTheStartSteps) {
    TempDevice device;
    kxtest::writeFile(device.lastEntryFile(), utf16("ABCDEF"));
    ScriptRun run = kxtest::runScript(device, "dump\n", "KESTRIX_FAULTS='read-error:Storage Card'");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    auto boxes = run.eventsOf("messagebox");
    ASSERT_EQ(boxes.size(), 1u) << run.rawOut;
    EXPECT_EQ(boxes[0]["type"].get<unsigned>() & 0xF0, kStopIcon);
    EXPECT_EQ(run.lastDump()["title"], "Kestrix");
    EXPECT_EQ(kxtest::digits(run.lastDump()), "000000");
    // Steps before the read did run: the fonts and the label.
    EXPECT_EQ(kxtest::points(run.lastDump(), "IDC_DIGIT1"), 22);
}
