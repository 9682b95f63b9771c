// The emulated device: a host folder that holds the device's file-system root
// and its registry database. Every service that touches the device's storage
// goes through the device that start-up made current.
#pragma once

#include <filesystem>
#include <string>

namespace kx {

class Device {
public:
    explicit Device(std::filesystem::path folder);

    // The device folder itself.
    const std::filesystem::path& folder() const { return m_folder; }
    // The host folder that stands for the root of the device's file system.
    std::filesystem::path rootDir() const { return m_folder / "root"; }
    // The registry database (live and saved registry).
    std::filesystem::path registryFile() const { return m_folder / "registry.db"; }
    // Whether the folder has been laid out as a device.
    bool exists() const;

private:
    std::filesystem::path m_folder;
};

// The device folder named by KESTRIX_DEVICE, or the default
// ~/.local/share/kestrix/device.
std::filesystem::path defaultDeviceFolder();

// The device that the running program's services use. Until one is set, the
// default device folder is used.
const Device& currentDevice();
void setCurrentDevice(const std::filesystem::path& folder);

} // namespace kx
