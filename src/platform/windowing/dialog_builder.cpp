#include "windowing/dialog_builder.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "common/utf.h"
#include "resources/resource_module.h"
#include "windowing/backend/backend.h"
#include "windowing/window_manager.h"

namespace kx {

namespace {

HFONT createTemplateFont(const DialogTemplate& t) {
    if (!t.hasFont) {
        return nullptr;
    }
    LOGFONTW logFont = {};
    // Points to pixels, rounded: the way dialog creation sizes its font.
    int dpi = backend().logPixelsY();
    logFont.lfHeight = -LONG((int(t.pointSize) * dpi + 36) / 72);
    logFont.lfWeight = FW_NORMAL;
    logFont.lfCharSet = DEFAULT_CHARSET;
    for (size_t i = 0; i < t.faceName.size() && i < LF_FACESIZE - 1; ++i) {
        logFont.lfFaceName[i] = t.faceName[i];
    }
    return CreateFontIndirectW(&logFont);
}

RECT toPixels(int x, int y, int cx, int cy, int baseX, int baseY) {
    int left = x * baseX / 4;
    int top = y * baseY / 8;
    return RECT{left, top, left + cx * baseX / 4, top + cy * baseY / 8};
}

} // namespace

POINT clientOffset(DWORD style) {
    int frame = (style & (WS_CAPTION | DS_MODALFRAME)) ? kFrameWidth : 0;
    int caption = (style & WS_CAPTION) == WS_CAPTION ? kCaptionHeight : 0;
    return POINT{frame, frame + caption};
}

HWND createDialogFromTemplate(const DialogTemplate& t, HWND parent) {
    WindowManager& wm = WindowManager::instance();
    HFONT font = createTemplateFont(t);
    LOGFONTW logFont = {};
    if (font) {
        GetObjectW(font, sizeof(logFont), &logFont);
    }
    // Dialog base units follow the height of the dialog's font; an 8-point
    // font at 96 dots per inch gives the classic 6 by 13.
    int em = font ? std::abs(int(logFont.lfHeight)) : 11;
    int baseX = std::max(1, (em * 6 + 5) / 11);
    int baseY = std::max(1, (em * 13 + 5) / 11);

    Window dialog;
    dialog.className = t.windowClass.empty() || t.windowClass.isOrdinal()
                           ? std::u16string(kDialogClass)
                           : t.windowClass.text;
    dialog.proc = dialogWindowProc;
    dialog.text = t.title;
    // Shown only once the dialog has been initialised.
    dialog.style = t.style & ~DWORD(WS_VISIBLE);
    dialog.templateStyle = t.style;
    dialog.exStyle = t.exStyle;
    dialog.parent = nullptr; // dialogs are top-level windows, owned by `parent`
    dialog.unitRect = DialogUnits{t.x, t.y, t.cx, t.cy};
    dialog.isDialog = true;
    dialog.dialogFont = font;
    dialog.font = font;
    dialog.baseUnitX = baseX;
    dialog.baseUnitY = baseY;
    RECT client = toPixels(t.x, t.y, t.cx, t.cy, baseX, baseY);
    POINT offset = clientOffset(t.style);
    int frame = offset.x;
    dialog.pixelRect =
        RECT{client.left, client.top, client.right + 2 * frame, client.bottom + frame + offset.y};
    (void)parent;
    HWND hwnd = wm.create(std::move(dialog));
    if (!hwnd) {
        if (font) {
            DeleteObject(font);
        }
        return nullptr;
    }
    for (const DialogItem& item : t.items) {
        Window control;
        control.className = item.className();
        control.text = item.text.isOrdinal() ? std::u16string() : item.text.text;
        control.style = item.style;
        control.exStyle = item.exStyle;
        control.id = item.controlId();
        control.parent = hwnd;
        control.unitRect = DialogUnits{item.x, item.y, item.cx, item.cy};
        control.pixelRect = toPixels(item.x, item.y, item.cx, item.cy, baseX, baseY);
        control.font = font;
        wm.create(std::move(control));
    }
    return hwnd;
}

HWND createDialogFromResource(UINT templateId, HWND parent) {
    const ResourceModule& module = ResourceModule::current();
    ParseResult<DialogTemplate> t = module.findDialog(uint16_t(templateId));
    if (!t) {
        std::fprintf(stderr, "kestrix: cannot create dialog %u: %s\n", templateId,
                     t.error().c_str());
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    return createDialogFromTemplate(t.value(), parent);
}

} // namespace kx
