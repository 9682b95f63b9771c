#include "windowing/fltk/message_box_icon.h"

#include <FL/fl_draw.H>

#include <algorithm>

namespace kx {

namespace {

constexpr UINT kIconMask = 0xF0;

void disc(const PixelBox& b, Fl_Color fill) {
    fl_color(fill);
    fl_pie(b.x, b.y, b.w, b.h, 0, 360);
    fl_color(fl_rgb_color(64, 64, 64));
    fl_arc(b.x, b.y, b.w, b.h, 0, 360);
}

void glyph(const char* text, const PixelBox& b, Fl_Color colour) {
    fl_font(FL_HELVETICA_BOLD, b.h * 3 / 4);
    fl_color(colour);
    fl_draw(text, b.x, b.y, b.w, b.h, FL_ALIGN_CENTER, nullptr, 0);
}

void stop(const PixelBox& b) {
    disc(b, fl_rgb_color(200, 0, 0));
    int inset = b.w / 4 + 1;
    fl_color(FL_WHITE);
    fl_line_style(FL_SOLID, std::max(2, b.w / 9));
    fl_line(b.x + inset, b.y + inset, b.x + b.w - inset, b.y + b.h - inset);
    fl_line(b.x + inset, b.y + b.h - inset, b.x + b.w - inset, b.y + inset);
    fl_line_style(0);
}

void warning(const PixelBox& b) {
    fl_color(fl_rgb_color(255, 210, 0));
    fl_polygon(b.x + b.w / 2, b.y, b.x + b.w - 1, b.y + b.h - 1, b.x, b.y + b.h - 1);
    fl_color(FL_BLACK);
    fl_loop(b.x + b.w / 2, b.y, b.x + b.w - 1, b.y + b.h - 1, b.x, b.y + b.h - 1);
    glyph("!", PixelBox{b.x, b.y + b.h / 6, b.w, b.h * 5 / 6}, FL_BLACK);
}

} // namespace

bool messageBoxHasIcon(UINT type) {
    switch (type & kIconMask) {
    case MB_ICONHAND:
    case MB_ICONQUESTION:
    case MB_ICONEXCLAMATION:
    case MB_ICONASTERISK:
        return true;
    default:
        return false;
    }
}

void drawMessageBoxIcon(UINT type, const PixelBox& box) {
    switch (type & kIconMask) {
    case MB_ICONHAND:
        stop(box);
        break;
    case MB_ICONQUESTION:
        disc(box, fl_rgb_color(255, 255, 255));
        glyph("?", box, fl_rgb_color(0, 0, 160));
        break;
    case MB_ICONEXCLAMATION:
        warning(box);
        break;
    case MB_ICONASTERISK:
        disc(box, fl_rgb_color(255, 255, 255));
        glyph("i", box, fl_rgb_color(0, 0, 160));
        break;
    default:
        break;
    }
}

} // namespace kx
