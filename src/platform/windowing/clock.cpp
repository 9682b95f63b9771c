#include "windowing/clock.h"

#include <chrono>

namespace kx {

namespace {
uint64_t monotonicMs() {
    using namespace std::chrono;
    return uint64_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}
} // namespace

RealClock::RealClock() : m_start(monotonicMs()) {}

uint64_t RealClock::now() const {
    return monotonicMs() - m_start;
}

} // namespace kx
