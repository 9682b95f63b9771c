// Conversion of host failures (errno values and exceptions) into the
// platform's error codes, and the one exit through which every file service
// reports its result.
#pragma once

#include <windef.h>

namespace kx {

// The platform's code for a host errno value; fallback when there is no
// closer match.
DWORD errorFromErrno(int err, DWORD fallback);

// Runs the body of a service, which returns ERROR_SUCCESS or the platform's
// error code. A host exception becomes an error code instead of escaping.
// On failure the thread's last error is set; on success it is left to the
// body. Returns the code.
template <class Body> DWORD runService(Body&& body) noexcept;

DWORD errorFromCurrentException() noexcept;
void setLastErrorOnFailure(DWORD error) noexcept;

template <class Body> DWORD runService(Body&& body) noexcept {
    DWORD error;
    try {
        error = body();
    } catch (...) {
        error = errorFromCurrentException();
    }
    setLastErrorOnFailure(error);
    return error;
}

} // namespace kx
