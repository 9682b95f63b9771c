// The boundary between the window system and what shows it. The window
// manager keeps all window state and runs the message loop; a backend shows
// that state (or not, when headless), turns the user's input into messages
// and tells the loop when to look again.
//
// Implementations: HeadlessBackend (nothing visible, virtual clock; input
// comes from a script) and, where built, a window backend on the host's
// display.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

namespace kx {

class Clock;

class Backend {
public:
    virtual ~Backend() = default;

    virtual const char* name() const = 0;
    virtual Clock& clock() = 0;

    // Screen size in pixels and vertical dots per inch.
    virtual SIZE screenSize() const { return SIZE{800, 480}; }
    virtual int logPixelsY() const { return 96; }

    // Window life and changes, so that a visible backend can follow them.
    virtual void windowCreated(HWND) {}
    virtual void windowChanged(HWND) {}
    virtual void windowDestroyed(HWND) {}

    // Called by the modal loop when no message is queued and no timer is
    // due. Waits for input or time to pass, at most until `deadline` on the
    // backend's clock (0: no timer pending), and returns. Returns false when
    // no more input can ever come; the loop then cancels the dialog.
    virtual bool waitForInput(uint64_t deadline) = 0;

    // Shows a message box owned by `owner` and returns the button pressed.
    // Timers of other windows keep running while it is open.
    virtual int messageBox(HWND owner, const std::u16string& text, const std::u16string& caption,
                           UINT type) = 0;

    // The program is about to end: report what of the input was never used.
    virtual void finish() {}
};

// The backend of this process, made at start-up.
Backend& backend();
void setBackend(std::unique_ptr<Backend> backend);

} // namespace kx
