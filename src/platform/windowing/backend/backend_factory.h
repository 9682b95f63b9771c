// Picks the backend of a run by name: "headless", or "window" where the
// window backend is built. An unknown name is an error that says which
// names there are.
#pragma once

#include <istream>
#include <memory>
#include <string>

#include "windowing/backend/backend.h"

namespace kx {

struct BackendChoice {
    std::unique_ptr<Backend> backend;
    std::string error; // set when no backend could be made
};

// `script` is the scripted input (null: none); it must outlive the backend.
BackendChoice makeBackend(const std::string& name, std::istream* script);
// The backend used when none is named: the window where there is a display
// and the window backend is built, headless otherwise.
std::string defaultBackendName();
bool windowBackendAvailable();

} // namespace kx
