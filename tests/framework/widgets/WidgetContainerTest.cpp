// The widget tree: stacking order, update passes that survive changes to the tree, dirty marking.
#include <algorithm>

#include <gtest/gtest.h>

#include "framework/graphics/MemoryImage.h"
#include "framework/widgets/WidgetManager.h"
#include "tests/framework/widgets/WidgetTestSupport.h"

using VelTest::RecordingWidget;

namespace {

struct StackCase {
    int firstZ;
    int secondZ;
    const char* front; // the widget expected in front
};

class StackingTest : public ::testing::TestWithParam<StackCase> {};

TEST_P(StackingTest, FrontWidgetIsHitFirstAndDrawnLast)
{
    const StackCase c = GetParam();
    Vel::WidgetManager manager;
    Vel::MemoryImage screen;
    ASSERT_TRUE(screen.Create(40, 40));
    manager.SetScreenImage(&screen);

    std::vector<std::string> drawLog;
    RecordingWidget first("first", 0, 0, 20, 20);
    RecordingWidget second("second", 0, 0, 20, 20);
    first.m_zOrder = c.firstZ;
    second.m_zOrder = c.secondZ;
    first.m_drawLog = second.m_drawLog = &drawLog;
    manager.AddWidget(&first);
    manager.AddWidget(&second);

    Vel::Widget* hit = manager.GetWidgetAt(5, 5);
    ASSERT_NE(hit, nullptr);
    EXPECT_EQ(static_cast<RecordingWidget*>(hit)->m_name, c.front);

    ASSERT_TRUE(manager.DrawScreen());
    ASSERT_EQ(drawLog.size(), 2u);
    EXPECT_EQ(drawLog.back(), c.front);
}

INSTANTIATE_TEST_SUITE_P(ZOrders, StackingTest,
                         ::testing::Values(StackCase{0, 0, "second"}, // equal: newest in front
                                           StackCase{5, 5, "second"},
                                           StackCase{1, 0, "first"},   // higher order wins
                                           StackCase{0, 1, "second"}));

// What a child does to the tree from inside its own Update().
enum class Mutation { RemoveSelf, RemoveNext, RemovePrevious, BringSelfToFront };

struct PassCase {
    Mutation mutation;
    std::vector<int> expectedUpdates; // per child A, B, C, D after one pass
};

class UpdatePassTest : public ::testing::TestWithParam<PassCase> {};

TEST_P(UpdatePassTest, ChangesDuringThePassNeitherSkipNorRepeatSiblings)
{
    const PassCase c = GetParam();
    Vel::WidgetManager manager;
    RecordingWidget parent("parent", 0, 0, 100, 100);
    manager.AddWidget(&parent);
    RecordingWidget children[4];
    for (RecordingWidget& child : children)
        parent.AddWidget(&child);

    // B changes the tree while it updates.
    children[1].m_onUpdate = [&](RecordingWidget* self) {
        switch (c.mutation) {
        case Mutation::RemoveSelf: parent.RemoveWidget(self); break;
        case Mutation::RemoveNext: parent.RemoveWidget(&children[2]); break;
        case Mutation::RemovePrevious: parent.RemoveWidget(&children[0]); break;
        case Mutation::BringSelfToFront: parent.BringToFront(self); break;
        }
    };

    manager.RunUpdatePass();
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(children[i].m_updateCount, c.expectedUpdates[size_t(i)]) << "child " << i;

    // The next tick runs every child still in the tree exactly once more.
    children[1].m_onUpdate = nullptr;
    manager.RunUpdatePass();
    for (int i = 0; i < 4; ++i) {
        const int more = parent.HasWidget(&children[i]) ? 1 : 0;
        EXPECT_EQ(children[i].m_updateCount, c.expectedUpdates[size_t(i)] + more) << "child " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Mutations, UpdatePassTest,
    ::testing::Values(PassCase{Mutation::RemoveSelf, {1, 1, 1, 1}},
                      PassCase{Mutation::RemoveNext, {1, 1, 0, 1}},
                      PassCase{Mutation::RemovePrevious, {1, 1, 1, 1}},
                      PassCase{Mutation::BringSelfToFront, {1, 1, 1, 1}}));

TEST(UpdatePassTest, WidgetMovedToAnotherParentUpdatesOncePerTick)
{
    Vel::WidgetManager manager;
    RecordingWidget left("left", 0, 0, 50, 50);
    RecordingWidget right("right", 50, 0, 50, 50);
    RecordingWidget mover("mover");
    manager.AddWidget(&left);
    manager.AddWidget(&right);
    left.AddWidget(&mover);
    mover.m_onUpdate = [&](RecordingWidget* self) { right.AddWidget(self); };

    manager.RunUpdatePass();
    EXPECT_EQ(mover.m_updateCount, 1);
    EXPECT_TRUE(right.HasWidget(&mover));
    EXPECT_FALSE(left.HasWidget(&mover));
}

class DirtyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_screen.Create(100, 100));
        m_manager.SetScreenImage(&m_screen);
        m_back.m_drawLog = m_front.m_drawLog = m_away.m_drawLog = m_child.m_drawLog = &m_drawLog;
        m_manager.AddWidget(&m_back);
        m_manager.AddWidget(&m_front);
        m_manager.AddWidget(&m_away);
        m_back.AddWidget(&m_child);
        m_manager.DrawScreen();
        m_drawLog.clear();
    }

    std::vector<std::string> Redraw()
    {
        m_drawLog.clear();
        m_manager.DrawScreen();
        return m_drawLog;
    }

    Vel::MemoryImage m_screen;
    Vel::WidgetManager m_manager;
    std::vector<std::string> m_drawLog;
    RecordingWidget m_back{"back", 0, 0, 50, 50};
    RecordingWidget m_front{"front", 40, 40, 20, 20}; // overlaps back
    RecordingWidget m_away{"away", 80, 80, 10, 10};   // overlaps nothing
    RecordingWidget m_child{"child", 5, 5, 10, 10};
};

TEST_F(DirtyTest, NothingDirtyDrawsNothing)
{
    EXPECT_FALSE(m_manager.DrawScreen());
    EXPECT_TRUE(Redraw().empty());
}

TEST_F(DirtyTest, OpaqueWidgetRepaintsOverlappingWidgetsInFrontOnly)
{
    m_back.MarkDirty();
    EXPECT_EQ(Redraw(), (std::vector<std::string>{"back", "child", "front"}));
}

TEST_F(DirtyTest, FullMarkingRepaintsWhatLiesBehind)
{
    m_front.MarkDirtyFull();
    EXPECT_EQ(Redraw(), (std::vector<std::string>{"back", "child", "front"}));
    m_away.MarkDirtyFull();
    EXPECT_EQ(Redraw(), (std::vector<std::string>{"away"}));
}

TEST_F(DirtyTest, ChildShownAgainAfterADrawIsRepainted)
{
    m_child.SetVisible(false);
    EXPECT_EQ(Redraw(), (std::vector<std::string>{"back", "front"}));
    m_child.SetVisible(true);
    EXPECT_EQ(Redraw(), (std::vector<std::string>{"back", "child", "front"}));
}

TEST_F(DirtyTest, MovedWidgetRepaintsWhatLiesInFrontOfItsNewArea)
{
    m_back.Move(45, 45); // the new area reaches under "away", the old one does not
    const std::vector<std::string> drawn = Redraw();
    EXPECT_NE(std::find(drawn.begin(), drawn.end(), "away"), drawn.end());
    EXPECT_NE(std::find(drawn.begin(), drawn.end(), "front"), drawn.end());
}

TEST(WidgetLifetimeTest, DeletingAnAttachedWidgetLeavesNoDanglingState)
{
    Vel::WidgetManager manager;
    auto* doomed = new RecordingWidget("doomed", 0, 0, 20, 20);
    RecordingWidget child("child", 0, 0, 5, 5);
    manager.AddWidget(doomed);
    doomed->AddWidget(&child);
    doomed->m_wantsFocus = true;
    manager.MouseMove(2, 2);
    manager.MouseDown(10, 10, 1);
    ASSERT_EQ(manager.m_focusWidget, doomed);

    delete doomed;
    EXPECT_TRUE(manager.GetChildren().empty());
    EXPECT_EQ(manager.m_focusWidget, nullptr);
    EXPECT_EQ(manager.m_lastDownWidget, nullptr);
    EXPECT_EQ(manager.m_overWidget, nullptr);
    EXPECT_EQ(child.GetParent(), nullptr);
    manager.MouseUp(10, 10, 1);
    manager.RunUpdatePass();
}

} // namespace
