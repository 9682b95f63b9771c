// Starting a host program as a separate, unattended process.
//
// The program is started through an intermediate process that exits at once
// (a double fork), so it is never the caller's child: it is not awaited and
// leaves no zombie behind, and the caller's handling of child signals is not
// touched. Whether the program itself could be started (exec succeeded) is
// known before startHostProgram returns; what it does afterwards is not
// watched.
#pragma once

#include <sys/types.h>

#include <string>
#include <utility>
#include <vector>

namespace kx {

struct HostLaunch {
    std::string program; // host path, also the first argument
    std::vector<std::string> arguments;
    std::string workingDirectory;
    // Variables set (or replaced) in a copy of this process's environment.
    std::vector<std::pair<std::string, std::string>> environment;
    // Sends the program's standard output to standard error, so that it
    // cannot mix into a stream this process writes on standard output.
    bool stdoutToStderr = false;
};

struct HostLaunchResult {
    int error = 0;         // errno of the step that failed; 0 when started
    pid_t pid = -1;        // the started program
    const char* step = ""; // the failed step: "fork", "chdir" or "exec"
};

HostLaunchResult startHostProgram(const HostLaunch& launch);

} // namespace kx
