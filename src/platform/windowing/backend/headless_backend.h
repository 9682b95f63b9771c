// The headless backend: shows nothing, keeps time on a virtual clock and
// takes its input from a script. Message boxes are reported as events and
// answered with OK at once. Deterministic, for tests and automation.
#pragma once

#include <istream>
#include <memory>

#include "windowing/backend/backend.h"
#include "windowing/clock.h"
#include "windowing/script/script_reader.h"

namespace kx {

class HeadlessBackend : public Backend {
public:
    // Reads commands from `script`, which must outlive the backend.
    explicit HeadlessBackend(std::istream& script);

    const char* name() const override { return "headless"; }
    Clock& clock() override { return m_clock; }
    bool waitForInput(uint64_t deadline) override;
    int messageBox(HWND owner, const std::u16string& text, const std::u16string& caption,
                   UINT type) override;
    void finish() override;

private:
    VirtualClock m_clock;
    ScriptReader m_reader;
    uint64_t m_tickTarget = 0; // while a tick runs: the time it ends at
};

// Reports a message box as an event; the answer to a box with an OK button.
int reportMessageBox(const std::u16string& text, const std::u16string& caption, UINT type);
// Reports every line left in the script as not carried out.
void reportUnreadLines(ScriptReader& reader);

} // namespace kx
