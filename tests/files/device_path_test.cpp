// Device path resolution: stored case, the device form of a path, patterns.
#include <gtest/gtest.h>

#include <windows.h>

#include "common/utf.h"
#include "files/device_path.h"
#include "temp_device.h"

namespace {

TEST(DevicePath, ReportsStoredCaseAndDeviceForm) {
    kxtest::TempDevice device;
    device.addFile("Storage Card/LastMacSetEx.txt");
    device.addFolder("Windows");

    struct Case {
        const char16_t* path;
        const char16_t* devicePath;
        bool exists;
        bool isDirectory;
        bool isRoot;
    };
    const Case cases[] = {
        {u"storage card\\lastmacsetex.txt", u"Storage Card\\LastMacSetEx.txt", true, false, false},
        {u"/STORAGE CARD/new.TXT", u"Storage Card\\new.TXT", false, false, false},
        {u"\\Windows\\", u"Windows", true, true, false},
        {u"Windows\\..", u"", true, true, true},
        {u"Windows\\.\\..\\Storage Card\\.", u"Storage Card", true, true, false},
        {u"\\", u"", true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(kx::toUtf8(c.path));
        kx::ResolvedPath r = kx::resolveDevicePath(c.path);
        ASSERT_TRUE(r.ok()) << r.error;
        EXPECT_EQ(r.devicePath, c.devicePath);
        EXPECT_EQ(r.exists, c.exists);
        EXPECT_EQ(r.isDirectory, c.isDirectory);
        EXPECT_EQ(r.isRoot, c.isRoot);
    }
}

TEST(DevicePath, ResolvesAgainstAGivenRootWithoutTheCurrentDevice) {
    kxtest::TempDevice device;
    device.addFile("Windows/SaveRegs.exe");
    kx::ResolvedPath r = kx::resolveDevicePath(u"windows\\saveregs.exe", device.root());
    ASSERT_TRUE(r.ok());
    EXPECT_TRUE(r.exists);
    EXPECT_EQ(r.hostPath(), std::filesystem::canonical(device.root()) / "Windows" / "SaveRegs.exe");

    kx::ResolvedPath missingRoot = kx::resolveDevicePath(u"a", device.folder() / "no-such-root");
    EXPECT_EQ(missingRoot.error, DWORD(ERROR_PATH_NOT_FOUND));
}

TEST(DevicePath, MatchesFindPatterns) {
    struct Case {
        const char16_t* name;
        const char16_t* pattern;
        bool matches;
    };
    const Case cases[] = {
        {u"WindowsCE.bmp", u"*.BMP", true},
        {u"WindowsCE.bmp", u"windows??.bmp", true},
        {u"WindowsCE.bmp", u"windows?.bmp", false},
        {u"a", u"*", true},
        {u"", u"*", true},
        {u"abcabc", u"*abc", true},
        {u"abcab", u"*abc", false},
        {u"a.b.c", u"*.c", true},
        {u"\u00c4rger.txt", u"\u00e4*", true},
        {u"x", u"", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(kx::toUtf8(c.name) + " ~ " + kx::toUtf8(c.pattern));
        EXPECT_EQ(kx::matchesPattern(c.name, c.pattern), c.matches);
    }
}

} // namespace
