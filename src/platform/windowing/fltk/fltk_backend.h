// The window backend: shows the window system's top-level windows as real
// windows on the host's display with FLTK, keeps time on the host's clock,
// and turns mouse clicks into taps. Message boxes are real modal windows.
//
// With a script, the same command language as headless runs drives the
// window: commands are read between window events, `tick N` lets N periods
// of 300 ms of real time pass while the window keeps working, `screenshot`
// saves what the window shows, and message boxes are reported as events and
// answered OK at once. At the end of the script no more input comes, so the
// dialog is cancelled as in headless runs. Without a script the window runs
// until it is closed.
//
// It does not keep window state of its own beyond the FLTK windows that show
// the window manager's records.
#pragma once

#include <istream>
#include <map>
#include <memory>
#include <optional>

#include "windowing/backend/backend.h"
#include "windowing/clock.h"
#include "windowing/fltk/dialog_view.h"
#include "windowing/fltk/font_resolver.h"
#include "windowing/script/script_reader.h"

namespace kx {

class FltkBackend : public Backend {
public:
    // Opens the display; on failure `error` says why and nothing is made.
    static std::unique_ptr<FltkBackend> create(std::istream* script, std::string& error);
    ~FltkBackend() override;

    const char* name() const override { return "window"; }
    Clock& clock() override { return m_clock; }
    SIZE screenSize() const override;

    void windowCreated(HWND hwnd) override;
    void windowChanged(HWND hwnd) override;
    void windowDestroyed(HWND hwnd) override;

    bool waitForInput(uint64_t deadline) override;
    int messageBox(HWND owner, const std::u16string& text, const std::u16string& caption,
                   UINT type) override;

private:
    explicit FltkBackend(std::istream* script);
    DialogView* viewFor(HWND hwnd);
    bool runScriptStep(uint64_t deadline);
    void screenshot(const ScriptCommand& command);
    void waitSeconds(double seconds);

    RealClock m_clock;
    FontResolver m_fonts;
    std::map<HWND, std::unique_ptr<DialogView>> m_views;
    std::optional<ScriptReader> m_script;
    bool m_scriptEnded = false;
    uint64_t m_tickEnd = 0; // while a tick runs: the clock time it ends at
    bool m_frameEvents = false;
};

} // namespace kx
