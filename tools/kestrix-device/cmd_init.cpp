// kestrix-device init: lays out a new emulated device.
#include <iostream>
#include <memory>

#include "commands.h"
#include "common/utf.h"
#include "files/device_layout.h"

namespace kxtool {

namespace {

struct InitOptions {
    std::string board = "2450";
    bool noCard = false;
    bool force = false;
};

std::string joinedBoardNames() {
    std::string joined;
    for (const std::string& name : kx::boardNames()) {
        joined += (joined.empty() ? "" : ", ") + name;
    }
    return joined;
}

void runInit(const InitOptions& options, ToolContext& ctx) {
    if (!kx::isBoardName(options.board)) {
        fail(ctx, "unknown board \"" + options.board + "\"; use one of " + joinedBoardNames());
        return;
    }
    std::filesystem::path folder = ctx.deviceFolder();
    kx::DeviceLayout layout{options.board, !options.noCard};
    try {
        kx::layOutDevice(folder, layout, options.force);
    } catch (const kx::DeviceExistsError&) {
        fail(ctx, "the folder " + folder.string() +
                      " already holds a device; nothing was changed. Use --force to lay it "
                      "out anew (its files and registry are removed)");
        return;
    } catch (const std::exception& e) {
        fail(ctx, e.what());
        return;
    }

    // The registry of a new device (the Ethernet drivers' keys, the
    // registry-saving program) is laid out by the registry's own step, which
    // belongs here, after the file system.

    std::u16string marker = kx::boardMarkerPath(options.board);
    std::cout << "Created device " << folder.string() << ": board " << options.board << ", "
              << (marker.empty() ? std::string("no marker file") : "marker " + kx::toUtf8(marker))
              << ", " << (options.noCard ? "no storage card" : "storage card") << "\n";
}

} // namespace

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
        "An existing device is left alone unless --force is given; with --force its root and "
        "registry are removed and the device is laid out anew.");
    cmd->add_option("--board", options->board,
                    "Board family, exactly as written: 2410, 2450, RDM or RDX")
        ->type_name("BOARD");
    cmd->add_flag("--no-card", options->noCard, "Lay the device out without a storage card");
    cmd->add_flag("--force", options->force,
                  "Replace an existing device, removing its files and registry");
    cmd->callback([options, &ctx] { runInit(*options, ctx); });
}

} // namespace kxtool
