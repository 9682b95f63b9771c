// The event stream of a scripted run: one JSON object a line on standard
// output, each with an "event" member. Outside a scripted run it is off and
// emitting does nothing.
#pragma once

#include <nlohmann/json.hpp>

namespace kx {

void setEventsEnabled(bool enabled);
bool eventsEnabled();
void emitEvent(const nlohmann::json& event);

} // namespace kx
