// The caption bar of the target's windows, drawn inside a borderless host
// window: the title on the left, then at the right the caption's OK button
// (WS_EX_CAPTIONOKBTN) and its close button (WS_SYSMENU). A host window
// manager cannot carry an OK button, so the caption is drawn here.
//
// It lays out, draws and hit-tests; what a press does is the caller's.
#pragma once

#include <windows.h>

#include <string>

#include "windowing/fltk/font_resolver.h"
#include "windowing/fltk/pixel_box.h"

namespace kx {

enum class CaptionPart { Nowhere, Title, Ok, Close };

struct CaptionLayout {
    PixelBox bar;   // empty when the window has no caption
    PixelBox ok;    // empty when there is no OK button
    PixelBox close; // empty when there is no close button
};

// The caption of a window `width` pixels wide with these styles.
CaptionLayout layoutCaption(int width, DWORD style, DWORD exStyle);
CaptionPart hitCaption(const CaptionLayout& layout, int x, int y);
void drawCaption(const CaptionLayout& layout, const std::string& title, const ResolvedFont& font,
                 CaptionPart pressed);

} // namespace kx
