// FindFirstFileW as the marker probe uses it, and the find record and
// search handle life cycle.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/utf.h"
#include "temp_device.h"

namespace {

namespace fs = std::filesystem;

struct Link {
    const char* link;   // below the root
    const char* target; // below the device folder
};

struct LookupCase {
    const char* name;
    std::vector<const char*> files;   // below the root
    std::vector<const char*> folders; // below the root
    std::vector<Link> links;
    std::u16string query;
    DWORD error;               // 0: found
    const char16_t* foundName; // the name in the find record
};

std::u16string longPath(size_t length) {
    std::u16string p = u"Windows\\";
    p.append(length - p.size(), u'a');
    return p;
}

const LookupCase kLookups[] = {
    {"exact case",
     {"Windows/windowsce.bmp"},
     {},
     {},
     u"windows\\windowsce.bmp",
     0,
     u"windowsce.bmp"},
    {"stored case differs",
     {"Windows/WindowsCE.bmp"},
     {},
     {},
     u"windows\\windowsce.bmp",
     0,
     u"WindowsCE.bmp"},
    {"leading backslash",
     {"Windows/sgx_blit_test.exe"},
     {},
     {},
     u"\\windows\\sgx_blit_test.exe",
     0,
     u"sgx_blit_test.exe"},
    {"upper case query",
     {"windows/TouchCalibrate1.exe"},
     {},
     {},
     u"WINDOWS\\TOUCHCALIBRATE1.EXE",
     0,
     u"TouchCalibrate1.exe"},
    {"forward slashes",
     {"Windows/windowsce.bmp"},
     {},
     {},
     u"/Windows/windowsce.bmp",
     0,
     u"windowsce.bmp"},
    {"doubled separators",
     {"Windows/windowsce.bmp"},
     {},
     {},
     u"\\\\Windows\\\\windowsce.bmp",
     0,
     u"windowsce.bmp"},
    {"folder as marker",
     {},
     {"Windows/windowsce.bmp"},
     {},
     u"windows\\windowsce.bmp",
     0,
     u"windowsce.bmp"},
    {"dot dot inside root",
     {"Windows/windowsce.bmp"},
     {},
     {},
     u"Windows\\..\\Windows\\.\\windowsce.bmp",
     0,
     u"windowsce.bmp"},
    {"link inside root",
     {"Windows/real.bmp"},
     {},
     {{"Windows/windowsce.bmp", "root/Windows/real.bmp"}},
     u"windows\\windowsce.bmp",
     0,
     u"windowsce.bmp"},
    {"absent",
     {"Windows/other.bmp"},
     {},
     {},
     u"windows\\windowsce.bmp",
     ERROR_FILE_NOT_FOUND,
     nullptr},
    {"absent folder", {}, {}, {}, u"windows\\windowsce.bmp", ERROR_PATH_NOT_FOUND, nullptr},
    {"file used as folder",
     {"Windows"},
     {},
     {},
     u"windows\\windowsce.bmp",
     ERROR_PATH_NOT_FOUND,
     nullptr},
    {"dot dot past root", {}, {}, {}, u"..\\outside\\windowsce.bmp", ERROR_PATH_NOT_FOUND, nullptr},
    {"dot dot past root later",
     {"Windows/x"},
     {},
     {},
     u"Windows\\..\\..\\outside\\windowsce.bmp",
     ERROR_PATH_NOT_FOUND,
     nullptr},
    {"link to a file outside",
     {},
     {"Windows"},
     {{"Windows/windowsce.bmp", "outside/windowsce.bmp"}},
     u"windows\\windowsce.bmp",
     ERROR_FILE_NOT_FOUND,
     nullptr},
    {"link to a folder outside",
     {},
     {},
     {{"Windows", "outside"}},
     u"windows\\windowsce.bmp",
     ERROR_PATH_NOT_FOUND,
     nullptr},
    {"dangling link",
     {},
     {"Windows"},
     {{"Windows/windowsce.bmp", "nowhere/x.bmp"}},
     u"windows\\windowsce.bmp",
     ERROR_FILE_NOT_FOUND,
     nullptr},
    {"longest path", {}, {"Windows"}, {}, longPath(259), ERROR_FILE_NOT_FOUND, nullptr},
    {"over-long path", {}, {"Windows"}, {}, longPath(260), ERROR_FILENAME_EXCED_RANGE, nullptr},
    {"invalid character", {}, {"Windows"}, {}, u"Windows\\a<b.bmp", ERROR_INVALID_NAME, nullptr},
    {"the root itself", {}, {"Windows"}, {}, u"\\", ERROR_FILE_NOT_FOUND, nullptr},
    {"empty path", {}, {"Windows"}, {}, u"", ERROR_PATH_NOT_FOUND, nullptr},
    {"wildcard",
     {"Windows/TouchCalibrate1.exe"},
     {},
     {},
     u"windows\\touch*.EXE",
     0,
     u"TouchCalibrate1.exe"},
    {"wildcard without match",
     {"Windows/a.bmp"},
     {},
     {},
     u"windows\\*.exe",
     ERROR_FILE_NOT_FOUND,
     nullptr},
};

TEST(FindFirstFile, LooksUpMarkerPaths) {
    for (const LookupCase& c : kLookups) {
        SCOPED_TRACE(c.name);
        kxtest::TempDevice device;
        // Everything a test may try to reach outside the root.
        fs::create_directories(device.folder() / "outside");
        std::ofstream(device.folder() / "outside" / "windowsce.bmp") << "outside";
        for (const char* f : c.folders) {
            device.addFolder(f);
        }
        for (const char* f : c.files) {
            device.addFile(f, "marker");
        }
        for (const Link& l : c.links) {
            fs::create_directories((device.root() / l.link).parent_path());
            fs::create_symlink(device.folder() / l.target, device.root() / l.link);
        }

        WIN32_FIND_DATAW data;
        std::memset(&data, 0xEF, sizeof data);
        SetLastError(0xdeadbeef);
        HANDLE h = FindFirstFileW(c.query.c_str(), &data);
        if (c.error == 0) {
            ASSERT_NE(h, INVALID_HANDLE_VALUE) << "error " << GetLastError();
            EXPECT_EQ(std::u16string(data.cFileName), c.foundName);
            EXPECT_TRUE(FindClose(h));
        } else {
            EXPECT_EQ(h, INVALID_HANDLE_VALUE);
            EXPECT_EQ(GetLastError(), c.error);
        }
    }
}

TEST(FindFirstFile, FillsTheWholeRecord) {
    kxtest::TempDevice device;
    device.addFile("Storage Card/LastMacSetEx.txt", std::string(12, 'x'));
    device.addFolder("Windows");

    struct Expect {
        const char16_t* query;
        DWORD attributes;
        DWORD size;
    };
    const Expect expects[] = {
        {u"storage card\\lastmacsetex.txt", FILE_ATTRIBUTE_NORMAL, 12},
        {u"WINDOWS", FILE_ATTRIBUTE_DIRECTORY, 0},
    };
    for (const Expect& e : expects) {
        SCOPED_TRACE(kx::toUtf8(e.query));
        WIN32_FIND_DATAW data;
        std::memset(&data, 0xEF, sizeof data);
        HANDLE h = FindFirstFileW(e.query, &data);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        EXPECT_EQ(data.dwFileAttributes, e.attributes);
        EXPECT_EQ(data.nFileSizeHigh, 0u);
        EXPECT_EQ(data.nFileSizeLow, e.size);
        EXPECT_EQ(data.dwOID, 0u);
        EXPECT_NE(data.ftLastWriteTime.dwHighDateTime, 0xEFEFEFEFu);
        EXPECT_GT(data.ftLastWriteTime.dwHighDateTime, 0u);
        size_t length = std::char_traits<char16_t>::length(data.cFileName);
        // The rest of the name buffer is cleared, not left as it was.
        for (size_t i = length; i < MAX_PATH; ++i) {
            ASSERT_EQ(data.cFileName[i], 0) << "at " << i;
        }
        EXPECT_TRUE(FindClose(h));
    }
}

TEST(FindFirstFile, ListsWildcardMatchesInNameOrder) {
    kxtest::TempDevice device;
    device.addFile("Windows/b.exe");
    device.addFile("Windows/A.exe");
    device.addFile("Windows/c.txt");
    device.addFolder("Windows/d.exe");
    fs::create_directories(device.folder() / "outside");
    fs::create_symlink(device.folder() / "outside", device.root() / "Windows" / "e.exe");

    struct Expect {
        const char16_t* pattern;
        std::vector<std::u16string> names;
    };
    const Expect expects[] = {
        {u"Windows\\*.exe", {u"A.exe", u"b.exe", u"d.exe"}},
        {u"Windows\\?.EXE", {u"A.exe", u"b.exe", u"d.exe"}},
        {u"Windows\\*", {u"A.exe", u"b.exe", u"c.txt", u"d.exe"}},
        {u"Windows\\*.*", {u"A.exe", u"b.exe", u"c.txt", u"d.exe"}},
        {u"Windows\\c*", {u"c.txt"}},
    };
    for (const Expect& e : expects) {
        SCOPED_TRACE(kx::toUtf8(e.pattern));
        WIN32_FIND_DATAW data;
        HANDLE h = FindFirstFileW(e.pattern, &data);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        std::vector<std::u16string> names{data.cFileName};
        while (FindNextFileW(h, &data)) {
            names.emplace_back(data.cFileName);
        }
        EXPECT_EQ(GetLastError(), DWORD(ERROR_NO_MORE_FILES));
        EXPECT_EQ(names, e.names);
        EXPECT_TRUE(FindClose(h));
    }
}

TEST(FindFirstFile, RejectsBadArgumentsAndHandles) {
    kxtest::TempDevice device;
    device.addFile("a.txt");
    WIN32_FIND_DATAW data;

    SetLastError(0);
    EXPECT_EQ(FindFirstFileW(nullptr, &data), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    SetLastError(0);
    EXPECT_EQ(FindFirstFileW(u"a.txt", nullptr), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));

    HANDLE search = FindFirstFileW(u"a.txt", &data);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    // A search is released by FindClose only.
    SetLastError(0);
    EXPECT_FALSE(CloseHandle(search));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(FindNextFileW(search, nullptr));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    EXPECT_TRUE(FindClose(search));

    HANDLE file = CreateFileW(u"a.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    const HANDLE bad[] = {search, INVALID_HANDLE_VALUE, nullptr, reinterpret_cast<HANDLE>(0x1234),
                          file};
    for (size_t i = 0; i < std::size(bad); ++i) {
        SCOPED_TRACE("handle " + std::to_string(i));
        SetLastError(0);
        EXPECT_FALSE(FindNextFileW(bad[i], &data));
        EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
        SetLastError(0);
        EXPECT_FALSE(FindClose(bad[i]));
        EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
    }
    EXPECT_TRUE(CloseHandle(file));
}

} // namespace
