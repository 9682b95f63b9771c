#include "virtual_display.h"

#include <unistd.h>

#include <cstdlib>
#include <sstream>
#include <stdexcept>

#include "scripted_run.h"

namespace kxtest {

std::string findProgram(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::istringstream dirs(path ? path : "/usr/bin:/bin");
    std::string dir;
    while (std::getline(dirs, dir, ':')) {
        std::filesystem::path candidate = std::filesystem::path(dir) / name;
        if (!dir.empty() && ::access(candidate.c_str(), X_OK) == 0) {
            return candidate.string();
        }
    }
    return "";
}

VirtualDisplay::VirtualDisplay(const std::filesystem::path& scratch, int width, int height) {
    std::string xvfb = findProgram("Xvfb");
    if (xvfb.empty()) {
        throw std::runtime_error("Xvfb is not installed (Debian package xvfb)");
    }
    if (findProgram("xdotool").empty()) {
        throw std::runtime_error("xdotool is not installed (Debian package xdotool)");
    }
    // -displayfd 1: Xvfb picks a free display and prints its number.
    m_server = std::make_unique<ChildProcess>(
        std::vector<std::string>{xvfb, "-displayfd", "1", "-screen", "0",
                                 std::to_string(width) + "x" + std::to_string(height) + "x24",
                                 "-nolisten", "tcp", "-noreset"},
        std::vector<std::string>{}, scratch / "xvfb.log");
    std::optional<std::string> number = m_server->readLine(std::chrono::seconds(20));
    if (!number || number->empty()) {
        throw std::runtime_error("Xvfb did not start; see " + (scratch / "xvfb.log").string() +
                                 ":\n" + readFile(scratch / "xvfb.log"));
    }
    m_name = ":" + *number;
}

bool VirtualDisplay::click(int x, int y) const {
    CommandResult r = runCommand("DISPLAY=" + m_name + " timeout 10 xdotool mousemove " +
                                 std::to_string(x) + " " + std::to_string(y) + " click 1");
    return r.exitCode == 0;
}

} // namespace kxtest
