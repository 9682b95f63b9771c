#include "scripted_run.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>

namespace kxtest {

std::filesystem::path binDir() {
    const char* dir = std::getenv("KESTRIX_BIN_DIR");
    if (!dir || !*dir) {
        throw std::runtime_error("KESTRIX_BIN_DIR is not set; run the tests through ctest");
    }
    return dir;
}

std::string shellQuote(const std::string& text) {
    std::string out = "'";
    for (char c : text) {
        if (c == '\'') {
            out += "'\\''";
        } else {
            out += c;
        }
    }
    return out + "'";
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

namespace {
std::filesystem::path makeTempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kestrix-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        throw std::runtime_error("cannot make a temporary folder");
    }
    return pattern;
}
} // namespace

CommandResult runCommand(const std::string& commandLine, const std::string& input) {
    std::filesystem::path scratch = makeTempFolder();
    writeFile(scratch / "in", input);
    std::string full = "(" + commandLine + ") <" + shellQuote((scratch / "in").string()) + " >" +
                       shellQuote((scratch / "out").string()) + " 2>" +
                       shellQuote((scratch / "err").string());
    int status = std::system(full.c_str());
    CommandResult result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = readFile(scratch / "out");
    result.err = readFile(scratch / "err");
    std::filesystem::remove_all(scratch);
    return result;
}

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
