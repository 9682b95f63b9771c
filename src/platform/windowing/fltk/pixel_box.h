// A rectangle in window pixels, as FLTK draws: origin, width and height.
#pragma once

namespace kx {

struct PixelBox {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;

    bool contains(int px, int py) const { return px >= x && py >= y && px < x + w && py < y + h; }
};

} // namespace kx
