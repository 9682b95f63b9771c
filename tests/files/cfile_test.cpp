// The class library's file object: how its open flags reach CreateFileW, and
// the file exception it throws when the file fails after the open.
#include <afxwin.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <string>

#include "scoped_env.h"
#include "temp_device.h"

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE;

// Whether another handle with this access (sharing everything itself) can
// open the file: tells the sharing the file object asked for.
bool otherCanOpen(const char16_t* path, DWORD access) {
    HANDLE h = CreateFileW(path, access, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(h);
    return true;
}

// Runs an operation; the cause of the file exception it threw, or -1.
template <class Op> int causeOf(Op op) {
    try {
        op();
    } catch (CFileException* e) {
        int cause = e->m_cause;
        e->Delete();
        return cause;
    }
    return -1;
}

struct FlagCase {
    const char* name;
    UINT flags;
    bool exists;
    bool opens;
    const char* contentAfterOpen; // nullptr: no file
    bool reads, writes;
    bool othersRead, othersWrite;
};

const FlagCase kFlags[] = {
    {"read, deny none (64)", CFile::modeRead | CFile::shareDenyNone, true, true, "old", true, false,
     true, true},
    {"read, deny none, missing", CFile::modeRead | CFile::shareDenyNone, false, false, nullptr,
     false, false, false, false},
    {"create, write (4097)", CFile::modeCreate | CFile::modeWrite, true, true, "", false, true,
     false, false},
    {"create, write, missing", CFile::modeCreate | CFile::modeWrite, false, true, "", false, true,
     false, false},
    {"read-write, exclusive", CFile::modeReadWrite | CFile::shareExclusive, true, true, "old", true,
     true, false, false},
    {"read, deny write", CFile::modeRead | CFile::shareDenyWrite, true, true, "old", true, false,
     true, false},
    {"write, deny read", CFile::modeWrite | CFile::shareDenyRead, true, true, "old", false, true,
     false, true},
    {"create, no truncate", CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite, true,
     true, "old", true, true, false, false},
    {"create, no truncate, missing",
     CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite | CFile::shareDenyNone, false,
     true, "", false, true, true, true},
    {"access bits 3", 3, true, false, "old", false, false, true, true},
};

TEST(CFile, MapsOpenFlagsToCreateFile) {
    for (const FlagCase& c : kFlags) {
        SCOPED_TRACE(c.name);
        kxtest::TempDevice device;
        device.addFolder("Storage Card");
        if (c.exists) {
            device.addFile("Storage Card/LastMacSetEx.txt", "old");
        }
        const char16_t* path = u"Storage Card\\LastMacSetEx.txt";
        CFile file;
        ASSERT_EQ(file.Open(path, c.flags) != 0, c.opens);
        if (c.contentAfterOpen) {
            EXPECT_EQ(device.read("Storage Card/LastMacSetEx.txt"), c.contentAfterOpen);
        } else {
            EXPECT_FALSE(device.exists("Storage Card/LastMacSetEx.txt"));
        }
        if (!c.opens) {
            EXPECT_EQ(file.m_hFile, INVALID_HANDLE_VALUE);
            continue;
        }
        EXPECT_EQ(otherCanOpen(path, GENERIC_READ), c.othersRead);
        EXPECT_EQ(otherCanOpen(path, GENERIC_WRITE), c.othersWrite);
        char buffer[4];
        EXPECT_EQ(causeOf([&] { file.Read(buffer, 1); }) == -1, c.reads);
        EXPECT_EQ(causeOf([&] { file.Write("x", 1); }) == -1, c.writes);
        file.Close();
        EXPECT_EQ(file.m_hFile, INVALID_HANDLE_VALUE);
    }
}

TEST(CFile, WritesAndReadsTheLastEntryAsTheProgramDoes) {
    kxtest::TempDevice device;
    device.addFolder("Storage Card");
    const char16_t digits[] = u"1A2B3C";
    {
        CFile out;
        ASSERT_TRUE(
            out.Open(u"Storage Card\\LastMacSetEx.txt", CFile::modeCreate | CFile::modeWrite));
        out.Write(digits, 12);
        out.Close();
    }
    EXPECT_EQ(device.read("Storage Card/LastMacSetEx.txt"), std::string("1\0A\0"
                                                                        "2\0B\0"
                                                                        "3\0C\0",
                                                                        12));

    CFile in;
    ASSERT_TRUE(in.Open(u"Storage Card\\LastMacSetEx.txt", CFile::modeRead | CFile::shareDenyNone));
    DWORD length = in.GetLength();
    EXPECT_EQ(length, 12u);
    EXPECT_EQ(in.Seek(0, CFile::begin), 0);
    char16_t buffer[7] = {};
    EXPECT_EQ(in.Read(buffer, length), 12u);
    EXPECT_EQ(std::u16string(buffer), digits);
    in.Close();

    CFile cut;
    ASSERT_TRUE(cut.Open(u"Storage Card\\LastMacSetEx.txt", CFile::modeReadWrite));
    cut.SetLength(4);
    EXPECT_EQ(cut.GetLength(), 4u);
    cut.Close();
    EXPECT_EQ(device.read("Storage Card/LastMacSetEx.txt"), std::string("1\0A\0", 4));
}

TEST(CFile, OpenReportsFailureOnlyByItsResult) {
    kxtest::TempDevice device;
    CFile file;
    CFileException error(CFileException::none, 0xdead);
    EXPECT_FALSE(file.Open(u"Storage Card\\LastMacSetEx.txt", CFile::modeRead, &error));
    EXPECT_EQ(error.m_cause, CFileException::badPath);
    EXPECT_EQ(error.m_lOsError, LONG(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(error.m_strFileName.str(), u"Storage Card\\LastMacSetEx.txt");
    EXPECT_FALSE(
        file.Open(u"Storage Card\\LastMacSetEx.txt", CFile::modeCreate | CFile::modeWrite));

    // One file at a time: a second open of an open object fails and keeps it.
    device.addFile("a.txt", "a");
    ASSERT_TRUE(file.Open(u"a.txt", CFile::modeRead));
    HANDLE h = file.m_hFile;
    EXPECT_FALSE(file.Open(u"a.txt", CFile::modeRead));
    EXPECT_EQ(file.m_hFile, h);
}

TEST(CFile, ThrowsWhenTheFileFailsAfterTheOpen) {
    struct Case {
        const char* name;
        const char* faults;
        int cause;
        LONG osError;
        std::function<void(CFile&)> op;
    };
    const Case cases[] = {
        {"write on a full card", "write-full:Storage Card", CFileException::diskFull,
         ERROR_DISK_FULL, [](CFile& f) { f.Write("123456789012", 12); }},
        {"short write", "write-short:Storage Card", CFileException::diskFull, -1,
         [](CFile& f) { f.Write("123456789012", 12); }},
        {"read error", "read-error:Storage Card", CFileException::hardIO, ERROR_READ_FAULT,
         [](CFile& f) {
             char b[4];
             f.Read(b, 4);
         }},
        {"seek before the start", "", CFileException::badSeek, ERROR_NEGATIVE_SEEK,
         [](CFile& f) { f.Seek(-1, CFile::begin); }},
        {"seek with an unknown origin", "", CFileException::genericException,
         ERROR_INVALID_PARAMETER, [](CFile& f) { f.Seek(0, 9); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        kxtest::TempDevice device;
        device.addFile("Storage Card/LastMacSetEx.txt", "0123");
        CFile file;
        ASSERT_TRUE(file.Open(u"Storage Card\\LastMacSetEx.txt",
                              CFile::modeReadWrite | CFile::shareDenyNone));
        kxtest::ScopedEnv faults("KESTRIX_FAULTS", c.faults);
        std::unique_ptr<CFileException, void (*)(CFileException*)> thrown(
            nullptr, [](CFileException* e) { e->Delete(); });
        try {
            c.op(file);
        } catch (CFileException* e) {
            thrown.reset(e);
        }
        ASSERT_TRUE(thrown) << "no exception";
        EXPECT_EQ(thrown->m_cause, c.cause);
        EXPECT_EQ(thrown->m_lOsError, c.osError);
        EXPECT_EQ(thrown->m_strFileName.str(), u"Storage Card\\LastMacSetEx.txt");
    }
}

TEST(CFile, OperationsOnAClosedObjectThrowAndTheDestructorCloses) {
    kxtest::TempDevice device;
    device.addFile("a.txt", "abc");
    CFile closed;
    EXPECT_EQ(causeOf([&] { closed.GetLength(); }), CFileException::invalidFile);
    EXPECT_EQ(causeOf([&] { closed.Write("x", 1); }), CFileException::invalidFile);
    EXPECT_EQ(causeOf([&] { closed.Close(); }), -1) << "closing a closed object does nothing";
    {
        CFile held;
        ASSERT_TRUE(held.Open(u"a.txt", CFile::modeWrite | CFile::shareExclusive));
        EXPECT_FALSE(otherCanOpen(u"a.txt", GENERIC_READ));
    }
    EXPECT_TRUE(otherCanOpen(u"a.txt", GENERIC_READ));
}

TEST(CFileException, DescribesTheErrorWithTheFileName) {
    struct Case {
        int cause;
        const char16_t* fileName;
        const char16_t* text;
    };
    const Case cases[] = {
        {CFileException::diskFull, u"Storage Card\\LastMacSetEx.txt",
         u"Storage Card\\LastMacSetEx.txt: the storage is full."},
        {CFileException::hardIO, u"a.txt", u"a.txt: the storage reported a hardware error."},
        {CFileException::diskFull, nullptr, u"The storage is full."},
        {99, u"a.txt", u"a.txt: an unexpected error occurred."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cause);
        CFileException e(c.cause, -1, c.fileName);
        TCHAR text[128];
        std::fill(std::begin(text), std::end(text), u'\xFFFF');
        UINT help = 0xdeadbeef;
        ASSERT_TRUE(e.GetErrorMessage(text, 128, &help));
        EXPECT_EQ(std::u16string(text), c.text);
        EXPECT_EQ(help, 0u);
    }

    CFileException e(CFileException::diskFull, -1, u"a.txt");
    TCHAR small[6];
    small[5] = u'\xABAB';
    ASSERT_TRUE(e.GetErrorMessage(small, 5));
    EXPECT_EQ(std::u16string(small), u"a.tx");
    EXPECT_EQ(small[5], u'\xABAB') << "nothing written past the given size";
    EXPECT_FALSE(e.GetErrorMessage(nullptr, 5));
}

} // namespace
