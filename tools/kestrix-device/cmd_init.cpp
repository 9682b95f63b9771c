// kestrix-device init: lays out a new emulated device.
#include <iostream>
#include <memory>

#include "commands.h"
#include "common/utf.h"
#include "files/device_layout.h"
#include "registry/registry_admin.h"
#include "registry/registry_saver.h"

namespace kxtool {

namespace {

// The key in which the family's Ethernet driver keeps its settings, as the
// family's system image holds it; empty for RDX, whose image has none.
std::u16string driverKeyOf(const std::string& board) {
    if (board == "2410") {
        return u"HKEY_LOCAL_MACHINE\\Drivers\\CS8900";
    }
    if (board == "2450") {
        return u"HKEY_LOCAL_MACHINE\\Comm\\SMSC91181";
    }
    if (board == "RDM") {
        return u"HKEY_LOCAL_MACHINE\\Comm\\EMACB1\\Parms";
    }
    return u"";
}

std::filesystem::path saverBinary() {
    std::error_code ec;
    return std::filesystem::read_symlink("/proc/self/exe", ec).parent_path() / "saveregs";
}

std::string joinedBoardNames() {
    std::string joined;
    for (const std::string& name : kx::boardNames()) {
        joined += (joined.empty() ? "" : ", ") + name;
    }
    return joined;
}

} // namespace

bool initDevice(ToolContext& ctx, const InitOptions& options, std::ostream& report) {
    if (!kx::isBoardName(options.board)) {
        fail(ctx, "unknown board \"" + options.board + "\"; use one of " + joinedBoardNames());
        return false;
    }
    std::filesystem::path folder = ctx.deviceFolder();
    kx::DeviceLayout layout{options.board, !options.noCard};
    try {
        kx::layOutDevice(folder, layout, options.force);
    } catch (const kx::DeviceExistsError&) {
        fail(ctx, "the folder " + folder.string() +
                      " already holds a device; nothing was changed. Use --force to lay it "
                      "out anew (its files and registry are removed)");
        return false;
    } catch (const std::exception& e) {
        fail(ctx, e.what());
        return false;
    }

    // The registry of the system image: the driver's key (unless --bare),
    // saved once so that a restart keeps it, and the registry-saving program.
    std::u16string driverKey = driverKeyOf(options.board);
    try {
        kx::selectDevice(folder);
        std::vector<std::u16string> keys;
        if (!options.bare && !driverKey.empty()) {
            keys.push_back(driverKey);
        }
        kx::initRegistry(keys, "kestrix-device init");
        kx::installRegistrySaver(folder, saverBinary());
    } catch (const std::exception& e) {
        fail(ctx, std::string("the device's registry could not be laid out: ") + e.what());
        return false;
    }

    std::u16string marker = kx::boardMarkerPath(options.board);
    report << "Created device " << folder.string() << ": board " << options.board << ", "
           << (marker.empty() ? std::string("no marker file") : "marker " + kx::toUtf8(marker))
           << ", " << (options.noCard ? "no storage card" : "storage card") << ", "
           << (options.bare || driverKey.empty() ? std::string("no driver key")
                                                 : "driver key " + kx::toUtf8(driverKey))
           << ", Windows\\SaveRegs.exe\n";
    return true;
}

void addInitCommand(CLI::App& app, ToolContext& ctx) {
    auto options = std::make_shared<InitOptions>();
    CLI::App* cmd = app.add_subcommand(
        "init",
        "Lays out a new emulated device in the device folder: the root of its file system with "
        "a Windows folder, the marker file by which Kestrix recognises the board family, and a "
        "\"Storage Card\" folder for the card.\n\nBoard families and their marker files:\n"
        "  2410  Windows\\windowsce.bmp\n"
        "  2450  none (what Kestrix assumes when it finds no marker)\n"
        "  RDM   Windows\\TouchCalibrate1.exe\n"
        "  RDX   Windows\\sgx_blit_test.exe\n\n"
        "The registry holds the key of the family's Ethernet driver (unless --bare), saved once "
        "so that a restart keeps it:\n"
        "  2410  HKEY_LOCAL_MACHINE\\Drivers\\CS8900\n"
        "  2450  HKEY_LOCAL_MACHINE\\Comm\\SMSC91181\n"
        "  RDM   HKEY_LOCAL_MACHINE\\Comm\\EMACB1\\Parms\n"
        "  RDX   none\n"
        "and the registry-saving program is installed as Windows\\SaveRegs.exe.\n\n"
        "An existing device is left alone unless --force is given; with --force its root and "
        "registry are removed and the device is laid out anew.");
    cmd->add_option("--board", options->board,
                    "Board family, exactly as written: 2410, 2450, RDM or RDX")
        ->type_name("BOARD");
    cmd->add_flag("--no-card", options->noCard, "Lay the device out without a storage card");
    cmd->add_flag("--bare", options->bare, "Leave the Ethernet driver's key out of the registry");
    cmd->add_flag("--force", options->force,
                  "Replace an existing device, removing its files and registry");
    cmd->callback([options, &ctx] { initDevice(ctx, *options, std::cout); });
}

} // namespace kxtool
