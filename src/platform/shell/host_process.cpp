#include "shell/host_process.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>

extern char** environ;

namespace kx {

namespace {

// What the intermediate and the started process tell the caller through the
// status pipe. Each message is one write below PIPE_BUF, so it arrives whole.
enum Step : int { kStarted = 1, kForkFailed, kChdirFailed, kExecFailed };
struct Message {
    int step;
    int value; // the pid for kStarted, errno otherwise
};

void report(int fd, int step, int value) {
    Message m{step, value};
    // Only async-signal-safe calls between fork and exec.
    ssize_t ignored = ::write(fd, &m, sizeof m);
    (void)ignored;
}

std::vector<std::string> buildEnvironment(const HostLaunch& launch) {
    std::vector<std::string> env;
    for (char** p = environ; p && *p; ++p) {
        std::string entry = *p;
        bool replaced = false;
        for (const auto& [name, value] : launch.environment) {
            if (entry.compare(0, name.size() + 1, name + "=") == 0) {
                replaced = true;
            }
        }
        if (!replaced) {
            env.push_back(std::move(entry));
        }
    }
    for (const auto& [name, value] : launch.environment) {
        env.push_back(name + "=" + value);
    }
    return env;
}

std::vector<char*> pointersTo(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (std::string& s : strings) {
        pointers.push_back(s.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

[[noreturn]] void runStartedProcess(const HostLaunch& launch, char** argv, char** envp,
                                    int statusFd) {
    ::setsid();
    int devNull = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (devNull >= 0) {
        ::dup2(devNull, STDIN_FILENO);
    }
    if (launch.stdoutToStderr) {
        ::dup2(STDERR_FILENO, STDOUT_FILENO);
    }
    // Descriptors of this process (open files, databases, the status pipe)
    // are not passed on to the program.
    ::close_range(3, UINT_MAX, CLOSE_RANGE_CLOEXEC);
    if (::chdir(launch.workingDirectory.c_str()) != 0) {
        report(statusFd, kChdirFailed, errno);
        ::_exit(127);
    }
    ::execve(argv[0], argv, envp);
    report(statusFd, kExecFailed, errno);
    ::_exit(127);
}

} // namespace

HostLaunchResult startHostProgram(const HostLaunch& launch) {
    std::vector<std::string> args;
    args.push_back(launch.program);
    args.insert(args.end(), launch.arguments.begin(), launch.arguments.end());
    std::vector<std::string> env = buildEnvironment(launch);
    std::vector<char*> argv = pointersTo(args);
    std::vector<char*> envp = pointersTo(env);

    HostLaunchResult result;
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
        result.error = errno;
        result.step = "fork";
        return result;
    }
    pid_t middle = ::fork();
    if (middle == 0) {
        ::close(pipeFds[0]);
        pid_t started = ::fork();
        if (started == 0) {
            runStartedProcess(launch, argv.data(), envp.data(), pipeFds[1]);
        }
        if (started < 0) {
            report(pipeFds[1], kForkFailed, errno);
            ::_exit(1);
        }
        report(pipeFds[1], kStarted, int(started));
        ::_exit(0);
    }
    int forkError = errno;
    ::close(pipeFds[1]);
    if (middle < 0) {
        ::close(pipeFds[0]);
        result.error = forkError;
        result.step = "fork";
        return result;
    }
    // The intermediate process exits at once; reaping it is the only wait.
    // Someone else may have reaped it already (ECHILD), which is fine.
    while (::waitpid(middle, nullptr, 0) < 0 && errno == EINTR) {
    }
    // The pipe reaches its end when the program has been executed (the
    // descriptor closes on exec) or has given up.
    Message m;
    bool started = false;
    for (;;) {
        ssize_t n = ::read(pipeFds[0], &m, sizeof m);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n != ssize_t(sizeof m)) {
            break;
        }
        switch (m.step) {
        case kStarted:
            started = true;
            result.pid = pid_t(m.value);
            break;
        case kForkFailed:
            result.error = m.value;
            result.step = "fork";
            break;
        case kChdirFailed:
            result.error = m.value;
            result.step = "chdir";
            break;
        default:
            result.error = m.value;
            result.step = "exec";
            break;
        }
    }
    ::close(pipeFds[0]);
    if (!started && result.error == 0) {
        result.error = ECHILD;
        result.step = "fork";
    }
    return result;
}

} // namespace kx
