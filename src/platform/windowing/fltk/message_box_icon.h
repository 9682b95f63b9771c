// The icons a message box shows for its MB_ICON* bits, drawn with FLTK's
// primitives: a red stop sign with a cross (MB_ICONHAND), a question mark
// (MB_ICONQUESTION), a yellow warning triangle (MB_ICONEXCLAMATION) and an
// information sign (MB_ICONASTERISK).
#pragma once

#include <windows.h>

#include "windowing/fltk/pixel_box.h"

namespace kx {

inline constexpr int kMessageBoxIconSize = 32;

// Whether the type asks for an icon at all.
bool messageBoxHasIcon(UINT type);
// Draws the icon of `type` in a square box; nothing when it has none.
void drawMessageBoxIcon(UINT type, const PixelBox& box);

} // namespace kx
