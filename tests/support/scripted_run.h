// Test support: a temporary emulated device laid out with kestrix-device,
// and scripted runs of the Kestrix executable on it, with the event stream
// parsed. Tests reach the program only this way, through its executables.
#pragma once

#include <nlohmann/json.hpp>

#include <filesystem>
#include <string>
#include <vector>

#include "command_run.h"

namespace kxtest {

class TempDevice {
public:
    // Lays out a device with `kestrix-device init` and these arguments.
    explicit TempDevice(const std::string& initArguments = "");
    ~TempDevice();
    TempDevice(const TempDevice&) = delete;
    TempDevice& operator=(const TempDevice&) = delete;

    const std::filesystem::path& folder() const { return m_folder; }
    std::filesystem::path root() const { return m_folder / "root"; }
    std::filesystem::path lastEntryFile() const {
        return root() / "Storage Card" / "LastMacSetEx.txt";
    }
    // Runs `kestrix-device --device FOLDER <arguments>`.
    CommandResult tool(const std::string& arguments, const std::string& input = "") const;

private:
    std::filesystem::path m_folder;
};

struct ScriptRun {
    int exitCode = -1;
    std::vector<nlohmann::json> events;
    std::string err;
    std::string rawOut;

    std::vector<nlohmann::json> eventsOf(const std::string& kind) const;
    // The last "dump" event.
    nlohmann::json lastDump() const;
};

// Runs Kestrix headless on the device with the script; `environment` is a
// prefix of NAME=value words for the command line.
ScriptRun runScript(const TempDevice& device, const std::string& script,
                    const std::string& environment = "");

// The control with this name in a dump.
nlohmann::json control(const nlohmann::json& dump, const std::string& name);
// The six digit captions of a dump, joined.
std::string digits(const nlohmann::json& dump);
// Point size of a control's font in a dump; 0 for the dialog's own font.
double points(const nlohmann::json& dump, const std::string& name);

} // namespace kxtest
