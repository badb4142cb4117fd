// The Board repaints only when its picture changed: a still menu draws nothing, every change
// that shows is drawn at the next tick, and what ends up on the screen is what a full repaint
// gives.
#include "tests/game/shell/GameTestApp.h"

#include <cstring>

namespace {

using QvTest::GameFixture;
using QvTest::GameTestApp;
using Vel::BoardState;

using BoardRedrawTest = GameFixture;

// Frames drawn over `ticks` ticks, one draw per tick as the loop does.
int FramesDrawn(GameTestApp& app, int ticks)
{
    int drawn = 0;
    for (int i = 0; i < ticks; ++i) {
        app.Ticks(1);
        drawn += app.GetWidgetManager()->DrawScreen() ? 1 : 0;
    }
    return drawn;
}

std::vector<uint32_t> Screen(GameTestApp& app)
{
    const uint32_t* bits = app.GetScreenImage()->GetBits();
    return {bits, bits + size_t(app.m_width) * size_t(app.m_height)};
}

// The screen as it is, then as a full repaint of everything makes it.
void ExpectScreenIsAFullRepaint(GameTestApp& app, const char* when)
{
    const std::vector<uint32_t> shown = Screen(app);
    app.GetWidgetManager()->MarkAllDirty();
    app.GetWidgetManager()->DrawScreen();
    EXPECT_TRUE(shown == Screen(app)) << when;
}

TEST_F(BoardRedrawTest, AStillMainMenuDrawsNothingAndEveryVisibleChangeIsDrawn)
{
    GameTestApp app;
    app.Init();
    app.StartBoard();
    ASSERT_TRUE(app.m_board && app.m_boardReady);
    Vel::Board& board = *app.m_board;
    ASSERT_EQ(board.State(), BoardState::MainMenu);
    ASSERT_GT(board.m_buttonCount[Vel::kLayoutMainMenu], 0);
    app.GetWidgetManager()->MouseMove(799, 599); // over no button
    FramesDrawn(app, 5);

    EXPECT_EQ(FramesDrawn(app, 300), 0) << "three seconds of a still menu";

    // The pointer onto the first button: highlighted at the next tick, then still again.
    const Vel::LayoutItem& button = board.m_buttons[Vel::kLayoutMainMenu][0];
    app.GetWidgetManager()->MouseMove((button.left + button.right) / 2, (button.top + button.bottom) / 2);
    EXPECT_EQ(FramesDrawn(app, 1), 1);
    EXPECT_EQ(board.m_hoveredButton[Vel::kLayoutMainMenu], 0);
    ExpectScreenIsAFullRepaint(app, "after the hover");
    EXPECT_EQ(FramesDrawn(app, 50), 0);

    // Moving within the same button changes nothing that shows.
    app.GetWidgetManager()->MouseMove((button.left + button.right) / 2 + 1, (button.top + button.bottom) / 2);
    EXPECT_EQ(FramesDrawn(app, 10), 0);

    // Off the button again.
    app.GetWidgetManager()->MouseMove(799, 599);
    EXPECT_EQ(FramesDrawn(app, 1), 1);
    ExpectScreenIsAFullRepaint(app, "after leaving the button");

    // A dialog over the menu shows at once and then sits still too.
    board.ShowQuitDialog();
    EXPECT_EQ(FramesDrawn(app, 1), 1);
    ExpectScreenIsAFullRepaint(app, "with the quit dialog");
    EXPECT_EQ(FramesDrawn(app, 50), 0);
}

TEST_F(BoardRedrawTest, ScreensTheDigestDoesNotCoverAreRepaintedEveryTick)
{
    GameTestApp app;
    app.Init();
    app.StartBoard();
    ASSERT_TRUE(app.m_board);
    FramesDrawn(app, 5);
    for (BoardState state : {BoardState::Language1, BoardState::Credits}) {
        app.m_board->SetState(state);
        EXPECT_EQ(FramesDrawn(app, 20), 20) << int(state);
    }
    // A dialog over a test shows the test below, so it is repainted every tick as well.
    app.m_board->SetState(BoardState::Language1);
    app.m_board->ShowQuitDialog();
    EXPECT_EQ(FramesDrawn(app, 20), 20);
}

} // namespace
