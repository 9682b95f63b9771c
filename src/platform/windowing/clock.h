// The time source of the window system's timers: a virtual clock that only
// moves when told to (headless runs, tests) or the host's monotonic clock.
#pragma once

#include <cstdint>
#include <memory>

namespace kx {

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since the clock started.
    virtual uint64_t now() const = 0;
};

class VirtualClock : public Clock {
public:
    uint64_t now() const override { return m_now; }
    void advanceTo(uint64_t t) {
        if (t > m_now) {
            m_now = t;
        }
    }

private:
    uint64_t m_now = 0;
};

class RealClock : public Clock {
public:
    RealClock();
    uint64_t now() const override;

private:
    uint64_t m_start;
};

} // namespace kx
