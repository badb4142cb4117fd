// A test's count-down clock, in whole seconds stepped by the test session.
#pragma once

#include <string>

namespace Vel {

class TimerClass {
public:
    TimerClass() = default;
    virtual ~TimerClass() = default;

    void Start(int seconds, int now);
    // One second passes; true once no time is left.
    bool TickSecond();
    bool IsLow() const { return m_secondsLeft <= 10; }
    // Short timers (a minute or less) show plain seconds, longer ones minutes and seconds.
    std::string FormatTime() const;

    int m_secondsLeft = 0;
    bool m_short = false;
    int m_startTick = 0;
};

} // namespace Vel
