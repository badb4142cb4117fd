// The window-message queue.
#include "framework/app/MessageQueue.h"

#include <algorithm>

namespace Vel {

bool MessageQueue::Push(const AppMessage& message)
{
    const auto isClose = [](const AppMessage& m) {
        return m.kind == AppMessage::Kind::Event && m.event.type == Plat::EventType::CloseRequest;
    };
    if (std::any_of(m_messages.begin(), m_messages.end(), isClose))
        return false;
    if (message.kind == AppMessage::Kind::Timer) {
        if (std::any_of(m_messages.begin(), m_messages.end(),
                        [](const AppMessage& m) { return m.kind == AppMessage::Kind::Timer; }))
            return false;
    } else if (message.event.type == Plat::EventType::DisplayChanged) {
        if (std::any_of(m_messages.begin(), m_messages.end(), [](const AppMessage& m) {
                return m.kind == AppMessage::Kind::Event && m.event.type == Plat::EventType::DisplayChanged;
            }))
            return false;
    }
    m_messages.push_back(message);
    return true;
}

bool MessageQueue::Pop(AppMessage& message)
{
    if (m_messages.empty())
        return false;
    message = m_messages.front();
    m_messages.pop_front();
    return true;
}

} // namespace Vel
