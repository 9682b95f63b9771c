// kestrix-device init, run as a user runs it.
#include <gtest/gtest.h>

#include <vector>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "command_run.h"
#include "temp_device.h"

namespace {

namespace fs = std::filesystem;

using ToolRun = kxtest::CommandResult;

// Runs the tool with the arguments, and with environment assignments in
// front (shell syntax). The device folder is always given by the caller, so
// no test touches the user's default device.
ToolRun runTool(const std::string& arguments, const std::string& environment = "") {
    return kxtest::runCommand(environment +
                              kxtest::shellQuote((kxtest::binDir() / "kestrix-device").string()) +
                              " " + arguments);
}

int lineCount(const std::string& text) {
    int lines = 0;
    for (char c : text) {
        lines += c == '\n';
    }
    return lines;
}

TEST(InitCommand, LaysOutRefusesAndReplaces) {
    kxtest::TempDevice scratch;
    fs::path device = scratch.folder() / "panel";
    std::string deviceOption = "--device '" + device.string() + "' ";

    ToolRun first = runTool(deviceOption + "init --board RDM");
    EXPECT_EQ(first.exitCode, 0) << first.err;
    EXPECT_EQ(lineCount(first.out), 1) << first.out;
    EXPECT_NE(first.out.find("RDM"), std::string::npos) << first.out;
    EXPECT_TRUE(fs::exists(device / "root" / "Windows" / "TouchCalibrate1.exe"));
    EXPECT_TRUE(fs::is_directory(device / "root" / "Storage Card"));
    std::ofstream(device / "root" / "Storage Card" / "LastMacSetEx.txt") << "kept";

    ToolRun again = runTool(deviceOption + "init --board 2410");
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_NE(again.err.find("--force"), std::string::npos) << again.err;
    EXPECT_EQ(again.out, "");
    EXPECT_TRUE(fs::exists(device / "root" / "Storage Card" / "LastMacSetEx.txt"));
    EXPECT_FALSE(fs::exists(device / "root" / "Windows" / "windowsce.bmp"));

    ToolRun forced = runTool(deviceOption + "init --board 2410 --no-card --force");
    EXPECT_EQ(forced.exitCode, 0) << forced.err;
    EXPECT_TRUE(fs::exists(device / "root" / "Windows" / "windowsce.bmp"));
    EXPECT_FALSE(fs::exists(device / "root" / "Windows" / "TouchCalibrate1.exe"));
    EXPECT_FALSE(fs::exists(device / "root" / "Storage Card"));
}

TEST(InitCommand, DefaultsToA2450DeviceNamedByTheEnvironment) {
    kxtest::TempDevice scratch;
    fs::path device = scratch.folder() / "panel";
    ToolRun run = runTool("init", "KESTRIX_DEVICE='" + device.string() + "' ");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(fs::is_directory(device / "root" / "Windows"));
    EXPECT_TRUE(fs::is_directory(device / "root" / "Storage Card"));
    // A 2450 board has no marker: its Windows folder holds only the
    // registry-saving program.
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(device / "root" / "Windows")) {
        names.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(names, std::vector<std::string>{"SaveRegs.exe"});
}

TEST(InitCommand, ExplainsBadBoardsAndItsOptions) {
    kxtest::TempDevice scratch;
    fs::path device = scratch.folder() / "panel";
    ToolRun bad = runTool("--device '" + device.string() + "' init --board rdm");
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_NE(bad.err.find("unknown board \"rdm\""), std::string::npos) << bad.err;
    EXPECT_FALSE(fs::exists(device));

    ToolRun help = runTool("init --help");
    EXPECT_EQ(help.exitCode, 0);
    for (const char* expected : {"--board", "--no-card", "--force", "2410", "2450", "RDM", "RDX",
                                 "windowsce.bmp", "Storage Card"}) {
        EXPECT_NE(help.out.find(expected), std::string::npos) << expected;
    }
}

} // namespace
