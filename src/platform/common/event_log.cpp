#include "common/event_log.h"

#include <cstdio>

namespace kx {

namespace {
bool g_enabled = false;
}

void setEventsEnabled(bool enabled) {
    g_enabled = enabled;
}
bool eventsEnabled() {
    return g_enabled;
}

void emitEvent(const Event& event) {
    if (!g_enabled) {
        return;
    }
    std::string line = event.dump(-1, ' ', false, Event::error_handler_t::replace);
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
}

} // namespace kx
