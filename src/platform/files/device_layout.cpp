#include "files/device_layout.h"

#include <fstream>
#include <system_error>

#include "common/device.h"
#include "common/utf.h"

namespace kx {

namespace fs = std::filesystem;

namespace {

struct Board {
    const char* name;
    const char16_t* marker; // device path, or empty
};

constexpr Board kBoards[] = {
    {"2410", u"Windows\\windowsce.bmp"},
    {"2450", u""},
    {"RDM", u"Windows\\TouchCalibrate1.exe"},
    {"RDX", u"Windows\\sgx_blit_test.exe"},
};

const Board* findBoard(std::string_view name) {
    for (const Board& board : kBoards) {
        if (name == board.name) {
            return &board;
        }
    }
    return nullptr;
}

[[noreturn]] void hostFailure(const std::string& what, const fs::path& where,
                              const std::error_code& ec) {
    throw std::runtime_error("cannot " + what + " " + where.string() + ": " + ec.message());
}

void makeFolder(const fs::path& p) {
    std::error_code ec;
    fs::create_directories(p, ec);
    if (ec) {
        hostFailure("create the folder", p, ec);
    }
}

fs::path hostPathOf(const fs::path& root, std::u16string_view devicePath) {
    fs::path p = root;
    size_t start = 0;
    while (start <= devicePath.size()) {
        size_t cut = devicePath.find(u'\\', start);
        std::u16string_view part = devicePath.substr(start, cut - start);
        if (!part.empty()) {
            p /= toUtf8(part);
        }
        if (cut == std::u16string_view::npos) {
            break;
        }
        start = cut + 1;
    }
    return p;
}

void writeMarker(const fs::path& file, const std::string& board) {
    makeFolder(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << "Kestrix emulated device: marker file of the " << board << " board family.\n";
    out.close();
    if (!out) {
        hostFailure("write the marker file", file, std::make_error_code(std::errc::io_error));
    }
}

void removeAll(const fs::path& p) {
    std::error_code ec;
    fs::remove_all(p, ec);
    if (ec) {
        hostFailure("remove", p, ec);
    }
}

} // namespace

const std::vector<std::string>& boardNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> v;
        for (const Board& board : kBoards) {
            v.emplace_back(board.name);
        }
        return v;
    }();
    return names;
}

bool isBoardName(std::string_view board) {
    return findBoard(board) != nullptr;
}

std::u16string boardMarkerPath(std::string_view board) {
    const Board* found = findBoard(board);
    if (!found) {
        throw std::invalid_argument("unknown board \"" + std::string(board) +
                                    "\" (known: 2410, 2450, RDM, RDX)");
    }
    return found->marker;
}

void layOutDevice(const fs::path& folder, const DeviceLayout& layout, bool replace) {
    std::u16string marker = boardMarkerPath(layout.board);
    Device device(folder);
    std::error_code ec;
    bool hasRegistry = fs::exists(device.registryFile(), ec);
    if ((device.exists() || hasRegistry) && !replace) {
        throw DeviceExistsError("the folder " + folder.string() + " already holds a device");
    }
    if (fs::exists(folder, ec) && !fs::is_directory(folder, ec)) {
        throw std::runtime_error("cannot use " + folder.string() +
                                 " as a device folder: " + "it is not a folder");
    }
    makeFolder(folder);

    fs::path fresh = folder / ".root.new";
    removeAll(fresh);
    makeFolder(fresh / "Windows");
    if (!marker.empty()) {
        writeMarker(hostPathOf(fresh, marker), layout.board);
    }
    if (layout.storageCard) {
        makeFolder(hostPathOf(fresh, kStorageCardFolder));
    }

    if (replace) {
        // The registry database with the side files its engine may leave.
        for (const char* suffix : {"", "-journal", "-wal", "-shm"}) {
            fs::path file = device.registryFile();
            file += suffix;
            fs::remove(file, ec);
            if (ec) {
                hostFailure("remove", file, ec);
            }
        }
        removeAll(device.rootDir());
    }
    fs::rename(fresh, device.rootDir(), ec);
    if (ec) {
        hostFailure("move the new root into place at", device.rootDir(), ec);
    }
}

} // namespace kx
