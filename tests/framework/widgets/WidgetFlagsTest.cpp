// Flag sets of the update and draw passes: container modifiers, the below-modal set, the
// unfocused set, and deferred overlays drawn in priority order.
#include <gtest/gtest.h>

#include <functional>

#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/widgets/WidgetManager.h"
#include "tests/framework/widgets/WidgetTestSupport.h"

using VelTest::RecordingWidget;

namespace {

struct Tree {
    Vel::WidgetManager manager;
    RecordingWidget below{"below", 0, 0, 100, 100};
    RecordingWidget belowChild{"belowChild"};
    RecordingWidget modal{"modal", 10, 10, 20, 20};
    RecordingWidget front{"front", 50, 50, 20, 20};

    Tree()
    {
        manager.AddWidget(&below);
        below.AddWidget(&belowChild);
        manager.AddWidget(&modal);
        manager.AddWidget(&front);
    }
};

struct FlagCase {
    const char* name;
    std::function<void(Tree&)> setUp;
    std::vector<int> updates; // below, belowChild, modal, front after one pass
};

class UpdateFlagsTest : public ::testing::TestWithParam<FlagCase> {};

TEST_P(UpdateFlagsTest, UpdateBitDecidesWhoUpdates)
{
    const FlagCase& c = GetParam();
    Tree t;
    c.setUp(t);
    t.manager.RunUpdatePass();
    const std::vector<int> got{t.below.m_updateCount, t.belowChild.m_updateCount, t.modal.m_updateCount,
                               t.front.m_updateCount};
    EXPECT_EQ(got, c.updates);
}

const Vel::FlagsMod kNoUpdate{0, Vel::kWidgetUpdate};

INSTANTIATE_TEST_SUITE_P(
    Sets, UpdateFlagsTest,
    ::testing::Values(
        FlagCase{"Default", [](Tree&) {}, {1, 1, 1, 1}},
        FlagCase{"ContainerModifierCoversItsChildren",
                 [](Tree& t) { t.below.m_widgetFlagsMod = kNoUpdate; }, {0, 0, 1, 1}},
        FlagCase{"ChildModifierCanAddBack",
                 [](Tree& t) {
                     t.below.m_widgetFlagsMod = kNoUpdate;
                     t.belowChild.m_widgetFlagsMod = {Vel::kWidgetUpdate, 0};
                 },
                 {0, 1, 1, 1}},
        FlagCase{"BelowModalSetAppliesBehindTheModalWidgetOnly",
                 [](Tree& t) { t.manager.AddBaseModal(&t.modal, kNoUpdate); }, {0, 0, 1, 1}},
        FlagCase{"UnfocusedSetAppliesWhileTheApplicationLacksFocus",
                 [](Tree& t) {
                     t.manager.m_lostFocusFlagsMod = kNoUpdate;
                     t.manager.LostFocus();
                 },
                 {0, 0, 0, 0}}),
    [](const ::testing::TestParamInfo<FlagCase>& info) { return std::string(info.param.name); });

TEST(UpdateFlagsTest, MarkDirtyBitKeepsAWidgetDirtyEveryTick)
{
    Tree t;
    Vel::MemoryImage screen;
    ASSERT_TRUE(screen.Create(100, 100));
    t.manager.SetScreenImage(&screen);
    t.manager.DrawScreen();
    EXPECT_FALSE(t.manager.RunUpdatePass());
    t.front.m_widgetFlagsMod = {Vel::kWidgetMarkDirty, 0};
    for (int tick = 0; tick < 3; ++tick) {
        EXPECT_TRUE(t.manager.RunUpdatePass());
        EXPECT_TRUE(t.manager.DrawScreen());
    }
}

// Draws nothing itself; defers an overlay and logs when each part is painted.
class OverlayWidget : public Vel::Widget {
public:
    OverlayWidget(std::string name, int x, int priority, int overlayPriority, std::vector<std::string>* log)
        : m_name(std::move(name)), m_overlayPriority(overlayPriority), m_log(log)
    {
        Resize(x, 0, 10, 10);
        m_priority = priority;
    }
    void Draw(Vel::Graphics*) override
    {
        m_log->push_back("draw " + m_name);
        if (m_overlayPriority >= 0)
            m_widgetManager->DeferOverlay(this, m_overlayPriority);
    }
    void PaintOverlay(Vel::Graphics* g, int priority) override
    {
        m_log->push_back("overlay " + m_name + " " + std::to_string(priority) + " at " +
                         std::to_string(int(g->GetTransX())));
    }

    std::string m_name;
    int m_overlayPriority;
    std::vector<std::string>* m_log;
};

TEST(OverlayTest, OverlaysFollowPriorityAndPrecedeHigherPriorityWidgets)
{
    std::vector<std::string> log;
    Vel::WidgetManager manager;
    Vel::MemoryImage screen;
    ASSERT_TRUE(screen.Create(100, 20));
    manager.SetScreenImage(&screen);
    OverlayWidget a("a", 0, 0, 5, &log);
    OverlayWidget c("c", 30, 0, 1, &log);
    OverlayWidget b("b", 60, 10, -1, &log);
    OverlayWidget late("late", 80, 0, 7, &log);
    for (OverlayWidget* w : {&a, &c, &b, &late})
        manager.AddWidget(w);

    manager.DrawScreen();
    EXPECT_EQ(log, (std::vector<std::string>{"draw a", "draw c", "overlay c 1 at 30", "overlay a 5 at 0",
                                             "draw b", "draw late", "overlay late 7 at 80"}));
    EXPECT_TRUE(manager.m_deferredOverlayWidgets.empty());
}

} // namespace
