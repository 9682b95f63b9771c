// Save: the address in the driver settings of each board family, the
// registry-saving program, and what a reboot of the device keeps.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "scripted_run.h"

using kxtest::ScriptRun;
using kxtest::TempDevice;

namespace {

const char* const kEnter123456 = "click IDC_KEY_1\nclick IDC_KEY_2\nclick IDC_KEY_3\n"
                                 "click IDC_KEY_4\nclick IDC_KEY_5\nclick IDC_KEY_6\n";

std::string exportRegistry(const TempDevice& device) {
    kxtest::CommandResult r = device.tool("reg export");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    return r.out;
}

size_t saveCount(const TempDevice& device) {
    std::string out = device.tool("reg saves").out;
    size_t n = 0;
    for (size_t at = out.find("SaveRegs.exe"); at != std::string::npos;
         at = out.find("SaveRegs.exe", at + 1)) {
        ++n;
    }
    return n;
}

// The registry-saving program runs on its own; wait (boundedly) until it has
// saved `count` times.
bool waitForSaves(const TempDevice& device, size_t count) {
    for (int i = 0; i < 100; ++i) {
        if (saveCount(device) >= count) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

} // namespace

TEST(Save, WritesTheAddressWhereTheBoardsDriverKeepsIt) {
    struct Case {
        const char* board;
        const char* initArguments;
        const char* expected; // in the export
    } cases[] = {
        {"2410", "--board 2410",
         "[HKEY_LOCAL_MACHINE\\Drivers\\CS8900]\n"
         "\"MACADD\"=hex:02,7d,e3,12,34,56\n"},
        {"2450", "--board 2450",
         "[HKEY_LOCAL_MACHINE\\Comm\\SMSC91181]\n"
         "\"MACADD\"=hex:02,7d,e3,12,34,56\n"},
        // 34 bytes of UTF-16 text without a terminator.
        {"RDM", "--board RDM",
         "[HKEY_LOCAL_MACHINE\\Comm\\EMACB1\\Parms]\n"
         "\"NetworkAddress\"=hex(1):30,00,32,00,2d,00,37,00,44,00,2d,00,45,00,33,00,2d,00,\\\n"
         "  31,00,32,00,2d,00,33,00,34,00,2d,00,35,00,36,00\n"},
        {"RDM whose key is missing", "--board RDM --bare",
         "[HKEY_LOCAL_MACHINE\\Comm\\EMACB1\\Parms]\n"
         "\"NetworkAddress\"=hex(1):30,00,32,00,2d,00,37,00,44,00,2d,00,45,00,33,00,2d,00,\\\n"
         "  31,00,32,00,2d,00,33,00,34,00,2d,00,35,00,36,00\n"},
        // The key is made, left empty, and the program still starts.
        {"2450 whose key is missing", "--board 2450 --bare",
         "[HKEY_LOCAL_MACHINE\\Comm\\SMSC91181]\n\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.board);
        TempDevice device(c.initArguments);
        ScriptRun run = kxtest::runScript(device, std::string(kEnter123456) + "click IDC_SAVE\n");
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_TRUE(run.eventsOf("messagebox").empty());
        auto launches = run.eventsOf("launch");
        ASSERT_EQ(launches.size(), 1u) << run.rawOut;
        EXPECT_EQ(launches[0]["file"], "Windows\\SaveRegs.exe");
        EXPECT_EQ(launches[0]["parameters"], "");
        EXPECT_EQ(launches[0]["found"], true);
        std::string registry = exportRegistry(device);
        EXPECT_TRUE(contains(registry, c.expected)) << registry;
        EXPECT_FALSE(contains(registry, "MACADD") && contains(registry, "NetworkAddress"));
    }
}

TEST(Save, AnRdxBoardIsRefusedEveryTimeAndNothingIsWrittenOrStarted) {
    TempDevice device("--board RDX");
    std::string before = exportRegistry(device);
    ScriptRun run = kxtest::runScript(device, std::string(kEnter123456) +
                                                  "click IDC_SAVE\nclick IDC_SAVE\ndump\n");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    auto boxes = run.eventsOf("messagebox");
    ASSERT_EQ(boxes.size(), 2u);
    for (const auto& box : boxes) {
        EXPECT_EQ(box["caption"], "Kestrix");
        EXPECT_EQ(box["text"], "You cannot use this utility for RDX series");
        EXPECT_EQ(box["type"], 0x10030) << "OK, exclamation icon, brought to the foreground";
    }
    EXPECT_TRUE(run.eventsOf("launch").empty());
    EXPECT_EQ(exportRegistry(device), before);
    // The dialog stays open and as it was.
    EXPECT_EQ(kxtest::digits(run.lastDump()), "123456");
}

TEST(Save, EachPressCommitsAndStartsTheProgramAgain) {
    TempDevice device;
    ScriptRun run = kxtest::runScript(device, "click IDC_SAVE\nclick IDC_KEY_F\nclick IDC_SAVE\n");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.eventsOf("launch").size(), 2u);
    ASSERT_TRUE(waitForSaves(device, 2));
    EXPECT_TRUE(contains(exportRegistry(device), "\"MACADD\"=hex:02,7d,e3,f0,00,00\n"));
}

// A fresh dialog saves the prefix and three zero bytes.
TEST(Save, ASavedAddressSurvivesARebootAndAnUnsavedOneDoesNot) {
    TempDevice device;
    ScriptRun run = kxtest::runScript(device, "click IDC_SAVE\ncommand IDOK\n");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    ASSERT_TRUE(waitForSaves(device, 1));
    EXPECT_EQ(device.tool("reboot").exitCode, 0);
    EXPECT_TRUE(contains(exportRegistry(device), "\"MACADD\"=hex:02,7d,e3,00,00,00\n"));

    // Without the registry-saving program the value is written but not kept.
    std::filesystem::remove(device.root() / "Windows" / "SaveRegs.exe");
    ScriptRun unsaved = kxtest::runScript(device, std::string(kEnter123456) + "click IDC_SAVE\n");
    EXPECT_TRUE(unsaved.eventsOf("messagebox").empty()) << "the tool shows nothing of its own";
    ASSERT_EQ(unsaved.eventsOf("launch").size(), 1u);
    EXPECT_EQ(unsaved.eventsOf("launch")[0]["found"], false);
    EXPECT_TRUE(contains(unsaved.err, "SaveRegs.exe")) << unsaved.err;
    EXPECT_TRUE(contains(exportRegistry(device), "\"MACADD\"=hex:02,7d,e3,12,34,56\n"));
    EXPECT_EQ(device.tool("reboot").exitCode, 0);
    EXPECT_TRUE(contains(exportRegistry(device), "\"MACADD\"=hex:02,7d,e3,00,00,00\n"));
}

// Digits that are not hexadecimal can come back from the last-entry file:
// the binary value takes 0 for that byte, the text value the digits as shown.
TEST(Save, DigitsThatAreNotHexadecimalReachTheValuesAsTheFamilyStoresThem) {
    const std::string entry = std::string("G\0"
                                          "1\0"
                                          "a\0"
                                          "b\0"
                                          "x\0"
                                          "9\0",
                                          12);
    {
        TempDevice device("--board 2410");
        kxtest::writeFile(device.lastEntryFile(), entry);
        kxtest::runScript(device, "click IDC_SAVE\n");
        EXPECT_TRUE(contains(exportRegistry(device), "\"MACADD\"=hex:02,7d,e3,00,ab,00\n"));
    }
    {
        TempDevice device("--board RDM");
        kxtest::writeFile(device.lastEntryFile(), entry);
        kxtest::runScript(device, "click IDC_SAVE\n");
        kxtest::CommandResult r = device.tool("reg export 'HKLM\\Comm\\EMACB1\\Parms'");
        // "02-7D-E3-G1-ab-x9"
        EXPECT_TRUE(contains(r.out, "  47,00,31,00,2d,00,61,00,62,00,2d,00,78,00,39,00\n"))
            << r.out;
    }
}
