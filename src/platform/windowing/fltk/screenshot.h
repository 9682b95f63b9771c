// Saves what a window on the display shows as a PNG file: it waits until
// the window is mapped and drawn, reads its pixels back from the display
// and writes them with writePng.
#pragma once

#include <FL/Fl_Window.H>

#include <filesystem>
#include <string>

namespace kx {

// Returns an empty string on success, else what went wrong; on failure no
// file is left behind.
std::string saveScreenshot(Fl_Window& window, const std::filesystem::path& file);

} // namespace kx
