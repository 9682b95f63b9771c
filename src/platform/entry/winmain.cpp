// The process entry point of a program built on the class library: it sets
// up the emulated device and the backend from the environment, then starts
// the application object the way the platform does.
//
// Environment (read here only; the program itself sees none of it):
//   KESTRIX_DEVICE   the device folder (default ~/.local/share/kestrix/device)
//   KESTRIX_BACKEND  "headless" or "window" (default: window when there is a
//                    display, else headless)
//   KESTRIX_SCRIPT   a file of scripted-run commands (default: standard input
//                    for the headless backend, none for the window)
//   KESTRIX_EVENTS   "1" to print the event stream in a window run without a script
#include <afxwin.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "common/device.h"
#include "common/event_log.h"
#include "common/utf.h"
#include "mfc/app_state.h"
#include "windowing/backend/backend_factory.h"

namespace {

std::string env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

int fail(const std::string& message) {
    std::fprintf(stderr, "kestrix: %s\n", message.c_str());
    return 2;
}

} // namespace

int main(int, char** argv) {
    kx::setCurrentDevice(kx::defaultDeviceFolder());
    const kx::Device& device = kx::currentDevice();
    if (!device.exists()) {
        return fail("no emulated device at " + device.folder().string() +
                    "; create one with: kestrix-device init");
    }

    std::string backendName = env("KESTRIX_BACKEND");
    if (backendName.empty()) {
        backendName = kx::defaultBackendName();
    }
    std::ifstream scriptFile;
    std::istream* script = nullptr;
    std::string scriptPath = env("KESTRIX_SCRIPT");
    if (!scriptPath.empty()) {
        scriptFile.open(scriptPath, std::ios::binary);
        if (!scriptFile) {
            return fail("cannot read the script " + scriptPath);
        }
        script = &scriptFile;
    }
    kx::BackendChoice choice = kx::makeBackend(backendName, script);
    if (!choice.backend) {
        return fail(choice.error);
    }
    kx::setEventsEnabled(backendName == "headless" || script || env("KESTRIX_EVENTS") == "1");
    kx::setBackend(std::move(choice.backend));

    CWinApp* app = AfxGetApp();
    if (!app) {
        return fail("the program has no application object");
    }
    std::string exe = std::filesystem::path(argv[0] ? argv[0] : "").stem().string();
    AfxWinInitApp(app, kx::fromUtf8(exe).c_str());
    int result = 0;
    if (!app->InitInstance()) {
        result = app->ExitInstance();
    } else {
        result = app->Run();
    }
    kx::backend().finish();
    kx::setBackend(nullptr);
    return result;
}
