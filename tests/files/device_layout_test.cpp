// Laying out a device, checked through the file search the board detection
// uses, with the marker paths spelled as the program spells them.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/device.h"
#include "files/device_layout.h"
#include "temp_device.h"

namespace {

namespace fs = std::filesystem;

bool found(const char16_t* path) {
    WIN32_FIND_DATAW data;
    HANDLE h = FindFirstFileW(path, &data);
    if (h == INVALID_HANDLE_VALUE) {
        return false;
    }
    FindClose(h);
    return true;
}

TEST(DeviceLayout, PlacesTheBoardMarker) {
    struct Case {
        const char* board;
        bool card;
        bool bmp, sgx, touch; // which of the three markers are found
    };
    const Case cases[] = {
        {"2410", true, true, false, false},
        {"2450", true, false, false, false},
        {"RDM", false, false, false, true},
        {"RDX", true, false, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.board);
        kxtest::TempDevice scratch;
        fs::path folder = scratch.folder() / "device";
        kx::layOutDevice(folder, {c.board, c.card}, false);
        kx::setCurrentDevice(folder);
        EXPECT_TRUE(found(u"Windows"));
        EXPECT_EQ(found(u"windows\\windowsce.bmp"), c.bmp);
        EXPECT_EQ(found(u"\\windows\\sgx_blit_test.exe"), c.sgx);
        EXPECT_EQ(found(u"windows\\TouchCalibrate1.exe"), c.touch);
        EXPECT_EQ(found(u"Storage Card"), c.card);
        EXPECT_FALSE(fs::exists(folder / ".root.new"));
    }
}

TEST(DeviceLayout, ReplacesAnExistingDeviceOnlyWhenAsked) {
    kxtest::TempDevice scratch;
    fs::path folder = scratch.folder() / "device";
    kx::layOutDevice(folder, {"RDM", true}, false);
    kx::Device device(folder);
    std::ofstream(device.rootDir() / "Storage Card" / "LastMacSetEx.txt") << "kept";
    std::ofstream(device.registryFile()) << "registry";

    EXPECT_THROW(kx::layOutDevice(folder, {"2410", true}, false), kx::DeviceExistsError);
    EXPECT_TRUE(fs::exists(device.rootDir() / "Windows" / "TouchCalibrate1.exe"));
    EXPECT_TRUE(fs::exists(device.rootDir() / "Storage Card" / "LastMacSetEx.txt"));
    EXPECT_FALSE(fs::exists(device.rootDir() / "Windows" / "windowsce.bmp"));

    kx::layOutDevice(folder, {"2410", false}, true);
    EXPECT_TRUE(fs::exists(device.rootDir() / "Windows" / "windowsce.bmp"));
    EXPECT_FALSE(fs::exists(device.rootDir() / "Windows" / "TouchCalibrate1.exe"));
    EXPECT_FALSE(fs::exists(device.rootDir() / "Storage Card"));
    EXPECT_FALSE(fs::exists(device.registryFile()));

    // A registry alone also counts as a device.
    fs::path other = scratch.folder() / "other";
    fs::create_directories(other);
    std::ofstream(kx::Device(other).registryFile()) << "registry";
    EXPECT_THROW(kx::layOutDevice(other, {"2450", true}, false), kx::DeviceExistsError);
    EXPECT_FALSE(fs::exists(kx::Device(other).rootDir()));
}

TEST(DeviceLayout, RejectsUnknownBoardsAndUnusableFolders) {
    kxtest::TempDevice scratch;
    fs::path folder = scratch.folder() / "device";
    for (const char* board : {"rdm", "2451", "", "RDX "}) {
        SCOPED_TRACE(board);
        EXPECT_THROW(kx::layOutDevice(folder, {board, true}, false), std::invalid_argument);
        EXPECT_FALSE(fs::exists(folder));
    }
    fs::path file = scratch.folder() / "file";
    std::ofstream(file) << "x";
    EXPECT_THROW(kx::layOutDevice(file, {"2450", true}, false), std::runtime_error);
}

} // namespace
