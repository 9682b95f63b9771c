#include "child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace kxtest {

namespace {

using Clock = std::chrono::steady_clock;

int remainingMs(Clock::time_point end) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
    return left > 0 ? int(left) : 0;
}

} // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv,
                           const std::vector<std::string>& environment,
                           const std::filesystem::path& errorFile) {
    if (argv.empty()) {
        throw std::invalid_argument("no program to run");
    }
    // Everything the child needs is prepared before fork: after it, only
    // async-signal-safe calls.
    std::vector<std::string> envStrings;
    for (char** e = environ; *e; ++e) {
        envStrings.emplace_back(*e);
    }
    envStrings.insert(envStrings.end(), environment.begin(), environment.end());
    std::vector<char*> envp;
    for (std::string& e : envStrings) {
        envp.push_back(e.data());
    }
    envp.push_back(nullptr);
    std::vector<std::string> args = argv;
    std::vector<char*> argp;
    for (std::string& a : args) {
        argp.push_back(a.data());
    }
    argp.push_back(nullptr);
    int err = ::open(errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (err < 0) {
        throw std::runtime_error("cannot write " + errorFile.string() + ": " +
                                 std::strerror(errno));
    }
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
        ::close(err);
        throw std::runtime_error("cannot make a pipe");
    }
    int devNull = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    m_pid = ::fork();
    if (m_pid == 0) {
        ::setpgid(0, 0);
        // Ends with the test even when the test itself dies.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        ::dup2(devNull, 0);
        ::dup2(pipeFds[1], 1);
        ::dup2(err, 2);
        ::execve(argp[0], argp.data(), envp.data());
        ::_exit(127);
    }
    ::close(pipeFds[1]);
    ::close(err);
    ::close(devNull);
    if (m_pid < 0) {
        ::close(pipeFds[0]);
        throw std::runtime_error("cannot start " + argv[0]);
    }
    ::setpgid(m_pid, m_pid); // also from here, so the group exists before any kill
    m_out = pipeFds[0];
}

ChildProcess::~ChildProcess() {
    stop();
    if (m_out >= 0) {
        ::close(m_out);
    }
}

std::optional<std::string> ChildProcess::readLine(std::chrono::milliseconds timeout) {
    auto end = Clock::now() + timeout;
    while (true) {
        size_t newline = m_buffer.find('\n');
        if (newline != std::string::npos) {
            std::string line = m_buffer.substr(0, newline);
            m_buffer.erase(0, newline + 1);
            m_lines.push_back(line);
            return line;
        }
        if (m_out < 0) {
            return std::nullopt;
        }
        pollfd p{m_out, POLLIN, 0};
        int ready = ::poll(&p, 1, remainingMs(end));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            return std::nullopt;
        }
        char chunk[4096];
        ssize_t n = ::read(m_out, chunk, sizeof chunk);
        if (n <= 0) {
            ::close(m_out);
            m_out = -1;
            if (!m_buffer.empty()) {
                std::string line = std::move(m_buffer);
                m_buffer.clear();
                m_lines.push_back(line);
                return line;
            }
            return std::nullopt;
        }
        m_buffer.append(chunk, size_t(n));
    }
}

std::optional<int> ChildProcess::waitExit(std::chrono::milliseconds timeout) {
    auto end = Clock::now() + timeout;
    while (!m_status && m_pid > 0) {
        // Keep the pipe drained so the program never blocks on its output.
        while (readLine(std::chrono::milliseconds(0))) {
        }
        int status = 0;
        pid_t done = ::waitpid(m_pid, &status, WNOHANG);
        if (done == m_pid) {
            m_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            break;
        }
        if (Clock::now() >= end) {
            return std::nullopt;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    // Whatever it printed last.
    while (readLine(std::chrono::milliseconds(0))) {
    }
    return m_status;
}

void ChildProcess::stop() {
    if (m_pid <= 0 || m_status) {
        return;
    }
    ::kill(-m_pid, SIGTERM);
    if (!waitExit(std::chrono::seconds(3))) {
        ::kill(-m_pid, SIGKILL);
        waitExit(std::chrono::seconds(3));
    }
}

} // namespace kxtest
