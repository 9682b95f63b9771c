#include "windowing/window_manager.h"

#include <algorithm>

#include "windowing/backend/backend.h"
#include "windowing/clock.h"

namespace kx {

namespace {
constexpr uintptr_t kFirstHandle = 0x10010;
constexpr uintptr_t kDesktopHandle = 0x10004;
} // namespace

WindowManager& WindowManager::instance() {
    static WindowManager manager;
    return manager;
}

WindowManager::WindowManager()
    : m_desktop(reinterpret_cast<HWND>(kDesktopHandle)), m_nextHandle(kFirstHandle) {}

void WindowManager::reset() {
    m_windows.clear();
    m_topLevel.clear();
    m_queue.clear();
    m_timers.clear();
    m_modal.clear();
    m_nextHandle = kFirstHandle;
}

HWND WindowManager::create(Window window) {
    HWND hwnd = reinterpret_cast<HWND>(m_nextHandle);
    m_nextHandle += 4;
    window.handle = hwnd;
    if (!window.proc) {
        window.proc = windowProcForClass(window.className);
    }
    if (window.parent) {
        Window* parent = find(window.parent);
        if (!parent) {
            SetLastError(ERROR_INVALID_HANDLE);
            return nullptr;
        }
        parent->children.push_back(hwnd);
    } else {
        m_topLevel.push_back(hwnd);
    }
    m_windows.emplace(hwnd, std::move(window));
    backend().windowCreated(hwnd);
    return hwnd;
}

Window* WindowManager::find(HWND hwnd) {
    auto it = m_windows.find(hwnd);
    return it == m_windows.end() ? nullptr : &it->second;
}

std::vector<HWND> WindowManager::allWindows() const {
    std::vector<HWND> out;
    std::vector<HWND> stack(m_topLevel.rbegin(), m_topLevel.rend());
    while (!stack.empty()) {
        HWND h = stack.back();
        stack.pop_back();
        auto it = m_windows.find(h);
        if (it == m_windows.end()) {
            continue;
        }
        out.push_back(h);
        stack.insert(stack.end(), it->second.children.rbegin(), it->second.children.rend());
    }
    return out;
}

bool WindowManager::destroy(HWND hwnd) {
    Window* w = find(hwnd);
    if (!w || w->destroying) {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    w->style &= ~DWORD(WS_VISIBLE);
    backend().windowChanged(hwnd);
    destroyTree(hwnd);
    return true;
}

void WindowManager::destroyTree(HWND hwnd) {
    Window* w = find(hwnd);
    if (!w || w->destroying) {
        return;
    }
    w->destroying = true;
    send(hwnd, WM_DESTROY, 0, 0);
    // The handler may have changed the child list; walk a copy.
    w = find(hwnd);
    std::vector<HWND> children = w ? w->children : std::vector<HWND>{};
    for (HWND child : children) {
        destroyTree(child);
    }
    send(hwnd, WM_NCDESTROY, 0, 0);
    forget(hwnd);
}

void WindowManager::forget(HWND hwnd) {
    Window* w = find(hwnd);
    if (!w) {
        return;
    }
    if (w->parent) {
        if (Window* parent = find(w->parent)) {
            std::erase(parent->children, hwnd);
        }
    } else {
        std::erase(m_topLevel, hwnd);
    }
    std::erase_if(m_timers, [hwnd](const Timer& t) { return t.hwnd == hwnd; });
    std::erase_if(m_queue, [hwnd](const MSG& m) { return m.hwnd == hwnd; });
    backend().windowDestroyed(hwnd);
    m_windows.erase(hwnd);
    for (DestroyListener listener : m_destroyListeners) {
        listener(hwnd);
    }
}

LRESULT WindowManager::send(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Window* w = find(hwnd);
    if (!w) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    WNDPROC proc = w->proc;
    return proc(hwnd, msg, wParam, lParam);
}

bool WindowManager::post(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (hwnd && !find(hwnd)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    MSG m{};
    m.hwnd = hwnd;
    m.message = msg;
    m.wParam = wParam;
    m.lParam = lParam;
    m.time = DWORD(backend().clock().now());
    m_queue.push_back(m);
    return true;
}

UINT_PTR WindowManager::setTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
    if (!hwnd || !find(hwnd)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    // The platform raises periods below 10 ms to 10 ms.
    elapse = std::max<UINT>(elapse, 10);
    uint64_t due = backend().clock().now() + elapse;
    for (Timer& t : m_timers) {
        if (t.hwnd == hwnd && t.id == id) {
            t.elapse = elapse;
            t.proc = proc;
            t.due = due;
            return id == 0 ? 1 : id;
        }
    }
    m_timers.push_back(Timer{hwnd, id, elapse, proc, due});
    return id == 0 ? 1 : id;
}

bool WindowManager::killTimer(HWND hwnd, UINT_PTR id) {
    auto before = m_timers.size();
    std::erase_if(m_timers, [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
    std::erase_if(m_queue, [&](const MSG& m) {
        return m.hwnd == hwnd && m.message == WM_TIMER && m.wParam == id;
    });
    return m_timers.size() != before;
}

uint64_t WindowManager::nextTimerDue() const {
    uint64_t next = 0;
    for (const Timer& t : m_timers) {
        if (next == 0 || t.due < next) {
            next = t.due;
        }
    }
    return next;
}

bool WindowManager::pumpOne() {
    if (!m_queue.empty()) {
        MSG m = m_queue.front();
        m_queue.pop_front();
        dispatch(m);
        return true;
    }
    // A timer that is late fires once, not once per missed period.
    uint64_t now = backend().clock().now();
    for (Timer& t : m_timers) {
        if (t.due <= now) {
            t.due = now + t.elapse;
            post(t.hwnd, WM_TIMER, t.id, reinterpret_cast<LPARAM>(t.proc));
            return true;
        }
    }
    return false;
}

void WindowManager::dispatch(const MSG& msg) {
    if (msg.message == WM_TIMER && msg.lParam) {
        auto proc = reinterpret_cast<TIMERPROC>(msg.lParam);
        proc(msg.hwnd, WM_TIMER, UINT_PTR(msg.wParam), msg.time);
        return;
    }
    if (msg.hwnd) {
        send(msg.hwnd, msg.message, msg.wParam, msg.lParam);
    }
}

INT_PTR WindowManager::runModal(HWND dialog) {
    if (!find(dialog)) {
        return -1;
    }
    m_modal.push_back(dialog);
    bool cancelSent = false;
    while (true) {
        Window* w = find(dialog);
        if (!w || w->endRequested) {
            break;
        }
        if (pumpOne()) {
            continue;
        }
        if (!backend().waitForInput(nextTimerDue())) {
            // No more input can come: cancel the dialog as its close button
            // would, and end it outright if it ignores that.
            if (!cancelSent) {
                post(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
                cancelSent = true;
            } else {
                endDialog(dialog, IDCANCEL);
            }
        }
    }
    Window* w = find(dialog);
    INT_PTR result = w ? w->result : IDCANCEL;
    m_modal.pop_back();
    return result;
}

bool WindowManager::endDialog(HWND dialog, INT_PTR result) {
    Window* w = find(dialog);
    if (!w || !w->isDialog) {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    w->result = result;
    w->endRequested = true;
    return true;
}

} // namespace kx
