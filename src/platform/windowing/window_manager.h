// The window system of the emulated device: the table of windows, the
// thread's message queue, window timers and the modal loop. It keeps the
// state; a Backend shows it and feeds input. Single-threaded, like the GUI
// thread it stands for.
#pragma once

#include <windows.h>

#include <deque>
#include <map>
#include <vector>

#include "windowing/window.h"

namespace kx {

class WindowManager {
public:
    static WindowManager& instance();

    // Adds a window; fills in its handle and links it to its parent.
    HWND create(Window window);
    Window* find(HWND hwnd);
    HWND desktop() const { return m_desktop; }
    // Every live window, top-level ones first, each followed by its children.
    std::vector<HWND> allWindows() const;

    // Destroys a window and its children: WM_DESTROY goes to the window
    // first, then down to its children, so that a dialog's handler still
    // finds its controls; WM_NCDESTROY comes last, after the children are
    // gone.
    bool destroy(HWND hwnd);

    LRESULT send(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    bool post(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    UINT_PTR setTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc);
    bool killTimer(HWND hwnd, UINT_PTR id);
    // The clock time at which the next timer is due, or 0 when none runs.
    uint64_t nextTimerDue() const;

    // Dispatches one queued message, or posts the WM_TIMER of one due timer.
    // Returns false when there was nothing to do.
    bool pumpOne();

    // Runs the modal loop of a dialog until EndDialog; returns its result.
    INT_PTR runModal(HWND dialog);
    bool endDialog(HWND dialog, INT_PTR result);
    // The innermost dialog that runs modally, or null.
    HWND activeModal() const { return m_modal.empty() ? nullptr : m_modal.back(); }

    // Forgets every window, message and timer (tests).
    void reset();

    // Called with each window's handle as it is removed from the table.
    using DestroyListener = void (*)(HWND);
    void addDestroyListener(DestroyListener listener) { m_destroyListeners.push_back(listener); }

private:
    WindowManager();
    void destroyTree(HWND hwnd);
    void forget(HWND hwnd);
    void dispatch(const MSG& msg);

    struct Timer {
        HWND hwnd;
        UINT_PTR id;
        UINT elapse;
        TIMERPROC proc;
        uint64_t due;
    };

    std::map<HWND, Window> m_windows;
    std::vector<HWND> m_topLevel;
    std::deque<MSG> m_queue;
    std::vector<Timer> m_timers;
    std::vector<HWND> m_modal;
    std::vector<DestroyListener> m_destroyListeners;
    HWND m_desktop;
    uintptr_t m_nextHandle;
};

// Window procedures of the built-in window classes.
LRESULT CALLBACK defaultWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK buttonWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK dialogWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
WNDPROC windowProcForClass(const std::u16string& className);

} // namespace kx
