// Laying out a new emulated device: the device folder, the root of its file
// system with the board family's marker file, and the storage card folder.
//
// It does not touch the registry beyond removing an old one when a device is
// replaced: the registry's part of a new device is laid out by the registry's
// own code.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kx {

// The board family names, as the program shows them: 2410, 2450, RDM, RDX.
const std::vector<std::string>& boardNames();
bool isBoardName(std::string_view board);
// The device path of the family's marker file; empty for "2450", which has
// none. Throws std::invalid_argument for an unknown board.
std::u16string boardMarkerPath(std::string_view board);

// The name of the storage card's folder below the root.
inline constexpr char16_t kStorageCardFolder[] = u"Storage Card";

struct DeviceLayout {
    std::string board = "2450";
    bool storageCard = true;
};

// Thrown when the folder already holds a device and replacing was not asked.
class DeviceExistsError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Lays out the folder as a new device. When it already holds a device (a
// root or a registry), replace says whether the old root and registry are
// removed first; otherwise DeviceExistsError is thrown and nothing changes.
// The new root is built beside the old one and swapped in at the end, so a
// failure leaves the old device as it was. Throws std::invalid_argument for
// an unknown board and std::runtime_error, naming the path, when the host
// refuses.
void layOutDevice(const std::filesystem::path& folder, const DeviceLayout& layout, bool replace);

} // namespace kx
