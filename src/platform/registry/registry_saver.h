// The stand-in for the device's registry-saving program ("SaveRegs.exe"):
// where it sits on a device, how it is put there, and how it finds its
// device again when it runs.
//
// The host program is self-contained (it loads nothing from the build tree),
// so installing it is a plain file copy; this module does not start it.
#pragma once

#include <filesystem>

namespace kx {

// <device>/root/Windows/SaveRegs.exe
std::filesystem::path registrySaverPath(const std::filesystem::path& deviceFolder);

// Copies the host build of the registry-saving program onto the device
// (replacing an older copy atomically) and makes it executable. Throws
// RegistryError when the device has no root folder or the copy fails.
void installRegistrySaver(const std::filesystem::path& deviceFolder,
                          const std::filesystem::path& saverBinary);

// The device of a running saver: KESTRIX_DEVICE when set, else the folder two
// levels above the one that holds the program file.
std::filesystem::path saverDeviceFolder(const std::filesystem::path& programFile);

} // namespace kx
