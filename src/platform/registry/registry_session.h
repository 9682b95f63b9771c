// The registry state of this process: the connection to the current device's
// registry database and the table of open key handles. The connection is
// opened on first use and again whenever the current device changes (the
// handles of the previous device are then dropped) or the process has forked
// (a child never uses its parent's connection).
//
// Calls are serialised by one lock, so the services may be used from any
// thread.
#pragma once

#include <functional>

#include "registry/registry_handles.h"
#include "registry/registry_database.h"

namespace kx {

// Runs `work` under the session lock with the current device's database and
// the handle table. Throws RegistryError when the database cannot be opened.
void withRegistry(const std::function<void(RegistryDatabase&, RegistryHandles&)>& work);

} // namespace kx
