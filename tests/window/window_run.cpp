#include "window_run.h"

namespace kxtest {

std::unique_ptr<ChildProcess> startWindowRun(const TempDevice& device, const std::string& display,
                                             const std::string& script,
                                             const std::vector<std::string>& environment) {
    std::filesystem::path file = device.folder().parent_path() / "script.txt";
    writeFile(file, script);
    std::vector<std::string> settings{"DISPLAY=" + display};
    settings.insert(settings.end(), environment.begin(), environment.end());
    return std::make_unique<ChildProcess>(
        std::vector<std::string>{(binDir() / "kestrix-device").string(), "--device",
                                 device.folder().string(), "run", "--window", "--script",
                                 file.string()},
        settings, device.folder().parent_path() / "stderr.txt");
}

std::optional<nlohmann::json> nextEvent(ChildProcess& run, const std::string& kind,
                                        const char* member, std::chrono::milliseconds timeout) {
    auto end = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < end) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            end - std::chrono::steady_clock::now());
        std::optional<std::string> line = run.readLine(left);
        if (!line) {
            return std::nullopt;
        }
        nlohmann::json event = nlohmann::json::parse(*line, nullptr, false);
        if (event.is_object() && event.value("event", "") == kind &&
            (!member || event.contains(member))) {
            return event;
        }
    }
    return std::nullopt;
}

} // namespace kxtest
