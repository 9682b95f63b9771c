// ShellExecuteEx: starting a program of the device.
//
// The file is a device path, found like any other (case ignored, never
// outside the root), and started as a separate host process: its arguments
// are the parameter text split on blanks (see command_line.h), its working
// folder the device's root (or lpDirectory when given), and its environment
// this process's with KESTRIX_DEVICE naming the device folder. It is not
// awaited. Every request with a file is also reported in the scripted run's
// event stream, started or not. A failure is shown on standard error in one
// line, as the shell's own error display, unless SEE_MASK_FLAG_NO_UI asks
// for silence.
#include <windows.h>
#include <shellapi.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "common/device.h"
#include "common/event_log.h"
#include "common/utf.h"
#include "files/device_path.h"
#include "files/handle_table.h"
#include "files/host_error.h"
#include "shell/command_line.h"
#include "shell/host_process.h"

namespace {

// A started program, for SEE_MASK_NOCLOSEPROCESS. It is not the caller's
// child, so closing the handle is all there is to do.
class StartedProcess : public kx::KernelObject {
public:
    explicit StartedProcess(pid_t pid) : pid(pid) {}
    pid_t pid;
};

// hInstApp of a failed request: a value of 32 or less, as the platform
// gives (2 file not found, 3 path not found, 5 access denied, 8 out of
// memory, 11 bad format, 0 anything else).
HINSTANCE failureInstance(DWORD error) {
    UINT_PTR value = 0;
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_ACCESS_DENIED:
    case ERROR_NOT_ENOUGH_MEMORY:
        value = error;
        break;
    case ERROR_BAD_EXE_FORMAT:
        value = 11;
        break;
    default:
        break;
    }
    return reinterpret_cast<HINSTANCE>(value);
}

// A successful request's hInstApp: any value above 32.
const HINSTANCE kStartedInstance = reinterpret_cast<HINSTANCE>(UINT_PTR(42));

std::string describeLookup(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
        return "no such file on the device";
    case ERROR_PATH_NOT_FOUND:
        return "no such folder on the device";
    case ERROR_FILENAME_EXCED_RANGE:
        return "the path is longer than 259 characters";
    case ERROR_INVALID_NAME:
        return "the path holds characters a file name cannot have";
    default:
        return "the path cannot be used";
    }
}

DWORD errorFromStart(const kx::HostLaunchResult& started, std::string* reason) {
    if (std::string(started.step) == "chdir") {
        *reason = "its working folder cannot be entered (" +
                  std::string(std::strerror(started.error)) + ")";
        return ERROR_PATH_NOT_FOUND;
    }
    switch (started.error) {
    case EACCES:
    case EPERM:
        *reason = "the host cannot run it (is it executable?)";
        return ERROR_ACCESS_DENIED;
    case ENOEXEC:
        *reason = "it is not a program the host can run";
        return ERROR_BAD_EXE_FORMAT;
    case ENOENT:
        *reason = "the host cannot find its interpreter";
        return ERROR_FILE_NOT_FOUND;
    default:
        *reason =
            "the host refused to start it (" + std::string(std::strerror(started.error)) + ")";
        return kx::errorFromErrno(started.error, ERROR_NOT_ENOUGH_MEMORY);
    }
}

bool isOpenVerb(LPCWSTR verb) {
    return !verb || !*verb || kx::equalsNoCase(verb, u"open");
}

DWORD shellExecute(SHELLEXECUTEINFO& info) {
    std::u16string file = info.lpFile;
    std::u16string parameters = info.lpParameters ? info.lpParameters : u"";
    kx::ResolvedPath program = kx::resolveDevicePath(file);
    bool found = program.ok() && program.exists && !program.isDirectory;
    kx::emitEvent({{"event", "launch"},
                   {"file", kx::toUtf8(file)},
                   {"parameters", kx::toUtf8(parameters)},
                   {"found", found}});

    DWORD error = ERROR_SUCCESS;
    std::string reason;
    std::filesystem::path workingDirectory = kx::currentDevice().rootDir();
    if (!isOpenVerb(info.lpVerb)) {
        error = ERROR_INVALID_PARAMETER;
        reason = "only the verb \"open\" is supported";
    } else if (!program.ok()) {
        error = program.error;
        reason = describeLookup(error);
    } else if (!program.exists) {
        error = ERROR_FILE_NOT_FOUND;
        reason = describeLookup(error);
    } else if (program.isDirectory) {
        error = ERROR_ACCESS_DENIED;
        reason = "it is a folder";
    } else if (info.lpDirectory && *info.lpDirectory) {
        kx::ResolvedPath folder = kx::resolveDevicePath(info.lpDirectory);
        if (!folder.ok() || !folder.exists || !folder.isDirectory) {
            error = ERROR_PATH_NOT_FOUND;
            reason = "its working folder \"" + kx::toUtf8(info.lpDirectory) +
                     "\" is not a folder of the device";
        } else {
            workingDirectory = folder.hostPath();
        }
    }

    if (error == ERROR_SUCCESS) {
        kx::HostLaunch launch;
        launch.program = program.hostPath().string();
        launch.arguments = kx::splitParameters(parameters);
        launch.workingDirectory = workingDirectory.string();
        launch.environment = {
            {"KESTRIX_DEVICE", std::filesystem::absolute(kx::currentDevice().folder()).string()}};
        launch.stdoutToStderr = kx::eventsEnabled();
        kx::HostLaunchResult started = kx::startHostProgram(launch);
        if (started.error != 0) {
            error = errorFromStart(started, &reason);
        } else {
            info.hInstApp = kStartedInstance;
            if (info.fMask & SEE_MASK_NOCLOSEPROCESS) {
                info.hProcess = kx::HandleTable::instance().insert(
                    std::make_shared<StartedProcess>(started.pid));
            }
            return ERROR_SUCCESS;
        }
    }

    info.hInstApp = failureInstance(error);
    if (!(info.fMask & SEE_MASK_FLAG_NO_UI)) {
        std::fprintf(stderr, "kestrix: cannot start \"%s\": %s\n", kx::toUtf8(file).c_str(),
                     reason.c_str());
    }
    return error;
}

} // namespace

BOOL ShellExecuteEx(LPSHELLEXECUTEINFO lpExecInfo) {
    DWORD error = kx::runService([&]() -> DWORD {
        if (!lpExecInfo) {
            return ERROR_INVALID_PARAMETER;
        }
        // The target's 32-bit record, or this host's own.
        if (lpExecInfo->cbSize != SHELLEXECUTEINFO_TARGET_SIZE &&
            lpExecInfo->cbSize != sizeof(SHELLEXECUTEINFO)) {
            return ERROR_INVALID_PARAMETER;
        }
        if (lpExecInfo->fMask & SEE_MASK_NOCLOSEPROCESS) {
            lpExecInfo->hProcess = NULL;
        }
        if (!lpExecInfo->lpFile) {
            lpExecInfo->hInstApp = failureInstance(ERROR_FILE_NOT_FOUND);
            return ERROR_INVALID_PARAMETER;
        }
        return shellExecute(*lpExecInfo);
    });
    return error == ERROR_SUCCESS;
}
