// Reading, writing, positioning and handle checks of open files, and the
// storage faults that make them fail after the open.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <thread>
#include <string>
#include <vector>

#include "files/fault_injection.h"
#include "scoped_env.h"
#include "temp_device.h"

namespace {

constexpr DWORD kMarker = 0xdeadbeef;
constexpr unsigned char kGuard = 0xAB;

HANDLE openFile(const char16_t* path, DWORD access, DWORD disposition = OPEN_EXISTING) {
    return CreateFileW(path, access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, disposition,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

TEST(FileIo, WritesAndReadsBackWithinTheBuffer) {
    kxtest::TempDevice device;
    device.addFolder("Storage Card");
    HANDLE w = openFile(u"Storage Card\\LastMacSetEx.txt", GENERIC_WRITE, CREATE_ALWAYS);
    ASSERT_NE(w, INVALID_HANDLE_VALUE);
    const char data[] = "1\0A\0"
                        "2\0B\0"
                        "3\0C\0";
    DWORD written = kMarker;
    ASSERT_TRUE(WriteFile(w, data, 12, &written, nullptr));
    EXPECT_EQ(written, 12u);
    EXPECT_TRUE(FlushFileBuffers(w));
    EXPECT_TRUE(CloseHandle(w));

    HANDLE r = openFile(u"storage card\\lastmacsetex.txt", GENERIC_READ);
    ASSERT_NE(r, INVALID_HANDLE_VALUE);
    DWORD high = kMarker;
    EXPECT_EQ(GetFileSize(r, &high), 12u);
    EXPECT_EQ(high, 0u);
    unsigned char buffer[13];
    std::memset(buffer, 0, sizeof buffer);
    buffer[12] = kGuard;
    DWORD read = kMarker;
    // Asking for more than there is reads what there is and stops.
    ASSERT_TRUE(ReadFile(r, buffer, 12, &read, nullptr));
    EXPECT_EQ(read, 12u);
    EXPECT_EQ(std::memcmp(buffer, data, 12), 0);
    EXPECT_EQ(buffer[12], kGuard);
    read = kMarker;
    ASSERT_TRUE(ReadFile(r, buffer, 12, &read, nullptr));
    EXPECT_EQ(read, 0u) << "at the end of the file";
    EXPECT_TRUE(CloseHandle(r));
}

TEST(FileIo, MovesTheFilePointer) {
    struct Case {
        const char* name;
        LONG startAt;
        LONG distance;
        DWORD method;
        DWORD expected; // INVALID_SET_FILE_POINTER: fails
        DWORD error;
    };
    const Case cases[] = {
        {"from the start", 0, 3, FILE_BEGIN, 3, 0},
        {"from the current", 3, 2, FILE_CURRENT, 5, 0},
        {"back from the end", 0, -1, FILE_END, 9, 0},
        {"past the end", 0, 10, FILE_END, 20, 0},
        {"before the start", 4, -1, FILE_BEGIN, INVALID_SET_FILE_POINTER, ERROR_NEGATIVE_SEEK},
        {"before the start from here", 4, -5, FILE_CURRENT, INVALID_SET_FILE_POINTER,
         ERROR_NEGATIVE_SEEK},
        {"unknown method", 4, 0, 7, INVALID_SET_FILE_POINTER, ERROR_INVALID_PARAMETER},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        kxtest::TempDevice device;
        device.addFile("a.bin", "0123456789");
        HANDLE h = openFile(u"a.bin", GENERIC_READ);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        ASSERT_EQ(SetFilePointer(h, c.startAt, nullptr, FILE_BEGIN), DWORD(c.startAt));
        SetLastError(kMarker);
        EXPECT_EQ(SetFilePointer(h, c.distance, nullptr, c.method), c.expected);
        if (c.error != 0) {
            EXPECT_EQ(GetLastError(), c.error);
            // A failed move leaves the pointer where it was.
            EXPECT_EQ(SetFilePointer(h, 0, nullptr, FILE_CURRENT), DWORD(c.startAt));
        }
        CloseHandle(h);
    }
}

TEST(FileIo, MovesTheFilePointerWithAHighPart) {
    kxtest::TempDevice device;
    device.addFile("a.bin", "0123456789");
    HANDLE h = openFile(u"a.bin", GENERIC_READ);
    LONG high = 0;
    EXPECT_EQ(SetFilePointer(h, 7, &high, FILE_BEGIN), 7u);
    EXPECT_EQ(high, 0);
    high = 1;
    EXPECT_EQ(SetFilePointer(h, 2, &high, FILE_BEGIN), 2u);
    EXPECT_EQ(high, 1) << "4 GiB + 2";
    EXPECT_EQ(SetFilePointer(h, 0, nullptr, FILE_CURRENT), INVALID_SET_FILE_POINTER)
        << "the position does not fit without a high part";
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    CloseHandle(h);
}

TEST(FileIo, SetEndOfFileCutsAtThePointer) {
    kxtest::TempDevice device;
    device.addFile("a.bin", "0123456789");
    HANDLE h = openFile(u"a.bin", GENERIC_READ | GENERIC_WRITE);
    SetFilePointer(h, 4, nullptr, FILE_BEGIN);
    EXPECT_TRUE(SetEndOfFile(h));
    EXPECT_EQ(GetFileSize(h, nullptr), 4u);
    CloseHandle(h);
    EXPECT_EQ(device.read("a.bin"), "0123");
}

TEST(FileIo, RefusesWhatTheHandleWasNotOpenedFor) {
    kxtest::TempDevice device;
    device.addFile("a.bin", "0123456789");
    HANDLE reader = openFile(u"a.bin", GENERIC_READ);
    HANDLE writer = openFile(u"a.bin", GENERIC_WRITE);
    char buffer[4];
    DWORD count = kMarker;
    EXPECT_FALSE(WriteFile(reader, "x", 1, &count, nullptr));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ACCESS_DENIED));
    EXPECT_EQ(count, 0u);
    EXPECT_FALSE(SetEndOfFile(reader));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ACCESS_DENIED));
    count = kMarker;
    EXPECT_FALSE(ReadFile(writer, buffer, 4, &count, nullptr));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ACCESS_DENIED));
    EXPECT_EQ(count, 0u);

    // Overlapped requests and missing counts are not supported.
    OVERLAPPED* overlapped = reinterpret_cast<OVERLAPPED*>(buffer);
    EXPECT_FALSE(ReadFile(reader, buffer, 4, &count, overlapped));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(WriteFile(writer, "x", 1, nullptr, nullptr));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(ReadFile(reader, nullptr, 4, &count, nullptr));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    CloseHandle(reader);
    CloseHandle(writer);
    EXPECT_EQ(device.read("a.bin"), "0123456789");
}

TEST(FileIo, EveryServiceRejectsHandlesThatAreNotOpenFiles) {
    kxtest::TempDevice device;
    device.addFile("a.bin", "0123456789");
    HANDLE closed = openFile(u"a.bin", GENERIC_READ);
    ASSERT_TRUE(CloseHandle(closed));
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(u"a.bin", &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);

    const std::pair<const char*, HANDLE> handles[] = {
        {"closed", closed},      {"INVALID_HANDLE_VALUE", INVALID_HANDLE_VALUE},
        {"null", nullptr},       {"made up", reinterpret_cast<HANDLE>(0x4242)},
        {"find search", search},
    };
    char buffer[4];
    DWORD count;
    LONG high;
    const std::pair<const char*, std::function<bool(HANDLE)>> services[] = {
        {"ReadFile", [&](HANDLE h) { return ReadFile(h, buffer, 4, &count, nullptr) != 0; }},
        {"WriteFile", [&](HANDLE h) { return WriteFile(h, "x", 1, &count, nullptr) != 0; }},
        {"GetFileSize", [&](HANDLE h) { return GetFileSize(h, &count) != INVALID_FILE_SIZE; }},
        {"SetFilePointer",
         [&](HANDLE h) {
             high = 0;
             return SetFilePointer(h, 0, &high, FILE_BEGIN) != INVALID_SET_FILE_POINTER;
         }},
        {"SetEndOfFile", [&](HANDLE h) { return SetEndOfFile(h) != 0; }},
        {"FlushFileBuffers", [&](HANDLE h) { return FlushFileBuffers(h) != 0; }},
        {"CloseHandle", [&](HANDLE h) { return CloseHandle(h) != 0; }},
    };
    for (const auto& [serviceName, call] : services) {
        for (const auto& [handleName, h] : handles) {
            SCOPED_TRACE(std::string(serviceName) + " on a " + handleName + " handle");
            SetLastError(kMarker);
            EXPECT_FALSE(call(h));
            EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
        }
    }
    EXPECT_TRUE(FindClose(search));
    EXPECT_EQ(device.read("a.bin"), "0123456789");
}

TEST(FileIo, LastErrorBelongsToTheThread) {
    SetLastError(5);
    DWORD seen = kMarker;
    std::thread([&] { seen = GetLastError(); }).join();
    EXPECT_EQ(seen, 0u);
    EXPECT_EQ(GetLastError(), 5u);
}

// ---------------------------------------------------------------- faults

TEST(StorageFaults, FailWritesAndReadsAfterTheOpen) {
    struct Case {
        const char* faults;
        const char16_t* path;
        bool writeOk;
        DWORD writeError;
        DWORD written;
        bool readOk;
        DWORD readError;
    };
    const Case cases[] = {
        {"write-full:Storage Card", u"Storage Card\\LastMacSetEx.txt", false, ERROR_DISK_FULL, 0,
         true, 0},
        {"write-full:\\storage card\\", u"STORAGE CARD\\x.txt", false, ERROR_DISK_FULL, 0, true, 0},
        {"write-full", u"Windows\\x.txt", false, ERROR_DISK_FULL, 0, true, 0},
        {"write-full:Storage Card", u"Windows\\x.txt", true, 0, 12, true, 0},
        {"write-full:Storage", u"Storage Card\\x.txt", true, 0, 12, true, 0},
        {"write-short:Storage Card", u"Storage Card\\x.txt", true, 0, 6, true, 0},
        {"read-error:Storage Card/LastMacSetEx.txt", u"Storage Card\\LastMacSetEx.txt", true, 0, 12,
         false, ERROR_READ_FAULT},
        {"bogus;read-error:Storage Card", u"Storage Card\\x.txt", true, 0, 12, false,
         ERROR_READ_FAULT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.faults);
        kxtest::TempDevice device;
        device.addFolder("Storage Card");
        device.addFolder("Windows");
        HANDLE h = CreateFileW(c.path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        kxtest::ScopedEnv faults("KESTRIX_FAULTS", c.faults);
        DWORD count = kMarker;
        SetLastError(0);
        EXPECT_EQ(WriteFile(h, "0123456789AB", 12, &count, nullptr) != 0, c.writeOk);
        EXPECT_EQ(count, c.written);
        if (!c.writeOk) {
            EXPECT_EQ(GetLastError(), c.writeError);
        }
        EXPECT_EQ(GetFileSize(h, nullptr), c.written) << "nothing beyond what was reported";
        SetFilePointer(h, 0, nullptr, FILE_BEGIN);
        char buffer[16];
        count = kMarker;
        SetLastError(0);
        EXPECT_EQ(ReadFile(h, buffer, sizeof buffer, &count, nullptr) != 0, c.readOk);
        if (!c.readOk) {
            EXPECT_EQ(GetLastError(), c.readError);
            EXPECT_EQ(count, 0u);
        }
        CloseHandle(h);
    }
}

TEST(StorageFaults, WriteProtectRefusesEveryChange) {
    kxtest::TempDevice device;
    device.addFile("Storage Card/LastMacSetEx.txt", "kept");
    device.addFile("Windows/free.txt", "free");
    kxtest::ScopedEnv faults("KESTRIX_FAULTS", "write-protect:Storage Card");

    const std::pair<DWORD, DWORD> refused[] = {
        {GENERIC_WRITE, OPEN_EXISTING},
        {GENERIC_READ, CREATE_ALWAYS},
        {GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS},
    };
    for (const auto& [access, disposition] : refused) {
        SCOPED_TRACE("access " + std::to_string(access) + " disposition " +
                     std::to_string(disposition));
        SetLastError(0);
        EXPECT_EQ(CreateFileW(u"storage card\\LastMacSetEx.txt", access, 0, nullptr, disposition,
                              FILE_ATTRIBUTE_NORMAL, nullptr),
                  INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), DWORD(ERROR_ACCESS_DENIED));
    }
    EXPECT_EQ(CreateFileW(u"Storage Card\\new.txt", GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                          FILE_ATTRIBUTE_NORMAL, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_FALSE(DeleteFileW(u"Storage Card\\LastMacSetEx.txt"));
    EXPECT_FALSE(MoveFileW(u"Windows\\free.txt", u"Storage Card\\free.txt"));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ACCESS_DENIED));

    HANDLE reader = openFile(u"Storage Card\\LastMacSetEx.txt", GENERIC_READ);
    EXPECT_NE(reader, INVALID_HANDLE_VALUE) << "reading stays possible";
    CloseHandle(reader);
    EXPECT_EQ(device.read("Storage Card/LastMacSetEx.txt"), "kept");
    EXPECT_FALSE(device.exists("Storage Card/new.txt"));
    EXPECT_EQ(device.read("Windows/free.txt"), "free");
}

TEST(StorageFaults, ParsesTheSwitch) {
    struct Case {
        const char* text;
        size_t faults;
        size_t problems;
        const char16_t* firstPrefix;
    };
    const Case cases[] = {
        {"", 0, 0, nullptr},
        {"write-full", 1, 0, u""},
        {" write-full : /Storage Card/ ", 1, 0, u"Storage Card"},
        {"read-error:a\\\\b;;write-short:c", 2, 0, u"a\\b"},
        {"write-fool:x;read-error", 1, 1, u""},
        {"WRITE-FULL", 0, 1, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::vector<std::string> problems;
        std::vector<kx::Fault> faults = kx::parseFaults(c.text, &problems);
        EXPECT_EQ(faults.size(), c.faults);
        EXPECT_EQ(problems.size(), c.problems);
        if (c.firstPrefix && !faults.empty()) {
            EXPECT_EQ(faults[0].prefix, c.firstPrefix);
        }
    }
}

} // namespace
