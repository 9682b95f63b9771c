// The subcommands of kestrix-device. Each add*Command registers its
// subcommand on the application and runs it from the callback.
#pragma once

#include <CLI/CLI.hpp>
#include <filesystem>
#include <ostream>
#include <string>

namespace kxtool {

// Options shared by every subcommand.
struct ToolContext {
    std::string deviceOption; // --device, empty when not given
    int exitCode = 0;
    // The device folder: --device, else KESTRIX_DEVICE, else the default.
    std::filesystem::path deviceFolder() const;
};

// Writes "kestrix-device: " and the message to standard error and sets the
// exit code to 1.
void fail(ToolContext& ctx, const std::string& message);

struct InitOptions {
    std::string board = "2450";
    bool noCard = false;
    bool force = false;
    bool bare = false; // without the Ethernet driver's key
};

// Lays out a device in the context's device folder and writes one line on
// what it made to `report`; false, with the reason given through fail(),
// when it could not.
bool initDevice(ToolContext& ctx, const InitOptions& options, std::ostream& report);

void addRunCommand(CLI::App& app, ToolContext& ctx);
void addInitCommand(CLI::App& app, ToolContext& ctx);
void addRegCommand(CLI::App& app, ToolContext& ctx);
void addRebootCommand(CLI::App& app, ToolContext& ctx);

} // namespace kxtool
