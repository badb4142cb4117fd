// The test count-down clock.
#include "game/tests/TimerClass.h"

#include <cstdio>

namespace Vel {

void TimerClass::Start(int seconds, int now)
{
    m_secondsLeft = seconds;
    m_short = seconds <= 60;
    m_startTick = now;
}

bool TimerClass::TickSecond()
{
    if (m_secondsLeft != 0)
        --m_secondsLeft;
    return m_secondsLeft == 0;
}

std::string TimerClass::FormatTime() const
{
    char text[32];
    if (m_short)
        std::snprintf(text, sizeof text, "%d", m_secondsLeft);
    else
        std::snprintf(text, sizeof text, "%d:%02d", m_secondsLeft / 60, m_secondsLeft % 60);
    return text;
}

} // namespace Vel
