#include "windowing/script/script_actions.h"

#include "common/event_log.h"
#include "common/utf.h"
#include "windowing/font_table.h"
#include "windowing/script/control_names.h"
#include "windowing/window_manager.h"

namespace kx {

namespace {

Event fontJson(const Window& control, const Window& dialog) {
    if (control.font == dialog.dialogFont) {
        return nullptr;
    }
    const FontObject* font = FontTable::instance().find(control.font);
    if (!font) {
        // A null or deleted font: the control draws with the system font.
        return "system";
    }
    Event j;
    j["face"] = toUtf8(font->logFont.lfFaceName);
    if (font->pointTenths % 10 == 0) {
        j["points"] = font->pointTenths / 10;
    } else {
        j["points"] = font->pointTenths / 10.0;
    }
    j["height"] = font->logFont.lfHeight;
    return j;
}

} // namespace

void reportScriptError(int line, const std::string& message) {
    emitEvent({{"event", "error"}, {"line", line}, {"message", message}});
}

Event dumpDialog(HWND dialog) {
    WindowManager& wm = WindowManager::instance();
    Window* d = wm.find(dialog);
    if (!d) {
        return nullptr;
    }
    Event controls = Event::array();
    for (HWND child : d->children) {
        Window* c = wm.find(child);
        if (!c) {
            continue;
        }
        std::string name = controlNameForId(c->id);
        RECT screen{};
        GetWindowRect(child, &screen);
        controls.push_back({
            {"id", c->id},
            {"name", name.empty() ? Event(nullptr) : Event(name)},
            {"class", toUtf8(c->className)},
            {"text", toUtf8(c->text)},
            {"style", c->style},
            {"rect", {c->unitRect.x, c->unitRect.y, c->unitRect.cx, c->unitRect.cy}},
            {"font", fontJson(*c, *d)},
            {"visible", c->visible()},
            {"pixels",
             {screen.left, screen.top, screen.right - screen.left, screen.bottom - screen.top}},
        });
    }
    RECT window{};
    GetWindowRect(dialog, &window);
    return {{"event", "dump"},
            {"title", toUtf8(d->text)},
            {"style", d->style},
            {"exstyle", d->exStyle},
            {"controls", controls},
            {"pixels",
             {window.left, window.top, window.right - window.left, window.bottom - window.top}}};
}

void performScriptCommand(const ScriptCommand& command) {
    WindowManager& wm = WindowManager::instance();
    HWND dialog = wm.activeModal();
    if (command.kind == ScriptCommand::Kind::Invalid) {
        reportScriptError(command.line, command.error);
        return;
    }
    if (!dialog) {
        reportScriptError(command.line, "no dialog is open");
        return;
    }
    switch (command.kind) {
    case ScriptCommand::Kind::Click: {
        std::optional<int> id = controlIdFromText(command.argument);
        if (!id) {
            reportScriptError(command.line, "unknown control '" + command.argument + "'");
            return;
        }
        HWND control = GetDlgItem(dialog, *id);
        if (!control) {
            reportScriptError(command.line, "the dialog has no control " + command.argument);
            return;
        }
        wm.post(control, BM_CLICK, 0, 0);
        return;
    }
    case ScriptCommand::Kind::Command: {
        int id = 0;
        if (command.argument == "IDOK") {
            id = IDOK;
        } else if (command.argument == "IDCANCEL") {
            id = IDCANCEL;
        } else if (auto numeric = controlIdFromText(command.argument)) {
            id = *numeric;
        } else {
            reportScriptError(command.line, "unknown command id '" + command.argument + "'");
            return;
        }
        wm.post(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
        return;
    }
    case ScriptCommand::Kind::Dump:
        emitEvent(dumpDialog(dialog));
        return;
    case ScriptCommand::Kind::Tick:
    case ScriptCommand::Kind::Screenshot:
    case ScriptCommand::Kind::Invalid:
        reportScriptError(command.line, "this backend cannot carry out that command");
        return;
    }
}

} // namespace kx
