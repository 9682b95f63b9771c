// CloseHandle: releases a file or process handle. Find searches are released
// by FindClose only.
#include <windows.h>

#include "files/handle_table.h"
#include "files/host_error.h"

BOOL CloseHandle(HANDLE hObject) {
    DWORD error = kx::runService([&]() -> DWORD {
        auto object = kx::HandleTable::instance().remove(
            hObject, [](const kx::KernelObject& o) { return o.closableByCloseHandle(); });
        return object ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
    });
    return error == ERROR_SUCCESS;
}
