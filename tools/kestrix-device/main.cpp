// kestrix-device: the command-line front end of the emulated device.
#include <cstdio>
#include <iostream>

#include "commands.h"
#include "common/device.h"

namespace kxtool {

std::filesystem::path ToolContext::deviceFolder() const {
    if (!deviceOption.empty()) {
        return std::filesystem::absolute(deviceOption);
    }
    return std::filesystem::absolute(kx::defaultDeviceFolder());
}

void fail(ToolContext& ctx, const std::string& message) {
    std::cerr << "kestrix-device: " << message << "\n";
    ctx.exitCode = 1;
}

} // namespace kxtool

int main(int argc, char** argv) {
    kxtool::ToolContext ctx;
    CLI::App app{"kestrix-device: lays out emulated panel devices, runs Kestrix on them and shows "
                 "what it wrote.\n\nThe device folder comes from --device, else the KESTRIX_DEVICE "
                 "environment variable, else ~/.local/share/kestrix/device."};
    app.option_defaults()->always_capture_default();
    app.add_option("--device", ctx.deviceOption, "The emulated device folder")->type_name("DIR");
    app.require_subcommand(1);
    kxtool::addRunCommand(app, ctx);
    kxtool::addInitCommand(app, ctx);
    kxtool::addRegCommand(app, ctx);
    kxtool::addRebootCommand(app, ctx);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e);
    }
    return ctx.exitCode;
}
