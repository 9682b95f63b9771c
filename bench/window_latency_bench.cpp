// Times Kestrix in a real window on a private Xvfb display:
//   - start to first frame: from starting `kestrix-device run --window` to
//     the end of the first completed drawing of the dialog;
//   - tap to redraw: from the window taking a mouse click on a keypad button
//     to the end of the frame that shows the new digit (goal: one 60 Hz
//     frame, 16.7 ms).
// The window reports its frames as "frame" events (KESTRIX_FRAME_EVENTS=1).
//   window_latency_bench [STARTS] [TAPS]
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "child_process.h"
#include "window_run.h"
#include "scripted_run.h"
#include "virtual_display.h"

using namespace std::chrono_literals;
using nlohmann::json;
using namespace kxtest;

namespace {

struct Summary {
    double median;
    double p90;
    double max;
};

Summary summarise(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    auto at = [&](double q) { return values[size_t(q * double(values.size() - 1) + 0.5)]; };
    return Summary{at(0.5), at(0.9), values.back()};
}

void print(const char* what, const std::vector<double>& values) {
    if (values.empty()) {
        std::printf("%-28s no samples\n", what);
        return;
    }
    Summary s = summarise(values);
    std::printf("%-28s n=%-3zu median %7.2f ms  p90 %7.2f ms  max %7.2f ms\n", what, values.size(),
                s.median, s.p90, s.max);
}

std::unique_ptr<ChildProcess> startWindow(const TempDevice& device, const VirtualDisplay& display,
                                          const std::string& script) {
    return startWindowRun(device, display.name(), script, {"KESTRIX_FRAME_EVENTS=1"});
}

} // namespace

int main(int argc, char** argv) {
    int starts = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    int taps = argc > 2 ? std::max(1, std::atoi(argv[2])) : 50;
    if (!std::getenv("KESTRIX_BIN_DIR")) {
        std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe");
        setenv("KESTRIX_BIN_DIR", self.parent_path().c_str(), 1);
    }
    try {
        TempDevice scratch;
        VirtualDisplay display(scratch.folder().parent_path());

        std::vector<double> firstFrame;
        for (int i = 0; i < starts; ++i) {
            TempDevice device;
            auto begin = std::chrono::steady_clock::now();
            auto run = startWindow(device, display, "tick\n");
            if (!nextEvent(*run, "frame")) {
                std::fprintf(stderr, "start %d: no frame came\n", i + 1);
                continue;
            }
            firstFrame.push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin)
                    .count());
            run->waitExit(20s);
        }

        std::vector<double> tapToFrame;
        std::vector<double> drawTime;
        {
            TempDevice device;
            auto run = startWindow(device, display, "dump\ntick 1000\n");
            std::optional<json> dump = nextEvent(*run, "dump");
            if (!dump) {
                std::fprintf(stderr, "no dump came\n");
                return 1;
            }
            const char* keys[] = {"IDC_KEY_1", "IDC_KEY_A", "IDC_KEY_7", "IDC_KEY_F"};
            for (int i = 0; i < taps; ++i) {
                json pixels = control(*dump, keys[i % 4]).at("pixels");
                display.click(pixels[0].get<int>() + pixels[2].get<int>() / 2,
                              pixels[1].get<int>() + pixels[3].get<int>() / 2);
                std::optional<json> frame = nextEvent(*run, "frame", "sinceTapMs", 5s);
                if (!frame) {
                    std::fprintf(stderr, "tap %d: no frame came\n", i + 1);
                    continue;
                }
                tapToFrame.push_back(frame->at("sinceTapMs").get<double>());
                drawTime.push_back(frame->at("drawMs").get<double>());
            }
        }
        std::printf("Kestrix window under Xvfb (%s build)\n",
#ifdef NDEBUG
                    "release"
#else
                    "debug"
#endif
        );
        print("start to first frame", firstFrame);
        print("tap to redrawn digit", tapToFrame);
        print("  of which drawing", drawTime);
        std::printf("goal for a tap: 16.7 ms (one 60 Hz frame)\n");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "window_latency_bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
