// The one error type inside the registry module. It carries the platform
// error code that the system services return for it, and a message that the
// host tools show. The services convert it to their result at one exit.
#pragma once

#include <stdexcept>
#include <string>

#include <windows.h>

namespace kx {

class RegistryError : public std::runtime_error {
public:
    RegistryError(LONG code, const std::string& message)
        : std::runtime_error(message), m_code(code) {}
    LONG code() const { return m_code; }

private:
    LONG m_code;
};

} // namespace kx
