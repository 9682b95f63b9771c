// Which window object belongs to which window. Permanent objects are the
// program's own (attached or subclassed); temporary ones are made on demand
// by CWnd::FromHandle and deleted when their window is destroyed.
#pragma once

#include <afxwin.h>

#include <map>
#include <memory>

namespace kx {

class HandleMap {
public:
    static HandleMap& instance();

    CWnd* permanent(HWND hwnd) const;
    void setPermanent(HWND hwnd, CWnd* wnd);
    void removePermanent(HWND hwnd);
    CWnd* temporary(HWND hwnd);
    void removeTemporary(HWND hwnd);

private:
    std::map<HWND, CWnd*> m_permanent;
    std::map<HWND, std::unique_ptr<CWnd>> m_temporary;
};

// The message being handled, for CWnd::Default.
struct CurrentMessage {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
const CurrentMessage* currentMessage();

class CurrentMessageScope {
public:
    explicit CurrentMessageScope(const CurrentMessage& message);
    ~CurrentMessageScope();

private:
    const CurrentMessage* m_previous;
    CurrentMessage m_message;
};

} // namespace kx
