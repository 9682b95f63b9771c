// DeleteFileW and MoveFileW.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "temp_device.h"

namespace {

namespace fs = std::filesystem;

// Every case starts from this device: Windows/a.txt ("a"), Windows/b.txt
// ("b"), Windows/Sub/, Windows/ro.txt (read-only), Windows/open.txt (held
// open), Windows/out.txt (a link to a file outside the root), and
// outside/secret.txt beside the root.
struct Layout {
    kxtest::TempDevice device;
    HANDLE held = INVALID_HANDLE_VALUE;

    Layout() {
        device.addFile("Windows/a.txt", "a");
        device.addFile("Windows/b.txt", "b");
        device.addFolder("Windows/Sub");
        fs::path ro = device.addFile("Windows/ro.txt", "ro");
        fs::permissions(ro, fs::perms::owner_read);
        device.addFile("Windows/open.txt", "open");
        fs::create_directories(device.folder() / "outside");
        std::ofstream(device.folder() / "outside" / "secret.txt") << "secret";
        fs::create_symlink(device.folder() / "outside" / "secret.txt",
                           device.root() / "Windows" / "out.txt");
        held = CreateFileW(u"Windows\\open.txt", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    ~Layout() { CloseHandle(held); }
    bool outsideIntact() const {
        return fs::exists(device.folder() / "outside" / "secret.txt") &&
               !fs::exists(device.folder() / "outside" / "moved.txt");
    }
};

TEST(DeleteFile, RemovesOnlyWhatItMay) {
    struct Case {
        const char* name;
        const char16_t* path;
        DWORD error; // 0: deleted
        const char* gone;
    };
    const Case cases[] = {
        {"a file", u"Windows\\a.txt", 0, "Windows/a.txt"},
        {"another case", u"\\WINDOWS\\A.TXT", 0, "Windows/a.txt"},
        {"missing", u"Windows\\c.txt", ERROR_FILE_NOT_FOUND, nullptr},
        {"missing folder", u"Nope\\a.txt", ERROR_PATH_NOT_FOUND, nullptr},
        {"a folder", u"Windows\\Sub", ERROR_ACCESS_DENIED, nullptr},
        {"read-only", u"Windows\\ro.txt", ERROR_ACCESS_DENIED, nullptr},
        {"held open", u"Windows\\open.txt", ERROR_SHARING_VIOLATION, nullptr},
        {"above the root", u"..\\outside\\secret.txt", ERROR_PATH_NOT_FOUND, nullptr},
        {"link leading out", u"Windows\\out.txt", ERROR_FILE_NOT_FOUND, nullptr},
        {"no name", nullptr, ERROR_INVALID_PARAMETER, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Layout layout;
        ASSERT_NE(layout.held, INVALID_HANDLE_VALUE);
        SetLastError(0xdeadbeef);
        EXPECT_EQ(DeleteFileW(c.path) != 0, c.error == 0);
        if (c.error != 0) {
            EXPECT_EQ(GetLastError(), c.error);
        }
        for (const char* kept : {"Windows/a.txt", "Windows/b.txt", "Windows/Sub", "Windows/ro.txt",
                                 "Windows/open.txt", "Windows/out.txt"}) {
            bool shouldExist = !(c.gone && std::string(c.gone) == kept);
            EXPECT_EQ(layout.device.exists(kept), shouldExist) << kept;
        }
        EXPECT_TRUE(layout.outsideIntact());
    }
}

TEST(MoveFile, RenamesWithoutReplacing) {
    struct Case {
        const char* name;
        const char16_t* from;
        const char16_t* to;
        DWORD error;         // 0: moved
        const char* movedTo; // host path below the root after a move
    };
    const Case cases[] = {
        {"rename", u"Windows\\a.txt", u"Windows\\c.txt", 0, "Windows/c.txt"},
        {"into a folder", u"windows\\a.txt", u"WINDOWS\\SUB\\a.txt", 0, "Windows/Sub/a.txt"},
        {"a folder", u"Windows\\Sub", u"Sub2", 0, "Sub2"},
        {"change of case", u"Windows\\a.txt", u"windows\\A.TXT", 0, "Windows/A.TXT"},
        {"onto an existing file", u"Windows\\a.txt", u"Windows\\B.txt", ERROR_ALREADY_EXISTS,
         nullptr},
        {"missing source", u"Windows\\c.txt", u"Windows\\d.txt", ERROR_FILE_NOT_FOUND, nullptr},
        {"missing target folder", u"Windows\\a.txt", u"Nope\\a.txt", ERROR_PATH_NOT_FOUND, nullptr},
        {"held open", u"Windows\\open.txt", u"Windows\\c.txt", ERROR_SHARING_VIOLATION, nullptr},
        {"out of the root", u"Windows\\a.txt", u"..\\outside\\moved.txt", ERROR_PATH_NOT_FOUND,
         nullptr},
        {"folder into itself", u"Windows", u"Windows\\Sub\\Windows", ERROR_ACCESS_DENIED, nullptr},
        {"no target", u"Windows\\a.txt", nullptr, ERROR_INVALID_PARAMETER, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Layout layout;
        SetLastError(0xdeadbeef);
        EXPECT_EQ(MoveFileW(c.from, c.to) != 0, c.error == 0);
        if (c.error != 0) {
            EXPECT_EQ(GetLastError(), c.error);
            EXPECT_EQ(layout.device.read("Windows/a.txt"), "a");
            EXPECT_EQ(layout.device.read("Windows/b.txt"), "b");
        } else {
            EXPECT_TRUE(fs::exists(layout.device.root() / c.movedTo));
        }
        EXPECT_TRUE(layout.outsideIntact());
    }
}

TEST(MoveFile, ChangeOfCaseKeepsOneEntry) {
    kxtest::TempDevice device;
    device.addFile("Windows/a.txt", "a");
    ASSERT_TRUE(MoveFileW(u"Windows\\a.txt", u"Windows\\A.txt"));
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(device.root() / "Windows")) {
        names.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(names, std::vector<std::string>{"A.txt"});
}

} // namespace
