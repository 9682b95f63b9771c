// kestrix-device reboot: what a restart does to the emulated device.
#include <iostream>

#include "commands.h"
#include "registry/registry_admin.h"

namespace kxtool {

void addRebootCommand(CLI::App& app, ToolContext& ctx) {
    CLI::App* reboot = app.add_subcommand(
        "reboot", "Restarts the emulated device: the live registry goes back to the registry "
                  "last saved by the registry-saving program (Windows\\SaveRegs.exe) or by "
                  "`reg import --save`. Changes made since that save are lost, as on the "
                  "panel.");
    reboot->callback([&ctx] {
        try {
            kx::selectDevice(ctx.deviceFolder());
            auto last = kx::restartRegistry();
            std::cout << "rebooted " << ctx.deviceFolder().string() << ": ";
            if (!last) {
                std::cout << "the registry was never saved, so the live registry is now empty\n";
            } else {
                std::cout << "the live registry is the one saved at " << last->time << " by "
                          << last->program << "\n";
            }
        } catch (const std::exception& e) {
            fail(ctx, e.what());
        }
    });
}

} // namespace kxtool
