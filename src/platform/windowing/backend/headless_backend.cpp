#include "windowing/backend/headless_backend.h"

#include "common/event_log.h"
#include "common/utf.h"
#include "windowing/script/script_actions.h"

namespace kx {

HeadlessBackend::HeadlessBackend(std::istream& script) : m_reader(script) {}

void reportUnreadLines(ScriptReader& reader) {
    while (std::optional<ScriptCommand> command = reader.next()) {
        reportScriptError(command->line, "not carried out: the dialog had already ended");
    }
}

void HeadlessBackend::finish() {
    reportUnreadLines(m_reader);
}

bool HeadlessBackend::waitForInput(uint64_t deadline) {
    // A tick in progress: move the clock to the next timer or to the tick's
    // end, whichever comes first, so every timer message of the period is
    // delivered in order.
    if (m_tickTarget > m_clock.now()) {
        uint64_t to = m_tickTarget;
        if (deadline != 0 && deadline < to) {
            to = deadline;
        }
        m_clock.advanceTo(to);
        return true;
    }
    std::optional<ScriptCommand> command = m_reader.next();
    if (!command) {
        return false;
    }
    switch (command->kind) {
    case ScriptCommand::Kind::Tick:
        m_tickTarget = m_clock.now() + uint64_t(command->count) * kTickPeriodMs;
        return true;
    case ScriptCommand::Kind::Screenshot:
        reportScriptError(command->line,
                          "screenshot needs the window backend (kestrix-device run --window)");
        return true;
    default:
        performScriptCommand(*command);
        return true;
    }
}

int reportMessageBox(const std::u16string& text, const std::u16string& caption, UINT type) {
    emitEvent({{"event", "messagebox"},
               {"caption", toUtf8(caption)},
               {"text", toUtf8(text)},
               {"type", type}});
    switch (type & 0xF) {
    case MB_YESNO:
        return IDYES;
    default:
        return IDOK;
    }
}

int HeadlessBackend::messageBox(HWND, const std::u16string& text, const std::u16string& caption,
                                UINT type) {
    return reportMessageBox(text, caption, type);
}

} // namespace kx
