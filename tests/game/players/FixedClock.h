// Sets the game's local clock for one test.
#pragma once

#include "game/players/LocalTime.h"

class FixedClock {
public:
    explicit FixedClock(const Vel::BrokenDownTime& now)
    {
        Now() = now;
        m_previous = Vel::SetLocalTimeSource(&FixedClock::Read);
    }
    ~FixedClock() { Vel::SetLocalTimeSource(m_previous); }
    FixedClock(const FixedClock&) = delete;
    FixedClock& operator=(const FixedClock&) = delete;

    void Set(const Vel::BrokenDownTime& now) { Now() = now; }

private:
    static Vel::BrokenDownTime& Now()
    {
        static Vel::BrokenDownTime now;
        return now;
    }
    static Vel::BrokenDownTime Read() { return Now(); }

    Vel::LocalTimeSource m_previous = nullptr;
};
