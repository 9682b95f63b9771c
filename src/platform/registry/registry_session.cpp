#include "registry/registry_session.h"

#include <unistd.h>

#include <memory>
#include <mutex>

#include "common/device.h"

namespace kx {

namespace {

struct Session {
    std::mutex lock;
    std::unique_ptr<RegistryDatabase> database;
    pid_t owner = 0;
    RegistryHandles handles;
};

Session& session() {
    static Session instance;
    return instance;
}

} // namespace

void withRegistry(const std::function<void(RegistryDatabase&, RegistryHandles&)>& work) {
    Session& s = session();
    std::lock_guard<std::mutex> guard(s.lock);
    std::filesystem::path file = currentDevice().registryFile();
    if (s.database && s.owner != getpid()) {
        s.database->abandon();
        s.database.reset();
    }
    if (s.database && s.database->file() != file) {
        s.database.reset();
        s.handles.clear();
    }
    if (!s.database) {
        s.database = std::make_unique<RegistryDatabase>(file);
        s.owner = getpid();
    }
    work(*s.database, s.handles);
}

} // namespace kx
