// One window of the emulated window system: a top-level dialog or one of its
// controls. The window manager owns these records; everything else refers to
// windows by their handle.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace kx {

struct DialogUnits {
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
};

struct Window {
    HWND handle = nullptr;
    HWND parent = nullptr;
    std::vector<HWND> children; // in creation order, which is also the z and tab order
    std::u16string className;   // "BUTTON", "STATIC", or kDialogClass
    std::u16string text;
    DWORD style = 0;
    DWORD exStyle = 0;
    int id = 0;
    DialogUnits unitRect{}; // position and size from the template, in dialog units
    RECT pixelRect{}; // left/top/right/bottom in pixels: screen for top-level, parent for children
    HFONT font = nullptr;
    HICON bigIcon = nullptr;
    HICON smallIcon = nullptr;
    WNDPROC proc = nullptr;
    bool destroying = false;

    // Dialogs only.
    bool isDialog = false;
    DWORD templateStyle = 0;    // the style the template asked for, WS_VISIBLE included
    HFONT dialogFont = nullptr; // the template's font, given to every control at creation
    bool endRequested = false;
    INT_PTR result = 0;
    int baseUnitX = 0; // dialog base units in pixels
    int baseUnitY = 0;

    bool visible() const { return (style & WS_VISIBLE) != 0; }
};

// The class name of dialog windows.
inline constexpr char16_t kDialogClass[] = u"#32770";

} // namespace kx
