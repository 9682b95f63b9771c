// A message box in a real window: the target's caption with the box's
// caption text, the icon its MB_ICON* bits ask for, the text, and the
// buttons of its type (OK; OK and Cancel; Yes and No). It is modal and
// centred on its owner; while it is open the window system's messages and
// timers keep flowing, so the owner goes on blinking and drawing.
//
// It does not decide when a box is shown instead of reported: the backend
// does.
#pragma once

#include <windows.h>

#include <FL/Fl_Double_Window.H>

#include <string>
#include <vector>

#include "windowing/clock.h"
#include "windowing/fltk/caption_bar.h"
#include "windowing/fltk/font_resolver.h"

namespace kx {

class MessageBoxView : public Fl_Double_Window {
public:
    // `owner` is where the box is centred (the screen when null).
    MessageBoxView(const RECT* owner, const std::u16string& text, const std::u16string& caption,
                   UINT type, FontResolver& fonts);

    // Shows the box until a button answers it; returns that button's id.
    int run(const Clock& clock);

    int handle(int event) override;
    void draw() override;

private:
    struct Button {
        std::string label;
        int result = IDOK;
        PixelBox box;
    };
    void layout(const RECT* owner);
    void answer(int result);
    int buttonAt(int x, int y) const;
    static void closeRequested(Fl_Widget* widget, void*);

    std::string m_text;
    std::string m_caption;
    UINT m_type;
    FontResolver& m_fonts;
    std::vector<Button> m_buttons;
    int m_closeResult = IDOK; // the answer of the close button and Escape
    CaptionLayout m_captionLayout;
    PixelBox m_icon;
    PixelBox m_textBox;
    int m_pressed = -1;
    bool m_closePressed = false;
    bool m_done = false;
    int m_result = IDOK;
};

} // namespace kx
