#include "common/device.h"

#include <cstdlib>
#include <memory>

namespace kx {

Device::Device(std::filesystem::path folder) : m_folder(std::move(folder)) {}

bool Device::exists() const {
    std::error_code ec;
    return std::filesystem::is_directory(rootDir(), ec);
}

std::filesystem::path defaultDeviceFolder() {
    if (const char* named = std::getenv("KESTRIX_DEVICE"); named && *named) {
        return std::filesystem::path(named);
    }
    const char* home = std::getenv("HOME");
    std::filesystem::path base = home && *home ? std::filesystem::path(home) : "/tmp";
    return base / ".local" / "share" / "kestrix" / "device";
}

namespace {
std::unique_ptr<Device>& slot() {
    static std::unique_ptr<Device> device;
    return device;
}
} // namespace

const Device& currentDevice() {
    if (!slot()) {
        slot() = std::make_unique<Device>(defaultDeviceFolder());
    }
    return *slot();
}

void setCurrentDevice(const std::filesystem::path& folder) {
    slot() = std::make_unique<Device>(folder);
}

} // namespace kx
