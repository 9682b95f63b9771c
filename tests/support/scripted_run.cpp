#include "scripted_run.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>

namespace kxtest {

TempDevice::TempDevice(const std::string& initArguments) : m_folder(makeTempFolder() / "device") {
    CommandResult r = tool("init " + initArguments);
    if (r.exitCode != 0) {
        throw std::runtime_error("kestrix-device init " + initArguments + " failed: " + r.err);
    }
}

TempDevice::~TempDevice() {
    std::error_code ec;
    std::filesystem::remove_all(m_folder.parent_path(), ec);
}

CommandResult TempDevice::tool(const std::string& arguments, const std::string& input) const {
    return runCommand(shellQuote((binDir() / "kestrix-device").string()) + " --device " +
                          shellQuote(m_folder.string()) + " " + arguments,
                      input);
}

std::vector<nlohmann::json> ScriptRun::eventsOf(const std::string& kind) const {
    std::vector<nlohmann::json> out;
    for (const auto& e : events) {
        if (e.value("event", "") == kind) {
            out.push_back(e);
        }
    }
    return out;
}

nlohmann::json ScriptRun::lastDump() const {
    auto dumps = eventsOf("dump");
    if (dumps.empty()) {
        throw std::runtime_error("the run printed no dump; output was:\n" + rawOut + err);
    }
    return dumps.back();
}

ScriptRun runScript(const TempDevice& device, const std::string& script,
                    const std::string& environment) {
    CommandResult r =
        runCommand(environment + " " + shellQuote((binDir() / "kestrix-device").string()) +
                       " --device " + shellQuote(device.folder().string()) + " run",
                   script);
    ScriptRun run;
    run.exitCode = r.exitCode;
    run.err = r.err;
    run.rawOut = r.out;
    std::istringstream lines(r.out);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty()) {
            run.events.push_back(nlohmann::json::parse(line));
        }
    }
    return run;
}

nlohmann::json control(const nlohmann::json& dump, const std::string& name) {
    for (const auto& c : dump.at("controls")) {
        if (c.value("name", nlohmann::json()).is_string() && c["name"] == name) {
            return c;
        }
    }
    throw std::runtime_error("no control " + name + " in the dump");
}

std::string digits(const nlohmann::json& dump) {
    std::string out;
    for (const char* name :
         {"IDC_DIGIT1", "IDC_DIGIT2", "IDC_DIGIT3", "IDC_DIGIT4", "IDC_DIGIT5", "IDC_DIGIT6"}) {
        out += control(dump, name).at("text").get<std::string>();
    }
    return out;
}

double points(const nlohmann::json& dump, const std::string& name) {
    nlohmann::json font = control(dump, name).at("font");
    return font.is_object() ? font.at("points").get<double>() : 0.0;
}

} // namespace kxtest
