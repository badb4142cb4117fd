// Time for the main loop: millisecond ticks, a high-resolution counter and sleeping, behind one
// interface so tests can run the loop in virtual time.
#pragma once

#include <cstdint>
#include <memory>

namespace Plat {

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary start; never goes backwards.
    virtual uint64_t Ticks() = 0;
    // High-resolution counter and its rate in counts per second.
    virtual uint64_t Counter() = 0;
    virtual uint64_t CounterFrequency() = 0;
    virtual void Sleep(uint32_t ms) = 0;

    // Milliseconds (fractional) from the counter, for lag measurement.
    double Milliseconds() { return double(Counter()) * 1000.0 / double(CounterFrequency()); }
};

// The steady system clock (std::chrono); safe to share between threads.
std::unique_ptr<Clock> CreateSystemClock();

} // namespace Plat
