// The event stream of a scripted run: one JSON object a line on standard
// output, each with an "event" member. Outside a scripted run it is off and
// emitting does nothing.
#pragma once

#include <nlohmann/json.hpp>

namespace kx {

void setEventsEnabled(bool enabled);
bool eventsEnabled();
using Event = nlohmann::ordered_json;
void emitEvent(const Event& event);

} // namespace kx
