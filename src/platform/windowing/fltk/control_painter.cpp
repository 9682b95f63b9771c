#include "windowing/fltk/control_painter.h"

#include <FL/fl_draw.H>

#include "common/utf.h"

namespace kx::paint {

namespace {

constexpr DWORD kButtonTypeMask = 0x0F;
constexpr DWORD kStaticAlignMask = 0x03;

void edge(const PixelBox& b, Fl_Color outerTopLeft, Fl_Color outerBottomRight,
          Fl_Color innerTopLeft, Fl_Color innerBottomRight) {
    if (b.w < 4 || b.h < 4) {
        return;
    }
    int right = b.x + b.w - 1;
    int bottom = b.y + b.h - 1;
    fl_color(outerTopLeft);
    fl_xyline(b.x, b.y, right - 1);
    fl_yxline(b.x, b.y, bottom - 1);
    fl_color(outerBottomRight);
    fl_xyline(b.x, bottom, right);
    fl_yxline(right, b.y, bottom);
    fl_color(innerTopLeft);
    fl_xyline(b.x + 1, b.y + 1, right - 2);
    fl_yxline(b.x + 1, b.y + 1, bottom - 2);
    fl_color(innerBottomRight);
    fl_xyline(b.x + 1, bottom - 1, right - 1);
    fl_yxline(right - 1, b.y + 1, bottom - 1);
}

void pushButton(const Window& c, const PixelBox& b, const ResolvedFont& font, bool pressed) {
    fl_color(faceColour());
    fl_rectf(b.x, b.y, b.w, b.h);
    if (pressed) {
        sunkenEdge(b);
    } else {
        raisedEdge(b);
    }
    // The caption moves with the face when the button is down.
    int shift = pressed ? 1 : 0;
    PixelBox inner{b.x + 2 + shift, b.y + 2 + shift, b.w - 4, b.h - 4};
    Fl_Color colour = (c.style & WS_DISABLED) ? shadowColour() : textColour();
    text(toUtf8(c.text), inner, FL_ALIGN_CENTER, font, colour);
}

void staticText(const Window& c, const PixelBox& b, const ResolvedFont& font) {
    fl_color(faceColour());
    fl_rectf(b.x, b.y, b.w, b.h);
    PixelBox inner = b;
    if (c.exStyle & WS_EX_STATICEDGE) {
        staticEdge(b);
        inner = PixelBox{b.x + 1, b.y + 1, b.w - 2, b.h - 2};
    }
    int align = FL_ALIGN_INSIDE;
    switch (c.style & kStaticAlignMask) {
    case SS_CENTER:
        break; // FLTK centres when neither left nor right is asked for
    case SS_RIGHT:
        align |= FL_ALIGN_RIGHT;
        break;
    default:
        align |= FL_ALIGN_LEFT;
        break;
    }
    if (c.style & SS_CENTERIMAGE) {
        // One line, centred vertically.
        text(toUtf8(c.text), inner, Fl_Align(align), font, textColour());
    } else {
        text(toUtf8(c.text), inner, Fl_Align(align | FL_ALIGN_TOP | FL_ALIGN_WRAP), font,
             textColour());
    }
}

} // namespace

Fl_Color faceColour() {
    return fl_rgb_color(212, 208, 200);
}
Fl_Color shadowColour() {
    return fl_rgb_color(128, 128, 128);
}
Fl_Color highlightColour() {
    return fl_rgb_color(255, 255, 255);
}
Fl_Color darkShadowColour() {
    return fl_rgb_color(0, 0, 0);
}
Fl_Color textColour() {
    return fl_rgb_color(0, 0, 0);
}

void raisedEdge(const PixelBox& b) {
    edge(b, highlightColour(), darkShadowColour(), faceColour(), shadowColour());
}

void sunkenEdge(const PixelBox& b) {
    edge(b, shadowColour(), highlightColour(), darkShadowColour(), faceColour());
}

void staticEdge(const PixelBox& b) {
    if (b.w < 2 || b.h < 2) {
        return;
    }
    int right = b.x + b.w - 1;
    int bottom = b.y + b.h - 1;
    fl_color(shadowColour());
    fl_xyline(b.x, b.y, right - 1);
    fl_yxline(b.x, b.y, bottom - 1);
    fl_color(highlightColour());
    fl_xyline(b.x, bottom, right);
    fl_yxline(right, b.y, bottom);
}

void text(const std::string& utf8, const PixelBox& box, Fl_Align align, const ResolvedFont& font,
          Fl_Color colour) {
    if (utf8.empty() || box.w <= 0 || box.h <= 0) {
        return;
    }
    fl_push_clip(box.x, box.y, box.w, box.h);
    fl_font(font.face, font.size);
    fl_color(colour);
    fl_draw(utf8.c_str(), box.x, box.y, box.w, box.h, Fl_Align(align | FL_ALIGN_CLIP), nullptr, 0);
    fl_pop_clip();
}

bool isPushButton(const Window& c) {
    if (c.className != u"BUTTON") {
        return false;
    }
    DWORD type = c.style & kButtonTypeMask;
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

void control(const Window& c, const PixelBox& box, const ResolvedFont& font, bool pressed) {
    if (!c.visible() || box.w <= 0 || box.h <= 0) {
        return;
    }
    if (c.className == u"BUTTON") {
        pushButton(c, box, font, pressed && isPushButton(c));
    } else if (c.className == u"STATIC") {
        staticText(c, box, font);
    }
    // Other classes have no look of their own here: the dialog's face shows.
}

} // namespace kx::paint
