#include "windowing/fltk/dialog_view.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include "common/utf.h"
#include "windowing/dialog_builder.h"
#include "windowing/fltk/control_painter.h"
#include "windowing/window_manager.h"

namespace kx {

namespace {

PixelBox boxOf(const RECT& r) {
    return PixelBox{r.left, r.top, r.right - r.left, r.bottom - r.top};
}

constexpr Fl_Fontsize kCaptionFontPixels = 13;

double millisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

} // namespace

DialogView::DialogView(HWND hwnd, FontResolver& fonts)
    : Fl_Double_Window(0, 0, 1, 1), m_hwnd(hwnd), m_fonts(fonts) {
    end();
    border(0);
    callback(closeRequested);
    xclass("Kestrix");
    sync();
}

void DialogView::sync() {
    Window* w = WindowManager::instance().find(m_hwnd);
    if (!w) {
        return;
    }
    PixelBox r = boxOf(w->pixelRect);
    if (r.w > 0 && r.h > 0 && (r.x != x() || r.y != y() || r.w != this->w() || r.h != h())) {
        resize(r.x, r.y, r.w, r.h);
    }
    std::string title = toUtf8(w->text);
    if (title != m_title) {
        m_title = title;
        copy_label(m_title.c_str());
    }
    if (!m_icons.sameAs(w->bigIcon, w->smallIcon)) {
        m_icons.update(w->bigIcon, w->smallIcon);
        std::vector<const Fl_RGB_Image*> images = m_icons.images();
        if (!images.empty()) {
            icons(images.data(), int(images.size()));
        }
    }
    if (w->visible() && !shown()) {
        show();
    } else if (!w->visible() && shown()) {
        hide();
    }
    redraw();
}

PixelBox DialogView::controlBox(HWND control) const {
    WindowManager& wm = WindowManager::instance();
    Window* dialog = wm.find(m_hwnd);
    Window* c = wm.find(control);
    if (!dialog || !c) {
        return PixelBox{};
    }
    POINT origin = clientOffset(dialog->style);
    PixelBox box = boxOf(c->pixelRect);
    box.x += origin.x;
    box.y += origin.y;
    return box;
}

HWND DialogView::controlAt(int px, int py) const {
    WindowManager& wm = WindowManager::instance();
    Window* dialog = wm.find(m_hwnd);
    if (!dialog) {
        return nullptr;
    }
    // The first child is the topmost.
    for (HWND child : dialog->children) {
        Window* c = wm.find(child);
        if (c && c->visible() && controlBox(child).contains(px, py)) {
            return child;
        }
    }
    return nullptr;
}

void DialogView::postCommand(int id) {
    WindowManager::instance().post(m_hwnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

void DialogView::closeRequested(Fl_Widget* widget, void*) {
    // The host's close request (and Escape) cancel the dialog, as its close
    // button does; the window goes when the dialog ends.
    static_cast<DialogView*>(widget)->postCommand(IDCANCEL);
}

int DialogView::handle(int event) {
    Window* dialog = WindowManager::instance().find(m_hwnd);
    if (!dialog) {
        return Fl_Double_Window::handle(event);
    }
    int ex = Fl::event_x();
    int ey = Fl::event_y();
    CaptionLayout caption = layoutCaption(w(), dialog->style, dialog->exStyle);
    switch (event) {
    case FL_PUSH: {
        if (Fl::event_button() != FL_LEFT_MOUSE) {
            return 1;
        }
        CaptionPart part = hitCaption(caption, ex, ey);
        if (part == CaptionPart::Ok || part == CaptionPart::Close) {
            m_captionPressed = part;
            m_captionInside = true;
        } else if (part == CaptionPart::Title) {
            m_dragging = true;
            m_dragX = Fl::event_x_root() - x();
            m_dragY = Fl::event_y_root() - y();
        } else {
            HWND control = controlAt(ex, ey);
            Window* c = WindowManager::instance().find(control);
            if (c && paint::isPushButton(*c) && !(c->style & WS_DISABLED)) {
                m_pressed = control;
                m_pressedInside = true;
            }
        }
        redraw();
        return 1;
    }
    case FL_DRAG:
        if (m_dragging) {
            int nx = Fl::event_x_root() - m_dragX;
            int ny = Fl::event_y_root() - m_dragY;
            position(nx, ny);
            MoveWindow(m_hwnd, nx, ny, w(), h(), FALSE);
        } else if (m_pressed) {
            bool inside = controlBox(m_pressed).contains(ex, ey);
            if (inside != m_pressedInside) {
                m_pressedInside = inside;
                redraw();
            }
        } else if (m_captionPressed != CaptionPart::Nowhere) {
            bool inside = hitCaption(caption, ex, ey) == m_captionPressed;
            if (inside != m_captionInside) {
                m_captionInside = inside;
                redraw();
            }
        }
        return 1;
    case FL_RELEASE: {
        if (m_pressed && controlBox(m_pressed).contains(ex, ey) &&
            WindowManager::instance().find(m_pressed)) {
            m_tapTime = std::chrono::steady_clock::now();
            m_tapHandled = false;
            WindowManager::instance().post(m_pressed, BM_CLICK, 0, 0);
        }
        if (m_captionPressed != CaptionPart::Nowhere &&
            hitCaption(caption, ex, ey) == m_captionPressed) {
            postCommand(m_captionPressed == CaptionPart::Ok ? IDOK : IDCANCEL);
        }
        m_pressed = nullptr;
        m_pressedInside = false;
        m_captionPressed = CaptionPart::Nowhere;
        m_captionInside = false;
        m_dragging = false;
        redraw();
        return 1;
    }
    default:
        return Fl_Double_Window::handle(event);
    }
}

void DialogView::draw() {
    fl_color(paint::faceColour());
    fl_rectf(0, 0, w(), h());
    WindowManager& wm = WindowManager::instance();
    Window* dialog = wm.find(m_hwnd);
    if (!dialog) {
        return;
    }
    POINT origin = clientOffset(dialog->style);
    if (origin.x > 0) {
        paint::raisedEdge(PixelBox{0, 0, w(), h()});
    }
    CaptionLayout caption = layoutCaption(w(), dialog->style, dialog->exStyle);
    drawCaption(caption, m_title, m_fonts.named("Tahoma", kCaptionFontPixels, true),
                m_captionInside ? m_captionPressed : CaptionPart::Nowhere);
    // Later children lie below earlier ones: draw from the bottom up.
    for (auto it = dialog->children.rbegin(); it != dialog->children.rend(); ++it) {
        Window* c = wm.find(*it);
        if (!c) {
            continue;
        }
        paint::control(*c, controlBox(*it), m_fonts.resolve(c->font),
                       *it == m_pressed && m_pressedInside);
    }
}

void DialogView::flush() {
    auto start = std::chrono::steady_clock::now();
    Fl_Double_Window::flush();
    double sinceTap = -1.0;
    if (m_tapTime && m_tapHandled) {
        sinceTap = millisecondsSince(*m_tapTime);
        m_tapTime.reset();
        m_tapHandled = false;
    }
    if (m_frameListener) {
        m_frameListener(m_hwnd, millisecondsSince(start), sinceTap);
    }
}

} // namespace kx
