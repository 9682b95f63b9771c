#include "windowing/fltk/screenshot.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include <memory>
#include <vector>

#include "windowing/fltk/png_writer.h"

namespace kx {

std::string saveScreenshot(Fl_Window& window, const std::filesystem::path& file) {
    if (file.extension() != ".png") {
        return "a screenshot is saved as a .png file";
    }
    if (!window.shown() || !window.visible()) {
        return "no window is showing";
    }
    window.wait_for_expose();
    Fl::flush();
    window.make_current();
    int width = window.w();
    int height = window.h();
    std::unique_ptr<uchar[]> pixels(fl_read_image(nullptr, 0, 0, width, height));
    if (!pixels) {
        return "cannot read the window's pixels from the display";
    }
    std::span<const uint8_t> rgb(pixels.get(), size_t(width) * size_t(height) * 3);
    return writePng(file, rgb, width, height);
}

} // namespace kx
