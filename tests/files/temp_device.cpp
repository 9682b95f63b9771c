#include "temp_device.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "common/device.h"

namespace kxtest {

namespace fs = std::filesystem;

TempDevice::TempDevice() {
    std::string pattern = (fs::temp_directory_path() / "kestrix-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
        throw std::runtime_error("cannot make a temporary device folder");
    }
    m_folder = pattern;
    fs::create_directories(root());
    kx::setCurrentDevice(m_folder);
}

TempDevice::~TempDevice() {
    std::error_code ec;
    fs::remove_all(m_folder, ec);
}

fs::path TempDevice::addFile(std::string_view relative, std::string_view content) {
    fs::path p = root() / relative;
    fs::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << content;
    return p;
}

fs::path TempDevice::addFolder(std::string_view relative) {
    fs::path p = root() / relative;
    fs::create_directories(p);
    return p;
}

std::string TempDevice::read(std::string_view relative) const {
    std::ifstream in(root() / relative, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool TempDevice::exists(std::string_view relative) const {
    std::error_code ec;
    return fs::exists(fs::symlink_status(root() / relative, ec));
}

} // namespace kxtest
