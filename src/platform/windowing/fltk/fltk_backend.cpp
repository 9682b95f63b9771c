#include "windowing/fltk/fltk_backend.h"

#include <FL/Fl.H>
#include <FL/x.H>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/event_log.h"
#include "common/utf.h"
#include "windowing/backend/headless_backend.h"
#include "windowing/fltk/message_box_view.h"
#include "windowing/fltk/screenshot.h"
#include "windowing/script/script_actions.h"
#include "windowing/window_manager.h"

namespace kx {

namespace {

// Without a timer or a script, the loop still looks around this often.
constexpr double kIdleWaitSeconds = 1.0;

double secondsUntil(uint64_t deadline, uint64_t now) {
    return deadline > now ? double(deadline - now) / 1000.0 : 0.0;
}

} // namespace

std::unique_ptr<FltkBackend> FltkBackend::create(std::istream* script, std::string& error) {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) {
        error = "no display: DISPLAY is not set";
        return nullptr;
    }
    // FLTK ends the process when it cannot open the display; look first.
    Display* probe = XOpenDisplay(nullptr);
    if (!probe) {
        error = std::string("cannot open the display ") + display;
        return nullptr;
    }
    XCloseDisplay(probe);
    fl_open_display();
    std::string missing = FontResolver::registerBundledFonts();
    if (!missing.empty()) {
        std::fprintf(stderr, "kestrix: cannot use the font files %s; drawing with others\n",
                     missing.c_str());
    }
    return std::unique_ptr<FltkBackend>(new FltkBackend(script));
}

FltkBackend::FltkBackend(std::istream* script) {
    if (script) {
        m_script.emplace(*script);
    }
    const char* frames = std::getenv("KESTRIX_FRAME_EVENTS");
    m_frameEvents = frames && std::string(frames) == "1";
}

FltkBackend::~FltkBackend() {
    for (auto& [hwnd, view] : m_views) {
        view->hide();
    }
    m_views.clear();
    Fl::flush();
}

SIZE FltkBackend::screenSize() const {
    int x = 0, y = 0, w = 0, h = 0;
    Fl::screen_xywh(x, y, w, h, 0);
    if (w <= 0 || h <= 0) {
        return Backend::screenSize();
    }
    return SIZE{w, h};
}

DialogView* FltkBackend::viewFor(HWND hwnd) {
    WindowManager& wm = WindowManager::instance();
    // Controls are shown by the view of their top-level window.
    for (int depth = 0; hwnd && depth < 64; ++depth) {
        auto it = m_views.find(hwnd);
        if (it != m_views.end()) {
            return it->second.get();
        }
        Window* w = wm.find(hwnd);
        hwnd = w ? w->parent : nullptr;
    }
    return nullptr;
}

void FltkBackend::windowCreated(HWND hwnd) {
    Window* w = WindowManager::instance().find(hwnd);
    if (!w) {
        return;
    }
    if (w->parent) {
        windowChanged(hwnd);
        return;
    }
    auto view = std::make_unique<DialogView>(hwnd, m_fonts);
    if (m_frameEvents) {
        view->setFrameListener([](HWND, double drawMs, double sinceTapMs) {
            Event e{{"event", "frame"}, {"drawMs", drawMs}};
            if (sinceTapMs >= 0) {
                e["sinceTapMs"] = sinceTapMs;
            }
            emitEvent(e);
        });
    }
    m_views.emplace(hwnd, std::move(view));
}

void FltkBackend::windowChanged(HWND hwnd) {
    if (DialogView* view = viewFor(hwnd)) {
        view->sync();
    }
}

void FltkBackend::windowDestroyed(HWND hwnd) {
    auto it = m_views.find(hwnd);
    if (it == m_views.end()) {
        windowChanged(hwnd);
        return;
    }
    it->second->hide();
    m_views.erase(it);
}

void FltkBackend::waitSeconds(double seconds) {
    for (auto& [hwnd, view] : m_views) {
        view->queueDrained();
    }
    Fl::wait(seconds);
}

bool FltkBackend::waitForInput(uint64_t deadline) {
    uint64_t now = m_clock.now();
    if (m_script) {
        return runScriptStep(deadline);
    }
    waitSeconds(deadline ? secondsUntil(deadline, now) : kIdleWaitSeconds);
    // Input can only come through a window on the display.
    return !m_views.empty();
}

bool FltkBackend::runScriptStep(uint64_t deadline) {
    uint64_t now = m_clock.now();
    if (m_tickEnd > now) {
        uint64_t until = deadline != 0 && deadline < m_tickEnd ? deadline : m_tickEnd;
        waitSeconds(secondsUntil(until, now));
        return true;
    }
    // Let the window catch up (draw, take input) before the next command.
    waitSeconds(0.0);
    if (m_scriptEnded) {
        return false;
    }
    std::optional<ScriptCommand> command = m_script->next();
    if (!command) {
        m_scriptEnded = true;
        return false;
    }
    switch (command->kind) {
    case ScriptCommand::Kind::Tick:
        m_tickEnd = m_clock.now() + uint64_t(command->count) * kTickPeriodMs;
        break;
    case ScriptCommand::Kind::Screenshot:
        screenshot(*command);
        break;
    default:
        performScriptCommand(*command);
        break;
    }
    return true;
}

void FltkBackend::screenshot(const ScriptCommand& command) {
    HWND dialog = WindowManager::instance().activeModal();
    DialogView* view = dialog ? viewFor(dialog) : nullptr;
    if (!view) {
        reportScriptError(command.line, "no dialog is open");
        return;
    }
    std::string error = saveScreenshot(*view, command.argument);
    if (!error.empty()) {
        reportScriptError(command.line, error);
        return;
    }
    emitEvent({{"event", "screenshot"}, {"file", command.argument}});
}

int FltkBackend::messageBox(HWND owner, const std::u16string& text, const std::u16string& caption,
                            UINT type) {
    if (m_script) {
        return reportMessageBox(text, caption, type);
    }
    RECT ownerRect{};
    bool hasOwner = owner && GetWindowRect(owner, &ownerRect);
    MessageBoxView box(hasOwner ? &ownerRect : nullptr, text, caption, type, m_fonts);
    int result = box.run(m_clock);
    // The box is reported in event runs too, with its answer.
    emitEvent({{"event", "messagebox"},
               {"caption", toUtf8(caption)},
               {"text", toUtf8(text)},
               {"type", type},
               {"answer", result}});
    return result;
}

} // namespace kx
