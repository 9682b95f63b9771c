// A throw-away emulated device for one test: a fresh folder with a root
// folder, made the current device, removed again at the end.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "common/device.h"

namespace kxtest {

class TempDevice {
public:
    TempDevice() {
        std::string pattern = (std::filesystem::temp_directory_path() / "kx-reg-XXXXXX").string();
        char* made = mkdtemp(pattern.data());
        if (!made) {
            ADD_FAILURE() << "mkdtemp failed";
            return;
        }
        m_folder = made;
        std::filesystem::create_directories(m_folder / "root");
        kx::setCurrentDevice(m_folder);
    }
    ~TempDevice() {
        std::error_code ec;
        std::filesystem::remove_all(m_folder, ec);
    }
    TempDevice(const TempDevice&) = delete;
    TempDevice& operator=(const TempDevice&) = delete;

    const std::filesystem::path& folder() const { return m_folder; }
    void makeCurrent() const { kx::setCurrentDevice(m_folder); }

private:
    std::filesystem::path m_folder;
};

} // namespace kxtest
