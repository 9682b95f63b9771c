#include "windowing/backend/backend_factory.h"

#include <cstdlib>
#include <iostream>

#include "windowing/backend/headless_backend.h"

namespace kx {

// Provided by the window backend's library where it is built.
std::unique_ptr<Backend> makeWindowBackend(std::istream* script, std::string& error)
    __attribute__((weak));

bool windowBackendAvailable() {
    return makeWindowBackend != nullptr;
}

std::string defaultBackendName() {
    const char* display = std::getenv("DISPLAY");
    return windowBackendAvailable() && display && *display ? "window" : "headless";
}

BackendChoice makeBackend(const std::string& name, std::istream* script) {
    BackendChoice choice;
    if (name == "headless") {
        choice.backend = std::make_unique<HeadlessBackend>(script ? *script : std::cin);
    } else if (name == "window") {
        if (!windowBackendAvailable()) {
            choice.error = "the window backend is not built into this program";
        } else {
            choice.backend = makeWindowBackend(script, choice.error);
        }
    } else {
        choice.error = "unknown backend '" + name + "' (expected headless or window)";
    }
    return choice;
}

} // namespace kx
