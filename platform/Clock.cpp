// The steady system clock over std::chrono.
#include "platform/Clock.h"

#include <chrono>
#include <thread>

namespace Plat {
namespace {

class SystemClock : public Clock {
public:
    uint64_t Ticks() override { return uint64_t(Since().count() / 1'000'000); }
    uint64_t Counter() override { return uint64_t(Since().count()); }
    uint64_t CounterFrequency() override { return 1'000'000'000; }
    void Sleep(uint32_t ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

private:
    std::chrono::nanoseconds Since() const { return std::chrono::steady_clock::now() - m_start; }
    std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
};

} // namespace

std::unique_ptr<Clock> CreateSystemClock() { return std::make_unique<SystemClock>(); }

} // namespace Plat
