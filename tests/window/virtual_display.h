// An X server of our own for window tests and benchmarks: Xvfb on a display
// number it picks itself (so parallel runs never collide), ended with the
// object. Clicks go through xdotool, like a finger on the panel.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "child_process.h"

namespace kxtest {

class VirtualDisplay {
public:
    // Starts Xvfb with a screen of this size; throws with the reason when
    // it cannot (Xvfb missing, no display came up within the time).
    VirtualDisplay(const std::filesystem::path& scratch, int width = 1024, int height = 768);

    // ":N", for DISPLAY.
    const std::string& name() const { return m_name; }
    // A left-button click at screen pixel (x, y); false when xdotool failed.
    bool click(int x, int y) const;

private:
    std::unique_ptr<ChildProcess> m_server;
    std::string m_name;
};

// The full path of a program found on PATH; empty when there is none.
std::string findProgram(const std::string& name);

} // namespace kxtest
