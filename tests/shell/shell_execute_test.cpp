// ShellExecuteEx: starting a program of the device as a separate process.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "common/event_log.h"
#include "shell/command_line.h"
#include "temp_device.h"

namespace {

namespace fs = std::filesystem;

// A request as the program makes it: cbSize 60, fMask 1, SW_SHOW, the rest 0.
SHELLEXECUTEINFO request(const char16_t* file, const char16_t* parameters) {
    SHELLEXECUTEINFO info = {};
    info.cbSize = SHELLEXECUTEINFO_TARGET_SIZE;
    info.fMask = 1;
    info.lpFile = file;
    info.lpParameters = parameters;
    info.nShow = 5;
    return info;
}

// What a start request that is expected to fail gave: its result, the last
// error, and what went to standard output (the events) and standard error.
struct FailedStart {
    BOOL started;
    DWORD error;
    std::string out;
    std::string err;
};

FailedStart startCapturing(SHELLEXECUTEINFO& info) {
    kx::setEventsEnabled(true);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    SetLastError(0);
    FailedStart result;
    result.started = ShellExecuteEx(&info);
    result.error = GetLastError();
    result.err = testing::internal::GetCapturedStderr();
    result.out = testing::internal::GetCapturedStdout();
    kx::setEventsEnabled(false);
    return result;
}

fs::path addProgram(kxtest::TempDevice& device, const char* relative, const std::string& body,
                    bool executable = true) {
    fs::path p = device.addFile(relative, body);
    if (executable) {
        fs::permissions(p, fs::perms::owner_all);
    }
    return p;
}

// Waits for a file that a started program writes; a missing file after a
// generous while is a failure, not a timing measurement.
bool waitFor(const fs::path& p) {
    for (int i = 0; i < 2000; ++i) {
        if (fs::exists(p)) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

std::string slurp(const fs::path& p) {
    std::ifstream in(p);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// This process's children, and how many of them are zombies.
struct Children {
    int alive = 0;
    int zombies = 0;
};

Children children() {
    Children found;
    for (const auto& entry : fs::directory_iterator("/proc")) {
        std::ifstream stat(entry.path() / "stat");
        std::string line;
        if (!std::getline(stat, line)) {
            continue;
        }
        size_t close = line.rfind(')');
        if (close == std::string::npos) {
            continue;
        }
        std::istringstream rest(line.substr(close + 1));
        char state = 0;
        long parent = 0;
        rest >> state >> parent;
        if (parent == long(::getpid())) {
            ++(state == 'Z' ? found.zombies : found.alive);
        }
    }
    return found;
}

// The script writes what it was started with, then waits for the test's
// word before it ends, so the test sees that ShellExecuteEx did not wait.
std::string reportingScript(const fs::path& root) {
    return "#!/bin/sh\n"
           "{ echo \"cwd=$(pwd -P)\"; echo \"device=$KESTRIX_DEVICE\"; echo \"argc=$#\";\n"
           "  for a in \"$@\"; do echo \"arg=$a\"; done; } > '" +
           root.string() + "/report.tmp'\n" + "mv '" + root.string() + "/report.tmp' '" +
           root.string() + "/report.txt'\n" + "while [ ! -e '" + root.string() +
           "/go' ]; do sleep 0.02; done\n" + "touch '" + root.string() + "/finished'\n";
}

TEST(ShellExecuteEx, StartsTheProgramWithoutWaitingOrLeavingAZombie) {
    kxtest::TempDevice device;
    fs::path root = fs::canonical(device.root());
    addProgram(device, "Windows/SaveRegs.exe", reportingScript(root));

    SHELLEXECUTEINFO info = request(u"windows\\saveregs.EXE", u"-a \"two words\"  b");
    ASSERT_TRUE(ShellExecuteEx(&info)) << GetLastError();
    EXPECT_GT(reinterpret_cast<UINT_PTR>(info.hInstApp), 32u);
    EXPECT_EQ(info.hProcess, nullptr) << "only filled when asked for";

    ASSERT_TRUE(waitFor(root / "report.txt"));
    EXPECT_FALSE(fs::exists(root / "finished")) << "the program runs on after the call";
    EXPECT_EQ(children().alive, 0) << "the program is not this process's child";
    EXPECT_EQ(slurp(root / "report.txt"), "cwd=" + root.string() + "\n" +
                                              "device=" + fs::absolute(device.folder()).string() +
                                              "\n" + "argc=3\narg=-a\narg=two words\narg=b\n");

    std::ofstream(root / "go").close();
    ASSERT_TRUE(waitFor(root / "finished"));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(children().zombies, 0);
}

TEST(ShellExecuteEx, PassesNoArgumentsForAnEmptyParameterText) {
    kxtest::TempDevice device;
    fs::path root = fs::canonical(device.root());
    addProgram(device, "Windows/SaveRegs.exe", reportingScript(root));
    std::ofstream(root / "go").close();
    SHELLEXECUTEINFO info = request(u"Windows\\SaveRegs.exe", u"");
    ASSERT_TRUE(ShellExecuteEx(&info));
    ASSERT_TRUE(waitFor(root / "report.txt"));
    EXPECT_NE(slurp(root / "report.txt").find("argc=0\n"), std::string::npos);
    EXPECT_TRUE(waitFor(root / "finished"));
}

TEST(ShellExecuteEx, GivesAProcessHandleWhenAsked) {
    kxtest::TempDevice device;
    addProgram(device, "run.sh", "#!/bin/sh\nexit 0\n");
    SHELLEXECUTEINFO info = request(u"\\run.sh", nullptr);
    info.cbSize = sizeof(SHELLEXECUTEINFO);
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    info.hProcess = reinterpret_cast<HANDLE>(0xdeadbeef);
    ASSERT_TRUE(ShellExecuteEx(&info));
    ASSERT_NE(info.hProcess, nullptr);
    ASSERT_NE(info.hProcess, reinterpret_cast<HANDLE>(0xdeadbeef));
    EXPECT_TRUE(CloseHandle(info.hProcess));
    EXPECT_FALSE(CloseHandle(info.hProcess));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
}

TEST(ShellExecuteEx, ReportsAMissingProgramOnStandardErrorAndInTheEvents) {
    kxtest::TempDevice device;
    device.addFolder("Windows");
    SHELLEXECUTEINFO info = request(u"Windows\\SaveRegs.exe", u"");
    auto [started, error, out, err] = startCapturing(info);

    EXPECT_FALSE(started);
    EXPECT_EQ(error, DWORD(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(reinterpret_cast<UINT_PTR>(info.hInstApp), 2u);
    EXPECT_EQ(err, "kestrix: cannot start \"Windows\\SaveRegs.exe\": no such file on the device\n");
    nlohmann::json event = nlohmann::json::parse(out);
    EXPECT_EQ(event, (nlohmann::json{{"event", "launch"},
                                     {"file", "Windows\\SaveRegs.exe"},
                                     {"parameters", ""},
                                     {"found", false}}));
}

TEST(ShellExecuteEx, ReportsEveryStartInTheEvents) {
    kxtest::TempDevice device;
    addProgram(device, "Windows/SaveRegs.exe", "#!/bin/sh\necho chatter\n");
    kx::setEventsEnabled(true);
    SHELLEXECUTEINFO info = request(u"Windows\\SaveRegs.exe", u"/q");
    testing::internal::CaptureStdout();
    BOOL started = ShellExecuteEx(&info);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    std::string out = testing::internal::GetCapturedStdout();
    kx::setEventsEnabled(false);

    EXPECT_TRUE(started);
    // One event line; the program's own output stays out of the stream.
    ASSERT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
    EXPECT_EQ(nlohmann::json::parse(out), (nlohmann::json{{"event", "launch"},
                                                          {"file", "Windows\\SaveRegs.exe"},
                                                          {"parameters", "/q"},
                                                          {"found", true}}));
}

TEST(ShellExecuteEx, FailsClearlyForProgramsThatCannotStart) {
    struct Case {
        const char* name;
        const char16_t* file;
        DWORD error;
        const char* says;
        bool found;
    };
    const Case cases[] = {
        {"not executable", u"plain.sh", ERROR_ACCESS_DENIED, "is it executable?", true},
        {"not a program", u"text.exe", ERROR_BAD_EXE_FORMAT, "not a program", true},
        {"a folder", u"Windows", ERROR_ACCESS_DENIED, "it is a folder", false},
        {"missing folder", u"Nope\\x.exe", ERROR_PATH_NOT_FOUND, "no such folder", false},
        {"above the root", u"..\\outside.sh", ERROR_PATH_NOT_FOUND, "no such folder", false},
        {"link leading out", u"out.sh", ERROR_FILE_NOT_FOUND, "no such file", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        kxtest::TempDevice device;
        device.addFolder("Windows");
        addProgram(device, "plain.sh", "#!/bin/sh\ntouch started\n", false);
        addProgram(device, "text.exe", "just text\n");
        fs::path outside = device.folder() / "outside.sh";
        std::ofstream(outside) << "#!/bin/sh\ntouch \"$KESTRIX_DEVICE/escaped\"\n";
        fs::permissions(outside, fs::perms::owner_all);
        fs::create_symlink(outside, device.root() / "out.sh");

        SHELLEXECUTEINFO info = request(c.file, u"");
        auto [started, error, out, err] = startCapturing(info);

        EXPECT_FALSE(started);
        EXPECT_EQ(error, c.error);
        EXPECT_LE(reinterpret_cast<UINT_PTR>(info.hInstApp), 32u);
        EXPECT_NE(err.find(c.says), std::string::npos) << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        EXPECT_EQ(nlohmann::json::parse(out)["found"], c.found);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_FALSE(fs::exists(device.folder() / "escaped"));
        EXPECT_FALSE(device.exists("started"));
    }
}

TEST(ShellExecuteEx, StaysQuietWhenAskedTo) {
    kxtest::TempDevice device;
    device.addFolder("Windows");
    SHELLEXECUTEINFO info = request(u"Windows\\SaveRegs.exe", u"");
    info.fMask = SEE_MASK_FLAG_NO_UI;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(ShellExecuteEx(&info));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));
}

TEST(ShellExecuteEx, RejectsMalformedRequests) {
    kxtest::TempDevice device;
    addProgram(device, "run.sh", "#!/bin/sh\nexit 0\n");
    struct Case {
        const char* name;
        DWORD cbSize;
        const char16_t* file;
        const char16_t* verb;
    };
    const Case cases[] = {
        {"size 0", 0, u"run.sh", nullptr},
        {"size 59", 59, u"run.sh", nullptr},
        {"size 61", 61, u"run.sh", nullptr},
        {"no file", SHELLEXECUTEINFO_TARGET_SIZE, nullptr, nullptr},
        {"unknown verb", SHELLEXECUTEINFO_TARGET_SIZE, u"run.sh", u"print"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SHELLEXECUTEINFO info = request(c.file, u"");
        info.cbSize = c.cbSize;
        info.lpVerb = c.verb;
        testing::internal::CaptureStderr();
        SetLastError(0);
        EXPECT_FALSE(ShellExecuteEx(&info));
        testing::internal::GetCapturedStderr();
        EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    }
    SetLastError(0);
    EXPECT_FALSE(ShellExecuteEx(nullptr));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
}

TEST(SplitParameters, SplitsOnBlanksAndKeepsQuotedStretches) {
    struct Case {
        const char16_t* text;
        std::vector<std::string> arguments;
    };
    const Case cases[] = {
        {u"", {}},
        {u"   \t ", {}},
        {u"/q", {"/q"}},
        {u"  a   b\tc ", {"a", "b", "c"}},
        {u"\"two words\" x", {"two words", "x"}},
        {u"a\"b c\"d", {"ab cd"}},
        {u"\"\"", {""}},
        {u"\"open", {"open"}},
        {u"\u00e9t\u00e9", {"\xc3\xa9t\xc3\xa9"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::u16string(c.text).size()));
        EXPECT_EQ(kx::splitParameters(c.text), c.arguments);
    }
}

} // namespace
