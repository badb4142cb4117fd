// A clock that only moves when told to: sleeping advances it at once, so a test runs seconds of
// the main loop in microseconds of real time and gets exact tick counts.
#pragma once

#include "platform/Clock.h"

#include <atomic>

namespace Plat {

class VirtualClock : public Clock {
public:
    uint64_t Ticks() override { return Now() / 1000; }
    uint64_t Counter() override { return Now(); }
    uint64_t CounterFrequency() override { return 1'000'000; }
    void Sleep(uint32_t ms) override
    {
        m_sleptUs += uint64_t(ms) * 1000;
        m_nowUs += uint64_t(ms) * 1000;
    }

    void AdvanceUs(uint64_t us) { m_nowUs += us; }
    void AdvanceMs(double ms) { m_nowUs += uint64_t(ms * 1000.0 + 0.5); }
    // Every reading of the counter costs this much virtual time, standing for the work a real
    // loop does between readings; without it a loop that is just short of its next step would
    // spin forever on a frozen clock.
    void SetReadCostUs(uint64_t us) { m_readCostUs = us; }
    uint64_t SleptUs() const { return m_sleptUs; }

private:
    uint64_t Now() { return m_nowUs += m_readCostUs; }

    std::atomic<uint64_t> m_nowUs{0};
    std::atomic<uint64_t> m_sleptUs{0};
    std::atomic<uint64_t> m_readCostUs{0};
};

} // namespace Plat
