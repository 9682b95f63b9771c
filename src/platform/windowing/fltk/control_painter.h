// Draws the target's look with FLTK: the classic three-dimensional edges, the
// dialog's face, and the controls of the window system (push buttons, static
// text with or without a static edge) the way their styles ask for.
//
// It draws one thing where it is told to; it keeps no state and knows
// nothing of windows' positions or of input.
#pragma once

#include <FL/Enumerations.H>

#include <string>

#include "windowing/fltk/font_resolver.h"
#include "windowing/fltk/pixel_box.h"
#include "windowing/window.h"

namespace kx::paint {

// The colours of the target's standard scheme.
Fl_Color faceColour();
Fl_Color shadowColour();
Fl_Color highlightColour();
Fl_Color darkShadowColour();
Fl_Color textColour();

// A raised edge two pixels wide (a push button, a window frame).
void raisedEdge(const PixelBox& box);
// A sunken edge two pixels wide (a pressed push button).
void sunkenEdge(const PixelBox& box);
// The one-pixel edge of WS_EX_STATICEDGE.
void staticEdge(const PixelBox& box);

// Text in a box, clipped to it; FLTK's '@' symbols are not interpreted.
void text(const std::string& utf8, const PixelBox& box, Fl_Align align, const ResolvedFont& font,
          Fl_Color colour);

// One control at `box` (its place in the window), with its font.
void control(const Window& control, const PixelBox& box, const ResolvedFont& font, bool pressed);

// Whether a control is a push button that takes taps.
bool isPushButton(const Window& control);

} // namespace kx::paint
