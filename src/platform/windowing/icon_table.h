// The icon handles handed out by LoadIconW and the resource each stands for,
// so that a backend can draw the window's icon.
#pragma once

#include <windows.h>

#include <map>
#include <optional>

namespace kx {

class IconTable {
public:
    static IconTable& instance();
    HICON handleFor(uint16_t resourceId);
    std::optional<uint16_t> resourceIdOf(HICON icon) const;

private:
    std::map<uint16_t, HICON> m_byId;
    std::map<HICON, uint16_t> m_ids;
};

} // namespace kx
