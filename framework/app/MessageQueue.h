// Window messages waiting for the main loop. The loop handles one per step, so a burst of input
// cannot starve the update ticks; the queue keeps redundant messages out.
#pragma once

#include "platform/Event.h"

#include <cstddef>
#include <deque>

namespace Vel {

struct AppMessage {
    enum class Kind {
        Event, // an event from the window
        Timer, // the window timer: pointer-inside tracking
    };
    Kind kind = Kind::Event;
    Plat::Event event;
};

class MessageQueue {
public:
    // False when the message was dropped: nothing is queued behind a close, a timer not behind a
    // queued timer, and a display change not twice.
    bool Push(const AppMessage& message);
    bool Pop(AppMessage& message);
    bool Empty() const { return m_messages.empty(); }
    size_t Size() const { return m_messages.size(); }
    void Clear() { m_messages.clear(); }

private:
    std::deque<AppMessage> m_messages;
};

} // namespace Vel
