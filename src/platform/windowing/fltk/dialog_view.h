// One top-level window of the window system shown on the host's display: a
// borderless FLTK window at the window's pixel rectangle that draws the
// target's frame and caption and every child control from the window
// manager's records, each time it is told that something changed.
//
// Input: a mouse click released over a visible push button is a tap and
// posts BM_CLICK to it; the caption's OK and close buttons, and the host's
// close request, post IDOK and IDCANCEL to the dialog; dragging the title
// moves the window. It only posts messages: the program's handlers run
// later on the modal loop, never from inside an FLTK event.
#pragma once

#include <windows.h>

#include <FL/Fl_Double_Window.H>

#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "windowing/fltk/caption_bar.h"
#include "windowing/fltk/font_resolver.h"
#include "windowing/fltk/window_icon.h"

namespace kx {

class DialogView : public Fl_Double_Window {
public:
    // Called after each completed frame with the time it took to draw and
    // the time since the tap that led to it (negative when none).
    using FrameListener = std::function<void(HWND, double drawMs, double sinceTapMs)>;

    DialogView(HWND hwnd, FontResolver& fonts);

    HWND hwnd() const { return m_hwnd; }
    // Follows the window's record: place, title, icons, visibility; redraws.
    void sync();
    void setFrameListener(FrameListener listener) { m_frameListener = std::move(listener); }
    // The message queue has been drained: a tap posted before now has been
    // handled, so the next frame shows its result.
    void queueDrained() {
        if (m_tapTime) {
            m_tapHandled = true;
        }
    }

    int handle(int event) override;
    void draw() override;
    void flush() override;

private:
    HWND controlAt(int x, int y) const;
    PixelBox controlBox(HWND control) const;
    void postCommand(int id);
    static void closeRequested(Fl_Widget* widget, void*);

    HWND m_hwnd;
    FontResolver& m_fonts;
    WindowIcons m_icons;
    std::string m_title;
    HWND m_pressed = nullptr;     // the push button held down
    bool m_pressedInside = false; // the pointer is still over it
    CaptionPart m_captionPressed = CaptionPart::Nowhere;
    bool m_captionInside = false;
    bool m_dragging = false;
    int m_dragX = 0;
    int m_dragY = 0;
    std::optional<std::chrono::steady_clock::time_point> m_tapTime; // a tap not yet drawn
    bool m_tapHandled = false;
    FrameListener m_frameListener;
};

} // namespace kx
