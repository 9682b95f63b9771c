// Board detection from the marker files of the device's file system.
#include <gtest/gtest.h>

#include "scripted_run.h"

using kxtest::TempDevice;

namespace {

std::string hardwareLabel(const TempDevice& device) {
    kxtest::ScriptRun run = kxtest::runScript(device, "dump\n");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    return kxtest::control(run.lastDump(), "IDC_HWTYPE_LABEL")["text"];
}

} // namespace

TEST(Detection, TheFirstMarkerFoundDecides) {
    struct Case {
        const char* name;
        const char* board;
        std::vector<const char*> files; // extra files below the root
        std::vector<const char*> folders;
        const char* code;
    } cases[] = {
        {"no marker", "2450", {}, {}, "2450"},
        {"2410 board", "2410", {}, {}, "2410"},
        {"RDX board", "RDX", {}, {}, "RDX"},
        {"RDM board", "RDM", {}, {}, "RDM"},
        {"2410 and RDX markers", "2410", {"Windows/sgx_blit_test.exe"}, {}, "2410"},
        {"RDX and RDM markers", "RDM", {"Windows/sgx_blit_test.exe"}, {}, "RDX"},
        {"names in another case", "2450", {"WINDOWS/WindowsCE.BMP"}, {}, "2410"},
        {"a folder as marker", "2450", {}, {"Windows/TouchCalibrate1.exe"}, "RDM"},
        {"marker in another folder", "2450", {"Storage Card/windowsce.bmp"}, {}, "2450"},
        {"marker at the root", "2450", {"sgx_blit_test.exe"}, {}, "2450"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDevice device(std::string("--board ") + c.board);
        for (const char* file : c.files) {
            kxtest::writeFile(device.root() / file, "marker");
        }
        for (const char* folder : c.folders) {
            std::filesystem::create_directories(device.root() / folder);
        }
        EXPECT_EQ(hardwareLabel(device), std::string("Auto detected H/W type : ") + c.code);
    }
}

// A marker that is only a link to a file outside the device does not count.
TEST(Detection, MarkersOutsideTheDeviceAreNotFound) {
    TempDevice device;
    std::filesystem::path outside = device.folder().parent_path() / "windowsce.bmp";
    kxtest::writeFile(outside, "outside");
    std::filesystem::create_directories(device.root() / "Windows");
    std::filesystem::create_symlink(outside, device.root() / "Windows" / "windowsce.bmp");
    std::filesystem::create_directory_symlink(device.folder().parent_path(),
                                              device.root() / "escape");
    EXPECT_EQ(hardwareLabel(device), "Auto detected H/W type : 2450");
}
