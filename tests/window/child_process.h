// A program run in the background for window tests and benchmarks: its
// standard output is read line by line with a time limit, its standard error
// goes to a file, and it runs in a process group of its own so that it and
// everything it started are ended when the object goes. Every wait is
// bounded.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kxtest {

class ChildProcess {
public:
    // Starts `argv` with `environment` (NAME=value) added to this process's.
    ChildProcess(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
                 const std::filesystem::path& errorFile);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // The next line of standard output, without its newline; nothing when
    // the time is up or the output ended first.
    std::optional<std::string> readLine(std::chrono::milliseconds timeout);
    // Every line read so far.
    const std::vector<std::string>& lines() const { return m_lines; }
    // The exit status once the program ends within the time; nothing if it
    // is still running then. A program killed by a signal gives 128 + signal.
    std::optional<int> waitExit(std::chrono::milliseconds timeout);
    // Ends the program and its group (TERM, then KILL) and reaps it.
    void stop();

private:
    pid_t m_pid = -1;
    int m_out = -1;
    std::string m_buffer;
    std::vector<std::string> m_lines;
    std::optional<int> m_status;
};

} // namespace kxtest
