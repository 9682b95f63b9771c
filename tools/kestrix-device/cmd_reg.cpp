// kestrix-device reg export|import: the device's live registry as a registry
// file, and back.
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>

#include "commands.h"
#include "common/utf.h"
#include "registry/reg_file.h"
#include "registry/registry_admin.h"
#include "registry/registry_error.h"

namespace kxtool {

namespace {

struct ImportOptions {
    std::string file;
    bool save = false;
    bool replace = false;
};

void runExport(ToolContext& ctx, const std::string& key) {
    try {
        kx::selectDevice(ctx.deviceFolder());
        std::cout << kx::formatRegFile(kx::listRegistry(kx::fromUtf8(key)));
    } catch (const std::exception& e) {
        fail(ctx, e.what());
    }
}

void runImport(ToolContext& ctx, const ImportOptions& options) {
    try {
        kx::selectDevice(ctx.deviceFolder());
        std::ifstream in(options.file, std::ios::binary);
        if (!in) {
            fail(ctx, "cannot read " + options.file);
            return;
        }
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::vector<kx::RegistryChange> changes;
        try {
            changes = kx::parseRegFile(bytes);
        } catch (const kx::RegFileError& e) {
            fail(ctx, options.file + ": " + e.what() + " (nothing was imported)");
            return;
        }
        try {
            kx::importRegistry(changes,
                               options.replace ? kx::ImportMode::Replace : kx::ImportMode::Merge);
        } catch (const kx::RegistryError& e) {
            fail(ctx, options.file + ": " + e.what() + " (nothing was imported)");
            return;
        }
        std::cout << "imported " << changes.size() << " entries from " << options.file
                  << (options.replace ? " in place of the live registry"
                                      : " into the live registry");
        if (options.save) {
            kx::saveRegistry("kestrix-device");
            std::cout << " and saved it\n";
        } else {
            std::cout << " (not saved: a reboot undoes it; use --save to keep it)\n";
        }
    } catch (const std::exception& e) {
        fail(ctx, e.what());
    }
}

void runSaves(ToolContext& ctx) {
    try {
        kx::selectDevice(ctx.deviceFolder());
        for (const kx::SaveRun& run : kx::saveRuns()) {
            std::cout << run.time << "  " << run.program << " (process " << run.pid << ")\n";
        }
    } catch (const std::exception& e) {
        fail(ctx, e.what());
    }
}

} // namespace

void addRegCommand(CLI::App& app, ToolContext& ctx) {
    CLI::App* reg = app.add_subcommand(
        "reg", "Shows or changes the emulated device's registry as a registry-editor file "
               "(\"Windows Registry Editor Version 5.00\").");
    reg->require_subcommand(1);

    auto key = std::make_shared<std::string>();
    CLI::App* exportCmd = reg->add_subcommand(
        "export",
        "Prints the live registry (what the device's programs see now), or one key with its "
        "subkeys, in the desktop registry editor's text format, UTF-8. Nothing is lost: text "
        "that is not one terminated string is written as hex(1) bytes. Save the output to a file "
        "and give it to `reg import` to put it back.");
    exportCmd->add_option("KEY", *key,
                          "Full key path, e.g. HKEY_LOCAL_MACHINE\\Comm\\EMACB1 (HKLM\\... works "
                          "too); the whole registry when left out");
    exportCmd->callback([&ctx, key] { runExport(ctx, *key); });

    auto options = std::make_shared<ImportOptions>();
    CLI::App* importCmd = reg->add_subcommand(
        "import",
        "Reads a registry-editor file (UTF-16LE with byte-order mark, or UTF-8) and applies it to "
        "the live registry in one step: [KEY] creates a key, [-KEY] deletes a key with its "
        "subkeys, \"name\"=... sets a value, \"name\"=- deletes one, lines starting with ; are "
        "comments. A malformed file is refused with its line number and nothing changes. The "
        "saved registry is left alone unless --save is given, so a reboot undoes the import.");
    importCmd->add_option("FILE", options->file, "The registry file")->required();
    importCmd->add_flag("--save", options->save,
                        "Also save the registry afterwards, as the device's registry-saving "
                        "program does, so that the import survives a reboot");
    importCmd->add_flag("--replace", options->replace,
                        "Empty the live registry first, so that it holds exactly the file's keys");
    importCmd->callback([&ctx, options] { runImport(ctx, *options); });

    CLI::App* savesCmd = reg->add_subcommand(
        "saves", "Lists every save of the registry, oldest first, one a line: when (UTC), by "
                 "which program (SaveRegs.exe for the device's registry-saving program) and "
                 "its process id. A reboot goes back to the last one.");
    savesCmd->callback([&ctx] { runSaves(ctx); });
}

} // namespace kxtool
