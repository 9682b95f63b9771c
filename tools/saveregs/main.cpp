// saveregs: the emulated device's registry-saving program. Installed as
// <device>/root/Windows/SaveRegs.exe, it saves the device's live registry as
// the one a restart goes back to, records the run, and exits 0. On failure it
// says why on standard error and exits 1. KESTRIX_DEVICE names the device
// folder instead of the program's location.
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <iostream>

#include "common/device.h"
#include "registry/registry_admin.h"
#include "registry/registry_saver.h"

namespace {

std::filesystem::path ownFile(const char* argv0) {
    std::error_code ec;
    auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::absolute(argv0) : self;
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::cout << "SaveRegs.exe: saves the emulated device's live registry as the one a "
                     "restart goes back to.\nIts device is the folder two levels above the "
                     "program's folder (<device>/root/Windows/SaveRegs.exe),\nor KESTRIX_DEVICE "
                     "when set. Other arguments are ignored.\n";
        return 0;
    }
    try {
        std::filesystem::path folder = kx::saverDeviceFolder(ownFile(argc > 0 ? argv[0] : ""));
        kx::Device device(folder);
        if (!device.exists()) {
            std::cerr << "SaveRegs: " << folder.string()
                      << " is not an emulated device (it has no root folder)\n";
            return 1;
        }
        kx::setCurrentDevice(folder);
        kx::saveRegistry("SaveRegs.exe");
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "SaveRegs: cannot save the registry: " << e.what() << "\n";
        return 1;
    }
}
