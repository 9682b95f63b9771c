// A temporary emulated device for one test: a fresh device folder with an
// empty root, made the current device, removed again at the end.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace kxtest {

class TempDevice {
public:
    TempDevice();
    ~TempDevice();
    TempDevice(const TempDevice&) = delete;
    TempDevice& operator=(const TempDevice&) = delete;

    const std::filesystem::path& folder() const { return m_folder; }
    std::filesystem::path root() const { return m_folder / "root"; }

    // Creates a file below the root, with its folders, holding content.
    std::filesystem::path addFile(std::string_view relative, std::string_view content = "");
    std::filesystem::path addFolder(std::string_view relative);
    // The content of a file below the root; empty when it cannot be read.
    std::string read(std::string_view relative) const;
    bool exists(std::string_view relative) const;

private:
    std::filesystem::path m_folder;
};

} // namespace kxtest
