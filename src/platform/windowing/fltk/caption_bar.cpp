#include "windowing/fltk/caption_bar.h"

#include <FL/fl_draw.H>

#include <algorithm>

#include "windowing/dialog_builder.h"
#include "windowing/fltk/control_painter.h"

namespace kx {

namespace {

constexpr int kBoxHeight = kCaptionHeight - 6;
constexpr int kCloseWidth = kBoxHeight + 2;
constexpr int kOkWidth = kBoxHeight + 10;
constexpr int kBoxGap = 2;

Fl_Color captionStart() {
    return fl_rgb_color(10, 36, 106);
}
Fl_Color captionEnd() {
    return fl_rgb_color(166, 202, 240);
}

// A left-to-right blend of the two caption colours.
void gradient(const PixelBox& b) {
    for (int i = 0; i < b.w; ++i) {
        fl_color(fl_color_average(captionEnd(), captionStart(), float(i) / float(b.w)));
        fl_yxline(b.x + i, b.y, b.y + b.h - 1);
    }
}

void captionButton(const PixelBox& box, bool pressed) {
    fl_color(paint::faceColour());
    fl_rectf(box.x, box.y, box.w, box.h);
    if (pressed) {
        paint::sunkenEdge(box);
    } else {
        paint::raisedEdge(box);
    }
}

// The close button's cross, two pixels thick.
void cross(const PixelBox& box, int shift) {
    int size = std::min(box.w, box.h) / 2 - 1;
    int cx = box.x + box.w / 2 + shift;
    int cy = box.y + box.h / 2 + shift;
    int half = size / 2;
    fl_color(paint::textColour());
    fl_line_style(FL_SOLID, 2);
    fl_line(cx - half, cy - half, cx + half, cy + half);
    fl_line(cx - half, cy + half, cx + half, cy - half);
    fl_line_style(0);
}

} // namespace

CaptionLayout layoutCaption(int width, DWORD style, DWORD exStyle) {
    CaptionLayout layout;
    if ((style & WS_CAPTION) != WS_CAPTION) {
        return layout;
    }
    POINT client = clientOffset(style);
    int frame = client.x;
    layout.bar = PixelBox{frame, frame, width - 2 * frame, kCaptionHeight};
    int top = layout.bar.y + (kCaptionHeight - kBoxHeight) / 2;
    int right = layout.bar.x + layout.bar.w - kBoxGap;
    if (style & WS_SYSMENU) {
        layout.close = PixelBox{right - kCloseWidth, top, kCloseWidth, kBoxHeight};
        right = layout.close.x - kBoxGap;
    }
    if (exStyle & WS_EX_CAPTIONOKBTN) {
        layout.ok = PixelBox{right - kOkWidth, top, kOkWidth, kBoxHeight};
    }
    return layout;
}

CaptionPart hitCaption(const CaptionLayout& layout, int x, int y) {
    if (layout.close.contains(x, y)) {
        return CaptionPart::Close;
    }
    if (layout.ok.contains(x, y)) {
        return CaptionPart::Ok;
    }
    if (layout.bar.contains(x, y)) {
        return CaptionPart::Title;
    }
    return CaptionPart::Nowhere;
}

void drawCaption(const CaptionLayout& layout, const std::string& title, const ResolvedFont& font,
                 CaptionPart pressed) {
    if (layout.bar.w <= 0) {
        return;
    }
    gradient(layout.bar);
    int titleRight = layout.bar.x + layout.bar.w;
    if (layout.ok.w > 0) {
        titleRight = layout.ok.x;
    } else if (layout.close.w > 0) {
        titleRight = layout.close.x;
    }
    PixelBox titleBox{layout.bar.x + 4, layout.bar.y, titleRight - layout.bar.x - 8, layout.bar.h};
    paint::text(title, titleBox, Fl_Align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE), font,
                fl_rgb_color(255, 255, 255));
    if (layout.ok.w > 0) {
        bool down = pressed == CaptionPart::Ok;
        captionButton(layout.ok, down);
        int shift = down ? 1 : 0;
        PixelBox label{layout.ok.x + shift, layout.ok.y + shift, layout.ok.w, layout.ok.h};
        paint::text("OK", label, FL_ALIGN_CENTER, font, paint::textColour());
    }
    if (layout.close.w > 0) {
        bool down = pressed == CaptionPart::Close;
        captionButton(layout.close, down);
        cross(layout.close, down ? 1 : 0);
    }
}

} // namespace kx
