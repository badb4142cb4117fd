// Pointer and keyboard dispatch: local coordinates, capture, click counts, disabled and modal
// widgets, focus and the Tab keys.
#include <gtest/gtest.h>

#include "framework/widgets/WidgetManager.h"
#include "platform/Keys.h"
#include "tests/framework/widgets/WidgetTestSupport.h"

using VelTest::RecordingWidget;
using Strings = std::vector<std::string>;

namespace {

// A parent at (100, 100) holding a child at (10, 20): the child's screen origin is (110, 120).
class PointerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_manager.AddWidget(&m_parent);
        m_parent.AddWidget(&m_child);
        m_manager.AddWidget(&m_other);
    }

    // A move then a press, as the window delivers them.
    void Press(int x, int y, int count = 1)
    {
        m_manager.MouseMove(x, y);
        m_manager.MouseDown(x, y, count);
    }

    Vel::WidgetManager m_manager;
    RecordingWidget m_parent{"parent", 100, 100, 200, 200};
    RecordingWidget m_child{"child", 10, 20, 50, 50};
    RecordingWidget m_other{"other", 400, 100, 50, 50};
};

TEST_F(PointerTest, DownDragAndUpAllArriveInTheWidgetsOwnCoordinates)
{
    Press(115, 125);
    m_manager.MouseMove(117, 128);
    m_manager.MouseUp(118, 129, 1);
    EXPECT_TRUE(m_child.Got("down 5,5 count 1"));
    EXPECT_TRUE(m_child.Got("drag 7,8"));
    EXPECT_TRUE(m_child.Got("up 8,9 count 1"));
    EXPECT_TRUE(m_parent.m_log.empty());
}

struct ClickCase {
    int count;        // as the window delivers it
    int button;       // what the four-argument MouseDown receives
    int mappedCount;
    int buttonId;     // WidgetManager::m_lastDownButtonId
    int releaseCount; // what the matching release carries
};

class ClickCountTest : public PointerTest, public ::testing::WithParamInterface<ClickCase> {};

TEST_P(ClickCountTest, WindowCountsMapToButtonAndCount)
{
    const ClickCase c = GetParam();
    Press(115, 125, c.count);
    EXPECT_TRUE(m_child.Got("down 5,5 count " + std::to_string(c.count)));
    EXPECT_TRUE(m_child.Got("down4 5,5 button " + std::to_string(c.button) + " count " +
                            std::to_string(c.mappedCount)));
    EXPECT_EQ(m_manager.m_lastDownButtonId, c.buttonId);
    EXPECT_TRUE(m_child.m_isDown);

    m_manager.MouseUp(115, 125, c.releaseCount);
    EXPECT_TRUE(m_child.Got("up 5,5 count " + std::to_string(c.releaseCount)));
    EXPECT_FALSE(m_child.m_isDown);
    EXPECT_EQ(m_manager.m_lastDownWidget, nullptr);
    EXPECT_EQ(m_manager.m_actualDownButtons, 0);
}

INSTANTIATE_TEST_SUITE_P(Buttons, ClickCountTest,
                         ::testing::Values(ClickCase{1, 0, 1, 1, 1},   // left
                                           ClickCase{2, 0, 2, 1, 1},   // left double click
                                           ClickCase{-1, 1, 1, -1, -1}, // right
                                           ClickCase{-2, 1, 2, -1, -1}, // right double click
                                           ClickCase{3, 2, 1, 2, 3}));  // middle

TEST_F(PointerTest, PressedWidgetKeepsThePointerUntilRelease)
{
    Press(115, 125);
    m_child.Take();
    m_manager.MouseMove(410, 110); // over "other", still held
    EXPECT_EQ(m_child.Take(), (Strings{"drag 300,-10", "leave"}));
    EXPECT_TRUE(m_other.m_log.empty());
    EXPECT_EQ(m_manager.m_overWidget, nullptr);

    m_manager.MouseMove(112, 122); // back on the child
    EXPECT_EQ(m_child.Take(), (Strings{"drag 2,2", "enter"}));

    m_manager.MouseMove(420, 120);
    m_manager.MouseUp(420, 120, 1);
    EXPECT_TRUE(m_child.Got("up 310,0 count 1"));
    // Only after the release does the widget under the pointer hear of it.
    EXPECT_EQ(m_other.Take(), (Strings{"enter", "move 20,20"}));
}

TEST_F(PointerTest, DisabledWidgetsNeverGetThePointer)
{
    m_child.SetDisabled(true);
    EXPECT_EQ(m_manager.GetWidgetAt(115, 125), nullptr);
    Press(115, 125);
    m_manager.MouseUp(115, 125, 1);
    EXPECT_TRUE(m_child.m_log.empty());
    // A disabled widget covers what lies behind it.
    EXPECT_TRUE(m_parent.m_log.empty());
}

TEST_F(PointerTest, DisablingTheOverWidgetSendsMouseLeaveAndEnablingReEnters)
{
    m_manager.MouseMove(115, 125);
    m_child.Take();
    m_child.SetDisabled(true);
    EXPECT_EQ(m_child.Take(), Strings{"leave"});
    EXPECT_FALSE(m_child.m_isOver);
    m_child.SetDisabled(false);
    EXPECT_EQ(m_child.Take(), (Strings{"enter", "move 5,5"}));
}

TEST_F(PointerTest, DisablingThePressedWidgetReleasesItWithoutLaterEvents)
{
    Press(115, 125);
    m_child.Take();
    m_child.SetDisabled(true);
    EXPECT_EQ(m_child.Take(), (Strings{"leave", "up 5,5 count 1"}));
    EXPECT_FALSE(m_child.m_isDown);
    m_manager.MouseMove(116, 126);
    m_manager.MouseUp(116, 126, 1);
    EXPECT_TRUE(m_child.m_log.empty());
}

TEST_F(PointerTest, LeavingTheWindowLeavesTheOverWidget)
{
    m_manager.MouseMove(115, 125);
    m_child.Take();
    m_manager.MouseExit(115, 125);
    EXPECT_EQ(m_child.Take(), Strings{"leave"});
    EXPECT_FALSE(m_manager.m_mouseIn);
}

TEST_F(PointerTest, FocusLossReleasesHeldButtonsAndKeys)
{
    m_child.m_wantsFocus = true;
    Press(115, 125);
    m_manager.MouseMove(130, 140);
    m_manager.MouseDown(130, 140, -1); // right button too
    m_manager.KeyDown('A');
    m_child.Take();

    m_manager.LostFocus();
    EXPECT_EQ(m_child.Take(), (Strings{"keyup 65", "unfocus", "up 20,20 count 1", "up 20,20 count -1"}));
    EXPECT_FALSE(m_child.m_isDown);
    EXPECT_FALSE(m_manager.IsKeyDown('A'));
    EXPECT_EQ(m_manager.m_lastDownWidget, nullptr);
    EXPECT_EQ(m_manager.m_actualDownButtons, 0);

    m_manager.GotFocus();
    EXPECT_EQ(m_child.Take(), Strings{"focus"});
}

TEST_F(PointerTest, RemovedWidgetIsForgottenAsOverPressedAndFocused)
{
    m_child.m_wantsFocus = true;
    Press(115, 125);
    m_parent.RemoveWidget(&m_child);
    EXPECT_EQ(m_manager.m_overWidget, nullptr);
    EXPECT_EQ(m_manager.m_lastDownWidget, nullptr);
    EXPECT_EQ(m_manager.m_focusWidget, nullptr);
    m_child.Take();
    m_manager.MouseUp(115, 125, 1);
    m_manager.MouseWheel(1);
    EXPECT_TRUE(m_child.m_log.empty());
    EXPECT_EQ(m_manager.m_overWidget, &m_parent);
}

TEST_F(PointerTest, WindowCoordinatesAreMappedOntoTheScreen)
{
    m_manager.SetMouseRects(Vel::Rect(0, 0, 1600, 1200), Vel::Rect(0, 0, 800, 600));
    Press(230, 250); // (115, 125) on the screen
    EXPECT_TRUE(m_child.Got("down 5,5 count 1"));
}

TEST_F(PointerTest, PopupIsDroppedByAPressOutsideIt)
{
    VelTest::FakeHost host;
    m_manager.SetHost(&host);
    auto* popup = new RecordingWidget("popup", 500, 300, 40, 40);
    m_manager.SetPopupCommandWidget(popup);
    Press(510, 310);
    m_manager.MouseUp(510, 310, 1);
    EXPECT_TRUE(popup->Got("down 10,10 count 1"));
    EXPECT_TRUE(host.m_deleted.empty());

    Press(115, 125);
    EXPECT_FALSE(m_manager.HasWidget(popup));
    EXPECT_EQ(host.m_deleted, std::vector<Vel::Widget*>{popup});
    EXPECT_TRUE(m_child.Got("down 5,5 count 1")); // the press still reaches what it hit
    delete popup;
    m_manager.SetHost(nullptr);
}

class ModalTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_below.m_wantsFocus = m_modal.m_wantsFocus = true;
        m_manager.AddWidget(&m_below);
        m_manager.AddWidget(&m_modal);
        m_manager.SetFocus(&m_below);
        m_manager.MouseMove(10, 10); // over "below", outside the modal widget
    }

    Vel::WidgetManager m_manager;
    RecordingWidget m_below{"below", 0, 0, 400, 400};
    RecordingWidget m_modal{"modal", 100, 100, 100, 100};
};

TEST_F(ModalTest, ModalWidgetBlocksThePointerAndFocusBelowIt)
{
    m_below.Take();
    m_manager.AddBaseModal(&m_modal);
    EXPECT_EQ(m_below.Take(), (Strings{"leave", "unfocus"}));

    m_manager.MouseMove(20, 20);
    m_manager.MouseDown(20, 20, 1);
    m_manager.MouseUp(20, 20, 1);
    m_manager.KeyDown('B');
    EXPECT_TRUE(m_below.m_log.empty());

    m_manager.MouseMove(150, 150);
    m_manager.MouseDown(150, 150, 1);
    EXPECT_TRUE(m_modal.Got("down 50,50 count 1"));
    EXPECT_EQ(m_manager.m_focusWidget, &m_modal);
}

TEST_F(ModalTest, WidgetsInFrontOfTheModalOneStillGetThePointer)
{
    RecordingWidget tip("tip", 0, 0, 30, 30);
    m_manager.AddBaseModal(&m_modal);
    m_manager.AddWidget(&tip);
    m_manager.MouseMove(5, 5);
    EXPECT_TRUE(tip.Got("enter"));
}

TEST_F(ModalTest, RemovingTheBaseModalRestoresFocusAndPointerBelow)
{
    m_manager.AddBaseModal(&m_modal);
    m_manager.MouseMove(150, 150);
    m_manager.MouseDown(150, 150, 1);
    m_manager.MouseUp(150, 150, 1);
    m_manager.MouseMove(20, 20);
    m_below.Take();

    m_manager.RemoveBaseModal(&m_modal);
    EXPECT_EQ(m_manager.m_baseModalWidget, nullptr);
    EXPECT_EQ(m_manager.m_focusWidget, &m_below);
    EXPECT_EQ(m_below.Take(), (Strings{"focus", "enter", "move 20,20"}));
}

TEST_F(ModalTest, RemovingAnOuterModalPopsTheInnerOnesToo)
{
    RecordingWidget inner("inner", 120, 120, 20, 20);
    m_manager.AddWidget(&inner);
    m_manager.AddBaseModal(&m_modal);
    m_manager.AddBaseModal(&inner);
    EXPECT_EQ(m_manager.GetWidgetAt(150, 150), nullptr); // the outer modal is below the inner one

    m_manager.RemoveBaseModal(&m_modal);
    EXPECT_EQ(m_manager.m_baseModalWidget, nullptr);
    EXPECT_EQ(m_manager.GetWidgetAt(10, 10), &m_below);
    EXPECT_EQ(m_manager.m_focusWidget, &m_below);
    // Unknown widgets change nothing.
    m_manager.RemoveBaseModal(&inner);
    EXPECT_EQ(m_manager.m_focusWidget, &m_below);
}

TEST_F(ModalTest, ModalWidgetRemovedFromTheTreeStopsBlocking)
{
    m_manager.AddBaseModal(&m_modal);
    m_manager.RemoveWidget(&m_modal);
    EXPECT_EQ(m_manager.GetWidgetAt(10, 10), &m_below);
    m_manager.RemoveBaseModal(&m_modal);
    EXPECT_EQ(m_manager.m_focusWidget, &m_below);
}

class KeyboardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (RecordingWidget* w : {&m_first, &m_second, &m_third, &m_default})
            m_manager.AddWidget(w);
        m_second.m_tabNext = &m_third;
        m_second.m_tabPrev = &m_first;
        m_manager.m_defaultTab = &m_default;
        m_manager.SetFocus(&m_second);
    }

    void Tab(std::initializer_list<int> modifiers)
    {
        for (int key : modifiers)
            m_manager.KeyDown(key);
        m_manager.KeyDown(Plat::kKeyTab);
        m_manager.KeyChar('\t');
        m_manager.KeyUp(Plat::kKeyTab);
        for (int key : modifiers)
            m_manager.KeyUp(key);
    }

    Vel::WidgetManager m_manager;
    RecordingWidget m_first{"first"}, m_second{"second"}, m_third{"third"}, m_default{"default"};
};

TEST_F(KeyboardTest, TabGoesToTabNextAndShiftTabToTabPrev)
{
    Tab({});
    EXPECT_EQ(m_manager.m_focusWidget, &m_third);
    m_manager.SetFocus(&m_second);
    Tab({Plat::kKeyShift});
    EXPECT_EQ(m_manager.m_focusWidget, &m_first);
}

TEST_F(KeyboardTest, CtrlTabGoesToTheDefaultTabWidgetOnly)
{
    m_second.Take();
    Tab({Plat::kKeyControl});
    EXPECT_EQ(m_manager.m_focusWidget, &m_second);
    EXPECT_EQ(m_default.Take(), Strings{"char 9"});
    for (const std::string& e : m_second.Take())
        EXPECT_EQ(e.find(" 9"), std::string::npos) << e; // no Tab key or character at all
}

TEST_F(KeyboardTest, KeysOutsideTheTableAreDeliveredButNeverStored)
{
    const int keys[] = {-1, -300, 255, 256, 1 << 30};
    for (int key : keys) {
        m_manager.KeyDown(key);
        m_manager.KeyUp(key);
        EXPECT_FALSE(m_manager.IsKeyDown(key));
    }
    for (int key = 0; key < Vel::WidgetManager::kKeyCount; ++key)
        EXPECT_FALSE(m_manager.IsKeyDown(key)) << key;
    EXPECT_EQ(m_manager.m_widgetFlags, Vel::kDefaultWidgetFlags);
    EXPECT_TRUE(m_second.Got("keyup 256"));
}

TEST_F(KeyboardTest, WheelGoesToTheFocusWidget)
{
    m_manager.MouseWheel(-2);
    EXPECT_TRUE(m_second.Got("wheel -2"));
}

} // namespace
