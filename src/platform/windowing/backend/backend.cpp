#include "windowing/backend/backend.h"

#include <sstream>

#include "windowing/backend/headless_backend.h"

namespace kx {

namespace {
std::unique_ptr<Backend>& slot() {
    static std::unique_ptr<Backend> current;
    return current;
}
} // namespace

Backend& backend() {
    if (!slot()) {
        // Nothing chose a backend: a headless one with no input, which
        // cancels any dialog at once.
        static std::istringstream empty;
        slot() = std::make_unique<HeadlessBackend>(empty);
    }
    return *slot();
}

void setBackend(std::unique_ptr<Backend> backend) {
    slot() = std::move(backend);
}

} // namespace kx
