// Makes a dialog window and its controls from a dialog template, as the
// platform's dialog creation does: the template's font is created and given
// to every control, positions are turned from dialog units into pixels, and
// the dialog starts hidden until its WS_VISIBLE style shows it after
// initialisation. It sends no WM_INITDIALOG: the caller does, once it has
// attached its window object.
#pragma once

#include <windows.h>

#include "resources/dialog_template.h"

namespace kx {

HWND createDialogFromTemplate(const DialogTemplate& dialogTemplate, HWND parent);
// The template with this id from the program's resources; null (with an
// explanation on standard error) when it is missing or unreadable.
HWND createDialogFromResource(UINT templateId, HWND parent);

// Pixels of a caption bar and of the frame of a dialog window.
inline constexpr int kCaptionHeight = 26;
inline constexpr int kFrameWidth = 3;

// Where the client area of a window with this style starts inside the
// window: past its frame and its caption. Controls are placed from there.
POINT clientOffset(DWORD style);

} // namespace kx
