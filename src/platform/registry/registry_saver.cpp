#include "registry/registry_saver.h"

#include <unistd.h>

#include <cstdlib>

#include "common/device.h"
#include "registry/registry_error.h"

namespace kx {

namespace fs = std::filesystem;

fs::path registrySaverPath(const fs::path& deviceFolder) {
    return Device(deviceFolder).rootDir() / "Windows" / "SaveRegs.exe";
}

void installRegistrySaver(const fs::path& deviceFolder, const fs::path& saverBinary) {
    Device device(deviceFolder);
    if (!device.exists()) {
        throw RegistryError(ERROR_PATH_NOT_FOUND,
                            deviceFolder.string() + " is not a device folder (no root folder)");
    }
    std::error_code ec;
    if (!fs::is_regular_file(saverBinary, ec)) {
        throw RegistryError(ERROR_FILE_NOT_FOUND,
                            "the registry-saving program " + saverBinary.string() + " is missing");
    }
    fs::path target = registrySaverPath(deviceFolder);
    fs::path temporary = target;
    temporary += ".tmp" + std::to_string(getpid());
    fs::create_directories(target.parent_path(), ec);
    if (!ec) {
        fs::copy_file(saverBinary, temporary, fs::copy_options::overwrite_existing, ec);
    }
    if (!ec) {
        fs::permissions(temporary,
                        fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                            fs::perms::others_read | fs::perms::others_exec,
                        ec);
    }
    if (!ec) {
        fs::rename(temporary, target, ec);
    }
    if (ec) {
        fs::remove(temporary, ec);
        throw RegistryError(ERROR_CANTWRITE, "cannot install the registry-saving program as " +
                                                 target.string() + ": " + ec.message());
    }
}

fs::path saverDeviceFolder(const fs::path& programFile) {
    if (const char* named = std::getenv("KESTRIX_DEVICE"); named && *named) {
        return fs::absolute(named);
    }
    return fs::absolute(programFile).parent_path().parent_path().parent_path();
}

} // namespace kx
