// The tools around the registry, run as users run them: kestrix-device
// reg export/import and reboot, and the registry-saving program installed on
// a device.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include <windows.h>

#include "registry/registry_admin.h"
#include "registry/registry_saver.h"
#include "command_run.h"
#include "temp_device.h"

namespace {

namespace fs = std::filesystem;

using Result = kxtest::CommandResult;

std::string quote(const std::string& s) {
    return kxtest::shellQuote(s);
}

std::string binDir() {
    return kxtest::binDir().string();
}

// Runs a shell command line with KESTRIX_DEVICE unset, capturing its output.
Result run(const std::string& commandLine, const fs::path&) {
    return kxtest::runCommand("env -u KESTRIX_DEVICE " + commandLine);
}

std::string tool(const fs::path& device) {
    return quote(binDir() + "/kestrix-device") + " --device " + quote(device.string());
}

using kxtest::writeFile;

void setMac(const char16_t* keyPath, BYTE last) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    ASSERT_EQ(
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, keyPath, 0, nullptr, 0, 0, nullptr, &key, &disposition),
        ERROR_SUCCESS);
    const BYTE mac[] = {0x02, 0x7d, 0xe3, 0x00, 0x00, last};
    ASSERT_EQ(RegSetValueExW(key, u"MACADD", 0, REG_BINARY, mac, 6), ERROR_SUCCESS);
    RegFlushKey(key);
    RegCloseKey(key);
}

class RegistryTools : public ::testing::Test {
protected:
    void SetUp() override {
        if (binDir().empty()) {
            GTEST_SKIP() << "KESTRIX_BIN_DIR is not set";
        }
    }
    kxtest::TempDevice scratch; // for output files
};

TEST_F(RegistryTools, ExportImportAndReboot) {
    kxtest::TempDevice source;
    setMac(u"Drivers\\CS8900", 0x11);
    const std::u16string text = u"02-7D-E3-12-34-56";
    HKEY parms = nullptr;
    DWORD disposition = 0;
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"Comm\\EMACB1\\Parms", 0, nullptr, 0, 0, nullptr, &parms,
                    &disposition);
    RegSetValueExW(parms, u"NetworkAddress", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.data()),
                   DWORD(text.size() * 2));
    RegCloseKey(parms);

    Result exported = run(tool(source.folder()) + " reg export", scratch.folder());
    ASSERT_EQ(exported.exitCode, 0) << exported.err;
    EXPECT_NE(exported.out.find("[HKEY_LOCAL_MACHINE\\Drivers\\CS8900]\n"
                                "\"MACADD\"=hex:02,7d,e3,00,00,11\n"),
              std::string::npos)
        << exported.out;
    Result one = run(tool(source.folder()) + " reg export 'HKEY_LOCAL_MACHINE\\Comm\\EMACB1'",
                     scratch.folder());
    ASSERT_EQ(one.exitCode, 0) << one.err;
    EXPECT_EQ(one.out.find("CS8900"), std::string::npos);
    EXPECT_NE(one.out.find("\"NetworkAddress\"=hex(1):30,00,32,00"), std::string::npos);

    fs::path file = scratch.folder() / "export.reg";
    writeFile(file, exported.out);
    kxtest::TempDevice target;
    Result imported =
        run(tool(target.folder()) + " reg import " + quote(file.string()), scratch.folder());
    ASSERT_EQ(imported.exitCode, 0) << imported.err;
    EXPECT_EQ(run(tool(target.folder()) + " reg export", scratch.folder()).out, exported.out);

    // Without --save a reboot undoes the import; with it, the import stays.
    Result reboot = run(tool(target.folder()) + " reboot", scratch.folder());
    ASSERT_EQ(reboot.exitCode, 0) << reboot.err;
    EXPECT_NE(reboot.out.find("never saved"), std::string::npos) << reboot.out;
    EXPECT_TRUE(kx::listRegistry().empty());
    ASSERT_EQ(
        run(tool(target.folder()) + " reg import --save " + quote(file.string()), scratch.folder())
            .exitCode,
        0);
    reboot = run(tool(target.folder()) + " reboot", scratch.folder());
    EXPECT_NE(reboot.out.find("saved at"), std::string::npos) << reboot.out;
    EXPECT_EQ(run(tool(target.folder()) + " reg export", scratch.folder()).out, exported.out);
}

TEST_F(RegistryTools, ErrorsSayWhatIsWrongAndChangeNothing) {
    kxtest::TempDevice device;
    setMac(u"Drivers\\CS8900", 0x22);
    kx::saveRegistry("test");
    const std::string before = run(tool(device.folder()) + " reg export", scratch.folder()).out;
    fs::path bad = scratch.folder() / "bad.reg";
    writeFile(bad, "Windows Registry Editor Version 5.00\n\n[-HKEY_LOCAL_MACHINE\\Drivers]\n"
                   "[HKEY_LOCAL_MACHINE\\X]\n\"v\"=dword:nothex\n");
    fs::path missingDevice = device.folder() / "no-such-device";
    struct Case {
        const char* name;
        std::string command;
        std::string message;
    };
    const Case cases[] = {
        {"malformed file", tool(device.folder()) + " reg import --save " + quote(bad.string()),
         "bad.reg: line 5: dword: needs 1 to 8 hexadecimal digits"},
        {"missing file", tool(device.folder()) + " reg import /nonexistent/x.reg",
         "cannot read /nonexistent/x.reg"},
        {"missing key", tool(device.folder()) + " reg export 'HKLM\\Nothing'",
         "no key HKLM\\Nothing"},
        {"bad root", tool(device.folder()) + " reg export HKEY_NOWHERE", "not a registry root"},
        {"missing device, reboot", tool(missingDevice) + " reboot", "does not exist"},
        {"missing device, export", tool(missingDevice) + " reg export", "does not exist"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Result result = run(c.command, scratch.folder());
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.err.rfind("kestrix-device: ", 0), 0u) << result.err;
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
        EXPECT_EQ(run(tool(device.folder()) + " reg export", scratch.folder()).out, before);
        EXPECT_EQ(kx::saveRuns().size(), 1u);
    }
    EXPECT_FALSE(fs::exists(missingDevice));
}

TEST_F(RegistryTools, InstalledSaverFindsItsDevice) {
    kxtest::TempDevice device;
    setMac(u"Drivers\\CS8900", 0x33);
    kx::installRegistrySaver(device.folder(), binDir() + "/saveregs");
    fs::path saver = device.folder() / "root" / "Windows" / "SaveRegs.exe";
    ASSERT_EQ(kx::registrySaverPath(device.folder()), saver);

    // Started as the program starts it: by path, from elsewhere, no variable.
    Result result = run("sh -c 'cd / && exec " + saver.string() + " \"\"'", scratch.folder());
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(result.out.empty() && result.err.empty()) << result.out << result.err;
    auto runs = kx::saveRuns();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].program, "SaveRegs.exe");
    EXPECT_NE(runs[0].pid, int64_t(getpid()));

    setMac(u"Drivers\\CS8900", 0x44); // not saved
    kx::restartRegistry();
    auto keys = kx::listRegistry(u"HKLM\\Drivers\\CS8900");
    ASSERT_EQ(keys[0].values.size(), 1u);
    EXPECT_EQ(keys[0].values[0].data.back(), 0x33);

    // KESTRIX_DEVICE names another device.
    kxtest::TempDevice other;
    result = run("env KESTRIX_DEVICE=" + quote(other.folder().string()) + " " + saver.string(),
                 scratch.folder());
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(kx::saveRuns().size(), 1u);
    device.makeCurrent();
    EXPECT_EQ(kx::saveRuns().size(), 1u);
}

TEST_F(RegistryTools, SaverOutsideADeviceFails) {
    // The build folder's copy lies in no device: it must say so and create
    // no registry anywhere.
    fs::path bin = binDir();
    fs::path wouldBeDevice = bin.parent_path().parent_path();
    bool hadRegistry = fs::exists(wouldBeDevice / "registry.db");
    Result result = run(quote(binDir() + "/saveregs"), scratch.folder());
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("is not an emulated device"), std::string::npos) << result.err;
    EXPECT_EQ(fs::exists(wouldBeDevice / "registry.db"), hadRegistry);
}

} // namespace
