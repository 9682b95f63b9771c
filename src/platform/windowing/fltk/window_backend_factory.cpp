// The window backend's entry point for the backend factory, which finds it
// through a weak reference when this library is linked in.
#include "windowing/fltk/fltk_backend.h"

namespace kx {

std::unique_ptr<Backend> makeWindowBackend(std::istream* script, std::string& error) {
    return FltkBackend::create(script, error);
}

} // namespace kx
