#include "windowing/fltk/message_box_view.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include <algorithm>

#include "common/utf.h"
#include "windowing/dialog_builder.h"
#include "windowing/fltk/control_painter.h"
#include "windowing/fltk/message_box_icon.h"
#include "windowing/window_manager.h"

namespace kx {

namespace {

constexpr UINT kButtonMask = 0x0F;
constexpr int kMargin = 12;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kButtonGap = 8;
constexpr int kMaxTextWidth = 420;
constexpr int kMinClientWidth = 180;
constexpr Fl_Fontsize kTextPixels = 13;
// Messages dispatched in a row before the box looks at its own input again.
constexpr int kPumpBurst = 64;

DWORD boxStyle(UINT type) {
    DWORD style = WS_CAPTION | DS_MODALFRAME;
    // A Yes/No box has no close button: it must be answered.
    if ((type & kButtonMask) != MB_YESNO) {
        style |= WS_SYSMENU;
    }
    return style;
}

} // namespace

MessageBoxView::MessageBoxView(const RECT* owner, const std::u16string& text,
                               const std::u16string& caption, UINT type, FontResolver& fonts)
    : Fl_Double_Window(0, 0, 1, 1), m_text(toUtf8(text)), m_caption(toUtf8(caption)), m_type(type),
      m_fonts(fonts) {
    end();
    border(0);
    set_modal();
    callback(closeRequested);
    copy_label(m_caption.c_str());
    switch (type & kButtonMask) {
    case MB_OKCANCEL:
        m_buttons = {{"OK", IDOK, {}}, {"Cancel", IDCANCEL, {}}};
        m_closeResult = IDCANCEL;
        break;
    case MB_YESNO:
        m_buttons = {{"Yes", IDYES, {}}, {"No", IDNO, {}}};
        m_closeResult = 0;
        break;
    default:
        m_buttons = {{"OK", IDOK, {}}};
        m_closeResult = IDOK;
        break;
    }
    layout(owner);
}

void MessageBoxView::layout(const RECT* owner) {
    ResolvedFont font = m_fonts.named("Tahoma", kTextPixels, false);
    fl_font(font.face, font.size);
    int textW = 0;
    int textH = 0;
    fl_measure(m_text.c_str(), textW, textH, 0);
    if (textW > kMaxTextWidth) {
        textW = kMaxTextWidth;
        fl_measure(m_text.c_str(), textW, textH, 0);
    }
    bool icon = messageBoxHasIcon(m_type);
    int textX = kMargin + (icon ? kMessageBoxIconSize + kMargin : 0);
    int buttonsW = int(m_buttons.size()) * kButtonWidth + int(m_buttons.size() - 1) * kButtonGap;
    int clientW = std::max({textX + textW + kMargin, buttonsW + 2 * kMargin, kMinClientWidth});
    int bodyH = std::max(textH, icon ? kMessageBoxIconSize : 0);
    int clientH = kMargin + bodyH + kMargin + kButtonHeight + kMargin;

    DWORD style = boxStyle(m_type);
    POINT client = clientOffset(style);
    int width = clientW + 2 * client.x;
    int height = clientH + client.y + client.x;
    m_captionLayout = layoutCaption(width, style, 0);
    m_icon = icon ? PixelBox{client.x + kMargin, client.y + kMargin, kMessageBoxIconSize,
                             kMessageBoxIconSize}
                  : PixelBox{};
    // Short text sits level with the middle of the icon.
    int textY = client.y + kMargin + std::max(0, (bodyH - textH) / 2);
    m_textBox = PixelBox{client.x + textX, textY, textW, textH};
    int bx = client.x + (clientW - buttonsW) / 2;
    int by = client.y + kMargin + bodyH + kMargin;
    for (Button& b : m_buttons) {
        b.box = PixelBox{bx, by, kButtonWidth, kButtonHeight};
        bx += kButtonWidth + kButtonGap;
    }

    RECT area{};
    if (owner) {
        area = *owner;
    } else {
        int sx = 0, sy = 0, sw = 0, sh = 0;
        Fl::screen_xywh(sx, sy, sw, sh, 0);
        area = RECT{sx, sy, sx + sw, sy + sh};
    }
    int left = area.left + ((area.right - area.left) - width) / 2;
    int top = area.top + ((area.bottom - area.top) - height) / 2;
    resize(left, top, width, height);
}

void MessageBoxView::answer(int result) {
    m_result = result;
    m_done = true;
}

void MessageBoxView::closeRequested(Fl_Widget* widget, void*) {
    auto* box = static_cast<MessageBoxView*>(widget);
    if (box->m_closeResult != 0) {
        box->answer(box->m_closeResult);
    }
}

int MessageBoxView::buttonAt(int px, int py) const {
    for (size_t i = 0; i < m_buttons.size(); ++i) {
        if (m_buttons[i].box.contains(px, py)) {
            return int(i);
        }
    }
    return -1;
}

int MessageBoxView::handle(int event) {
    int ex = Fl::event_x();
    int ey = Fl::event_y();
    switch (event) {
    case FL_PUSH:
        m_pressed = buttonAt(ex, ey);
        m_closePressed = m_pressed < 0 && hitCaption(m_captionLayout, ex, ey) == CaptionPart::Close;
        redraw();
        return 1;
    case FL_DRAG:
        return 1;
    case FL_RELEASE:
        if (m_pressed >= 0 && buttonAt(ex, ey) == m_pressed) {
            answer(m_buttons[size_t(m_pressed)].result);
        } else if (m_closePressed && hitCaption(m_captionLayout, ex, ey) == CaptionPart::Close) {
            answer(m_closeResult);
        }
        m_pressed = -1;
        m_closePressed = false;
        redraw();
        return 1;
    case FL_KEYBOARD:
        if (Fl::event_key() == FL_Enter || Fl::event_key() == FL_KP_Enter) {
            answer(m_buttons.front().result);
            return 1;
        }
        return Fl_Double_Window::handle(event);
    default:
        return Fl_Double_Window::handle(event);
    }
}

void MessageBoxView::draw() {
    fl_color(paint::faceColour());
    fl_rectf(0, 0, w(), h());
    paint::raisedEdge(PixelBox{0, 0, w(), h()});
    drawCaption(m_captionLayout, m_caption, m_fonts.named("Tahoma", kTextPixels, true),
                m_closePressed ? CaptionPart::Close : CaptionPart::Nowhere);
    drawMessageBoxIcon(m_type, m_icon);
    ResolvedFont font = m_fonts.named("Tahoma", kTextPixels, false);
    paint::text(m_text, m_textBox, Fl_Align(FL_ALIGN_LEFT | FL_ALIGN_TOP | FL_ALIGN_WRAP), font,
                paint::textColour());
    for (size_t i = 0; i < m_buttons.size(); ++i) {
        const Button& b = m_buttons[i];
        bool down = int(i) == m_pressed;
        fl_color(paint::faceColour());
        fl_rectf(b.box.x, b.box.y, b.box.w, b.box.h);
        if (down) {
            paint::sunkenEdge(b.box);
        } else {
            paint::raisedEdge(b.box);
        }
        // The first button is the default one: a dark outline marks it.
        if (i == 0) {
            fl_color(paint::darkShadowColour());
            fl_rect(b.box.x - 1, b.box.y - 1, b.box.w + 2, b.box.h + 2);
        }
        int shift = down ? 1 : 0;
        paint::text(b.label, PixelBox{b.box.x + shift, b.box.y + shift, b.box.w, b.box.h},
                    FL_ALIGN_CENTER, font, paint::textColour());
    }
}

int MessageBoxView::run(const Clock& clock) {
    show();
    WindowManager& wm = WindowManager::instance();
    while (!m_done && shown()) {
        bool busy = false;
        for (int i = 0; i < kPumpBurst; ++i) {
            if (!wm.pumpOne()) {
                break;
            }
            busy = i + 1 == kPumpBurst;
        }
        uint64_t due = wm.nextTimerDue();
        uint64_t now = clock.now();
        double seconds = 0.5;
        if (busy) {
            seconds = 0.0;
        } else if (due != 0) {
            seconds = due > now ? double(due - now) / 1000.0 : 0.0;
        }
        Fl::wait(seconds);
    }
    hide();
    return m_result;
}

} // namespace kx
