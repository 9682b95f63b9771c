// CreateFileW: dispositions, sharing between handles, argument checks.
#include <windows.h>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "temp_device.h"

namespace {

namespace fs = std::filesystem;

constexpr DWORD kReadWrite = GENERIC_READ | GENERIC_WRITE;
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE;

struct DispositionCase {
    const char* name;
    DWORD disposition;
    bool exists;
    bool opens;
    DWORD lastError;          // after the call, success or not
    const char* contentAfter; // nullptr: no file afterwards
};

const DispositionCase kDispositions[] = {
    {"CREATE_NEW on a file", CREATE_NEW, true, false, ERROR_FILE_EXISTS, "old"},
    {"CREATE_ALWAYS on a file", CREATE_ALWAYS, true, true, ERROR_ALREADY_EXISTS, ""},
    {"OPEN_EXISTING on a file", OPEN_EXISTING, true, true, 0, "old"},
    {"OPEN_ALWAYS on a file", OPEN_ALWAYS, true, true, ERROR_ALREADY_EXISTS, "old"},
    {"TRUNCATE_EXISTING on a file", TRUNCATE_EXISTING, true, true, 0, ""},
    {"CREATE_NEW without file", CREATE_NEW, false, true, 0, ""},
    {"CREATE_ALWAYS without file", CREATE_ALWAYS, false, true, 0, ""},
    {"OPEN_EXISTING without file", OPEN_EXISTING, false, false, ERROR_FILE_NOT_FOUND, nullptr},
    {"OPEN_ALWAYS without file", OPEN_ALWAYS, false, true, 0, ""},
    {"TRUNCATE_EXISTING without file", TRUNCATE_EXISTING, false, false, ERROR_FILE_NOT_FOUND,
     nullptr},
};

TEST(CreateFile, AppliesEachDisposition) {
    for (const DispositionCase& c : kDispositions) {
        SCOPED_TRACE(c.name);
        kxtest::TempDevice device;
        device.addFolder("Storage Card");
        if (c.exists) {
            device.addFile("Storage Card/LastMacSetEx.txt", "old");
        }
        SetLastError(0xdeadbeef);
        HANDLE h = CreateFileW(u"storage card\\LastMacSetEx.txt", kReadWrite, 0, nullptr,
                               c.disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
        EXPECT_EQ(GetLastError(), c.lastError);
        EXPECT_EQ(h != INVALID_HANDLE_VALUE, c.opens);
        if (h != INVALID_HANDLE_VALUE) {
            EXPECT_TRUE(CloseHandle(h));
        }
        if (c.contentAfter) {
            EXPECT_EQ(device.read("Storage Card/LastMacSetEx.txt"), c.contentAfter);
        } else {
            EXPECT_FALSE(device.exists("Storage Card/LastMacSetEx.txt"));
        }
    }
}

TEST(CreateFile, CreatesWithTheCaseGivenInsideTheStoredFolder) {
    kxtest::TempDevice device;
    device.addFolder("storage card");
    HANDLE h = CreateFileW(u"\\Storage Card\\LastMacSetEx.txt", GENERIC_WRITE, 0, nullptr,
                           CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(CloseHandle(h));
    EXPECT_TRUE(fs::exists(device.root() / "storage card" / "LastMacSetEx.txt"));
    EXPECT_FALSE(fs::exists(device.root() / "Storage Card"));
}

struct ShareCase {
    const char* name;
    DWORD firstAccess, firstShare;
    DWORD secondAccess, secondShare;
    bool secondOpens;
};

const ShareCase kShares[] = {
    {"two readers sharing all", GENERIC_READ, kShareAll, GENERIC_READ, kShareAll, true},
    {"writer after a sharing reader", GENERIC_READ, kShareAll, GENERIC_WRITE, 0, false},
    {"reader after an exclusive writer", GENERIC_WRITE, 0, GENERIC_READ, kShareAll, false},
    {"readers sharing read", GENERIC_READ, FILE_SHARE_READ, GENERIC_READ, FILE_SHARE_READ, true},
    {"writer denied by deny-write", GENERIC_READ, FILE_SHARE_READ, GENERIC_WRITE, kShareAll, false},
    {"crossed read and write", GENERIC_WRITE, FILE_SHARE_READ, GENERIC_READ, FILE_SHARE_WRITE,
     true},
    {"second denies first's write", GENERIC_WRITE, FILE_SHARE_READ, GENERIC_READ, FILE_SHARE_READ,
     false},
    {"no access but no sharing", 0, 0, GENERIC_READ, kShareAll, false},
    {"no access after a sharing reader", GENERIC_READ, kShareAll, 0, kShareAll, true},
    {"read-write pair sharing all", kReadWrite, kShareAll, kReadWrite, kShareAll, true},
};

TEST(CreateFile, EnforcesShareModesBetweenHandles) {
    for (const ShareCase& c : kShares) {
        SCOPED_TRACE(c.name);
        kxtest::TempDevice device;
        device.addFile("a.txt", "x");
        HANDLE first = CreateFileW(u"a.txt", c.firstAccess, c.firstShare, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(first, INVALID_HANDLE_VALUE);
        SetLastError(0xdeadbeef);
        HANDLE second = CreateFileW(u"A.TXT", c.secondAccess, c.secondShare, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        EXPECT_EQ(second != INVALID_HANDLE_VALUE, c.secondOpens);
        if (second == INVALID_HANDLE_VALUE) {
            EXPECT_EQ(GetLastError(), DWORD(ERROR_SHARING_VIOLATION));
        } else {
            EXPECT_TRUE(CloseHandle(second));
        }
        EXPECT_TRUE(CloseHandle(first));
        // Once the first handle is gone nothing stands in the way.
        HANDLE again = CreateFileW(u"a.txt", c.secondAccess, c.secondShare, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
        EXPECT_NE(again, INVALID_HANDLE_VALUE);
        CloseHandle(again);
    }
}

TEST(CreateFile, RefusedCreateAlwaysLeavesTheHeldFileIntact) {
    kxtest::TempDevice device;
    device.addFile("a.txt", "kept");
    HANDLE reader = CreateFileW(u"a.txt", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    EXPECT_EQ(CreateFileW(u"a.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                          nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_SHARING_VIOLATION));
    EXPECT_EQ(device.read("a.txt"), "kept");
    CloseHandle(reader);
}

TEST(CreateFile, LocksAgainstOtherProcesses) {
    kxtest::TempDevice device;
    fs::path host = device.addFile("a.txt", "x");

    // A handle that shares nothing keeps other processes out.
    HANDLE exclusive = CreateFileW(u"a.txt", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(exclusive, INVALID_HANDLE_VALUE);
    int other = ::open(host.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(other, 0);
    EXPECT_NE(::flock(other, LOCK_SH | LOCK_NB), 0);
    CloseHandle(exclusive);
    EXPECT_EQ(::flock(other, LOCK_SH | LOCK_NB), 0);

    // Another process holding the file: no exclusive open, a sharing one is fine.
    EXPECT_EQ(CreateFileW(u"a.txt", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                          nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_SHARING_VIOLATION));
    HANDLE sharing = CreateFileW(u"a.txt", GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(sharing, INVALID_HANDLE_VALUE);
    CloseHandle(sharing);
    ::close(other);
}

TEST(CreateFile, RejectsBadRequestsWithoutChangingAnything) {
    struct Case {
        const char* name;
        const char16_t* path;
        DWORD access, share, disposition;
        DWORD error;
    };
    const Case cases[] = {
        {"no name", nullptr, GENERIC_READ, 0, OPEN_EXISTING, ERROR_INVALID_PARAMETER},
        {"unknown access bit", u"a.txt", 0x1, 0, OPEN_EXISTING, ERROR_INVALID_PARAMETER},
        {"unknown share bit", u"a.txt", GENERIC_READ, 0x10, OPEN_EXISTING, ERROR_INVALID_PARAMETER},
        {"disposition 0", u"a.txt", GENERIC_READ, 0, 0, ERROR_INVALID_PARAMETER},
        {"disposition 6", u"a.txt", GENERIC_READ, 0, 6, ERROR_INVALID_PARAMETER},
        {"truncate without write", u"a.txt", GENERIC_READ, 0, TRUNCATE_EXISTING,
         ERROR_INVALID_PARAMETER},
        {"a folder", u"Windows", GENERIC_READ, 0, OPEN_EXISTING, ERROR_ACCESS_DENIED},
        {"the root", u"\\", GENERIC_READ, 0, OPEN_ALWAYS, ERROR_ACCESS_DENIED},
        {"missing folder", u"Nope\\a.txt", GENERIC_WRITE, 0, CREATE_ALWAYS, ERROR_PATH_NOT_FOUND},
        {"outside the root", u"..\\a.txt", GENERIC_WRITE, 0, CREATE_ALWAYS, ERROR_PATH_NOT_FOUND},
        {"wildcard in name", u"b*.txt", GENERIC_WRITE, 0, CREATE_ALWAYS, ERROR_INVALID_NAME},
        {"read-only file for writing", u"ro.txt", GENERIC_WRITE, 0, OPEN_EXISTING,
         ERROR_ACCESS_DENIED},
        {"read-only file replaced", u"ro.txt", GENERIC_READ, 0, CREATE_ALWAYS, ERROR_ACCESS_DENIED},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        kxtest::TempDevice device;
        device.addFile("a.txt", "a");
        device.addFolder("Windows");
        fs::path ro = device.addFile("ro.txt", "ro");
        fs::permissions(ro, fs::perms::owner_read | fs::perms::group_read);
        SetLastError(0);
        EXPECT_EQ(CreateFileW(c.path, c.access, c.share, nullptr, c.disposition,
                              FILE_ATTRIBUTE_NORMAL, nullptr),
                  INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), c.error);
        EXPECT_EQ(device.read("a.txt"), "a");
        EXPECT_EQ(device.read("ro.txt"), "ro");
        EXPECT_FALSE(fs::exists(device.folder() / "a.txt"));
        EXPECT_FALSE(device.exists("Nope"));
    }
}

} // namespace
