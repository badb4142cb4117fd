#include "framework/app/MessageQueue.h"

#include <gtest/gtest.h>

namespace {

using Vel::AppMessage;
using Plat::EventType;

AppMessage Ev(EventType type)
{
    AppMessage m;
    m.event.type = type;
    return m;
}

AppMessage Timer()
{
    AppMessage m;
    m.kind = AppMessage::Kind::Timer;
    return m;
}

TEST(MessageQueueTest, KeepsRedundantMessagesOutAndOrderOtherwise)
{
    Vel::MessageQueue q;
    EXPECT_TRUE(q.Push(Timer()));
    EXPECT_TRUE(q.Push(Ev(EventType::MouseMove)));
    EXPECT_FALSE(q.Push(Timer()));              // one timer is enough
    EXPECT_TRUE(q.Push(Ev(EventType::DisplayChanged)));
    EXPECT_FALSE(q.Push(Ev(EventType::DisplayChanged)));
    EXPECT_TRUE(q.Push(Ev(EventType::KeyDown))); // input is never coalesced
    EXPECT_TRUE(q.Push(Ev(EventType::KeyDown)));

    AppMessage m;
    ASSERT_TRUE(q.Pop(m));
    EXPECT_EQ(m.kind, AppMessage::Kind::Timer);
    EXPECT_TRUE(q.Push(Timer())); // the queued timer has gone, so a new one may come

    EXPECT_TRUE(q.Push(Ev(EventType::CloseRequest)));
    EXPECT_FALSE(q.Push(Ev(EventType::KeyDown))); // nothing after a close
    EXPECT_FALSE(q.Push(Ev(EventType::CloseRequest)));
    EXPECT_EQ(q.Size(), 6u);
    while (q.Size() > 1)
        q.Pop(m);
    ASSERT_TRUE(q.Pop(m));
    EXPECT_EQ(m.event.type, EventType::CloseRequest);
    EXPECT_FALSE(q.Pop(m));
}

} // namespace
