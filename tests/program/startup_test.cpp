// Start-up and the ways the dialog ends, through scripted runs.
#include <gtest/gtest.h>

#include "scripted_run.h"

using kxtest::ScriptRun;
using kxtest::TempDevice;
using nlohmann::json;

namespace {

json expectedFile(const std::string& name) {
    return json::parse(kxtest::readFile(std::string(KX_EXPECTED_DIR) + "/" + name));
}

} // namespace

// The whole dialog as a fresh 2450 device without a last entry shows it,
// compared with the checked-in description of the screen.
TEST(Startup, FirstStartShowsTheTemplateWithTheProgramsFonts) {
    TempDevice device;
    ScriptRun run = kxtest::runScript(device, "dump\n");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    json dump = run.lastDump();
    json expected = expectedFile("first_start_2450.json");
    EXPECT_EQ(dump, expected) << "actual:\n" << dump.dump(2);
}

TEST(Startup, EveryControlIsInTemplateOrderWithTheFirstTabStopOnDigit1) {
    TempDevice device;
    json dump = kxtest::runScript(device, "dump\n").lastDump();
    ASSERT_EQ(dump["controls"].size(), 28u);
    const unsigned kTabStop = 0x00010000;
    std::string firstTabStop;
    for (const auto& c : dump["controls"]) {
        if (c["style"].get<unsigned>() & kTabStop) {
            firstTabStop = c["name"];
            break;
        }
    }
    EXPECT_EQ(firstTabStop, "IDC_DIGIT1");
}

// Every way of ending the dialog ends the program with the dialog's result
// and passes through the teardown, which stores the digits shown.
TEST(Startup, EveryRouteOutEndsTheRunAndStoresTheDigits) {
    struct Case {
        const char* name;
        const char* script;
        int result;
    } cases[] = {
        {"Close button", "click IDC_KEY_1\nclick IDC_CLOSE\n", 1},
        {"caption OK", "click IDC_KEY_1\ncommand IDOK\n", 1},
        {"caption close", "click IDC_KEY_1\ncommand IDCANCEL\n", 2},
        {"end of input", "click IDC_KEY_1\n", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDevice device;
        ScriptRun run = kxtest::runScript(device, c.script);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        auto exits = run.eventsOf("exit");
        ASSERT_EQ(exits.size(), 1u) << run.rawOut;
        EXPECT_EQ(exits[0]["result"], c.result);
        EXPECT_TRUE(run.eventsOf("error").empty()) << run.rawOut;
        EXPECT_EQ(kxtest::readFile(device.lastEntryFile()), std::string("1\0"
                                                                        "0\0"
                                                                        "0\0"
                                                                        "0\0"
                                                                        "0\0"
                                                                        "0\0",
                                                                        12));
    }
}

TEST(Startup, LinesAfterTheEndAreReportedNotCarriedOut) {
    TempDevice device;
    ScriptRun run = kxtest::runScript(device, "command IDOK\n# done\nclick IDC_KEY_1\ndump\n");
    auto errors = run.eventsOf("error");
    ASSERT_EQ(errors.size(), 2u) << run.rawOut;
    EXPECT_EQ(errors[0]["line"], 3);
    EXPECT_EQ(errors[1]["line"], 4);
    EXPECT_EQ(errors[0]["message"], "not carried out: the dialog had already ended");
    EXPECT_TRUE(run.eventsOf("dump").empty());
}

TEST(Startup, BadScriptLinesAreReportedAndTheRunGoesOn) {
    TempDevice device;
    ScriptRun run = kxtest::runScript(device, "jump\nclick\nclick IDC_NOPE\nclick 99999999\n"
                                              "tick -3\ntick 1 2\ndump extra\n\x01\xff\nclick "
                                              "IDC_KEY_F\ndump\n");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::vector<int> lines;
    for (const auto& e : run.eventsOf("error")) {
        lines.push_back(e["line"]);
        EXPECT_FALSE(e["message"].get<std::string>().empty());
    }
    EXPECT_EQ(lines, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(kxtest::digits(run.lastDump()), "F00000");
}

TEST(Startup, TheDefaultDeviceIsLaidOutOnFirstUse) {
    TempDevice scratch;
    std::filesystem::path home = scratch.folder().parent_path() / "home";
    std::filesystem::create_directories(home);
    auto r = kxtest::runCommand(
        "env -u KESTRIX_DEVICE HOME=" + kxtest::shellQuote(home.string()) + " " +
            kxtest::shellQuote((kxtest::binDir() / "kestrix-device").string()) + " run",
        "dump\n");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find("Created device"), std::string::npos) << r.err;
    std::filesystem::path device = home / ".local/share/kestrix/device";
    EXPECT_TRUE(std::filesystem::exists(device / "root/Windows/SaveRegs.exe"));
    // Standard output is the event stream alone.
    EXPECT_EQ(r.out.rfind("{\"event\":\"dump\"", 0), 0u) << r.out;
}

TEST(Startup, RunWithoutADeviceSaysSoAndStartsNothing) {
    TempDevice device;
    auto r = kxtest::runCommand(kxtest::shellQuote((kxtest::binDir() / "kestrix-device").string()) +
                                " --device " +
                                kxtest::shellQuote((device.folder() / "none").string()) + " run");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("no emulated device"), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty());
}
