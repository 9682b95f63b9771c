// Runs of Kestrix in a real window for the window tests and the benchmark:
// `kestrix-device run --window --script` started in the background on a
// virtual display, and its event stream read with a time limit.
#pragma once

#include <nlohmann/json.hpp>

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "child_process.h"
#include "scripted_run.h"

namespace kxtest {

// Starts Kestrix in a window on `display` (a DISPLAY value) with the script;
// `environment` adds NAME=value settings.
std::unique_ptr<ChildProcess> startWindowRun(const TempDevice& device, const std::string& display,
                                             const std::string& script,
                                             const std::vector<std::string>& environment = {});

// The next event of this kind (and, if given, having this member), skipping
// others; nothing when none comes within the time or the output ends.
std::optional<nlohmann::json>
nextEvent(ChildProcess& run, const std::string& kind, const char* member = nullptr,
          std::chrono::milliseconds timeout = std::chrono::seconds(20));

} // namespace kxtest
