#include "tests/game/board/BoardFixture.h"

#include "platform/Keys.h"

namespace {

using QvTest::BoardFixture;
using Vel::BoardState;

using ScreenBuildingTest = BoardFixture;

TEST_F(ScreenBuildingTest, FirstAddedButtonWinsAndRightAndBottomEdgesAreInside)
{
    AddText("T_B_FIRST,100,100,FIRST");
    AddText("T_B_SECOND,150,120,SECOND");
    m_board->ClearButtons(3);
    ASSERT_EQ(m_board->AddButton(3, 0, "T_B_FIRST", Vel::kStyleButton1), 0);
    ASSERT_EQ(m_board->AddButton(3, 0, "T_B_SECOND", Vel::kStyleButton1), 1);
    const Vel::LayoutItem& first = m_board->m_buttons[3][0];
    EXPECT_EQ(first.right, 200); // a cel is 100 x 50
    EXPECT_EQ(first.bottom, 150);
    // The caption is centred: 5 letters of 10 pixels, the baseline a quarter font below the middle.
    EXPECT_EQ(first.textX, 100 + 50 - 25);
    EXPECT_EQ(first.textY, 100 + 25 + 5);
    const struct {
        int x, y, hovered;
    } points[] = {
        {100, 100, 0}, {160, 130, 0},  // both cover it: the first added wins
        {200, 150, 0},                 // its right-bottom corner
        {201, 150, 1}, {250, 170, 1},  // only the second
        {251, 170, -1}, {99, 100, -1}, {150, 171, -1},
    };
    for (const auto& p : points) {
        m_board->MouseMove(p.x, p.y);
        m_board->HitTestButtons();
        EXPECT_EQ(m_board->m_hoveredButton[3], p.hovered) << p.x << "," << p.y;
    }
}

TEST_F(ScreenBuildingTest, ItemsPastALayoutsCapacityAreRefusedWithoutTouchingTheNextLayout)
{
    AddText("T_B_ITEM,10,10,ITEM");
    m_board->ClearButtons(5);
    m_board->ClearLabels(5);
    for (int i = 0; i < Vel::kButtonsPerLayout; ++i) // the chart choice needs all eighteen
        ASSERT_EQ(m_board->AddButton(5, 0, "T_B_ITEM", Vel::kStyleButton1), i);
    EXPECT_EQ(m_board->AddButton(5, 0, "T_B_ITEM", Vel::kStyleButton1), -1);
    for (int i = 0; i < Vel::kLabelsPerLayout; ++i)
        ASSERT_EQ(m_board->AddLabel(5, 0, "T_B_ITEM", "", 0, 0, 0), i);
    EXPECT_EQ(m_board->AddLabel(5, 0, "T_B_ITEM", "", 0, 0, 0), -1);
    EXPECT_EQ(m_board->m_buttonCount[5], Vel::kButtonsPerLayout);
    EXPECT_EQ(m_board->m_labelCount[5], Vel::kLabelsPerLayout);
    EXPECT_EQ(m_board->m_buttonCount[6], 0);
    EXPECT_EQ(m_board->m_buttons[6][0].textIndex, -1);
    EXPECT_EQ(m_board->m_labelCount[6], 0);
    EXPECT_EQ(m_board->AddButton(-1, 0, "T_B_ITEM", 0), -1);
    EXPECT_EQ(m_board->AddButton(Vel::kLayoutCount, 0, "T_B_ITEM", 0), -1);
    for (int i = 0; i < Vel::kTextFieldCount; ++i)
        ASSERT_EQ(m_board->AddTextField("", 1, 0, 0, 4, 0), i);
    EXPECT_EQ(m_board->AddTextField("", 1, 0, 0, 4, 0), -1);
}

TEST_F(ScreenBuildingTest, AMissingKeyStopsTheProgram)
{
    m_board->ClearButtons(3);
    EXPECT_THROW(m_board->AddButton(3, 0, "NO_SUCH_KEY", 0), std::runtime_error);
    EXPECT_EQ(m_board->m_buttonCount[3], 0);
}

TEST_F(ScreenBuildingTest, StacksKeepFifteenEntriesAndAnEmptyPopGivesTheBottomOne)
{
    m_board->ClearBoardStateStack();
    EXPECT_EQ(m_board->PeekBoardState(), -1);
    EXPECT_EQ(m_board->PopBoardState(), -1);
    for (int v = 0; v < 16; ++v)
        m_board->PushBoardState(v);
    EXPECT_EQ(m_board->m_stateStackCount, Vel::kStackLimit);
    EXPECT_EQ(m_board->PeekBoardState(), 14); // the sixteenth push stored nothing
    for (int v = 14; v >= 0; --v)
        EXPECT_EQ(m_board->PopBoardState(), v);
    EXPECT_EQ(m_board->m_stateStackCount, 0);
    EXPECT_EQ(m_board->PopBoardState(), 0);
    EXPECT_EQ(m_board->m_stateStackCount, 0);

    m_board->ClearLayoutStack();
    for (int v = 0; v < 20; ++v)
        m_board->PushLayout(v);
    EXPECT_EQ(m_board->m_layoutStackCount, Vel::kStackLimit);
    EXPECT_EQ(m_board->PopLayout(), 14);
}

TEST_F(ScreenBuildingTest, ReturnsRestoreTheCoveredScreenOrFallBackToTheMainMenu)
{
    BuildTestScreen(BoardState::Math2);
    m_board->OpenGameMenu();
    EXPECT_EQ(m_board->State(), BoardState::GameMenu);
    EXPECT_EQ(m_board->m_currentLayout, Vel::kLayoutGameMenu);
    m_board->m_enterPressed = true;
    m_board->ReturnFromOverlay();
    EXPECT_EQ(m_board->State(), BoardState::Math2);
    EXPECT_EQ(m_board->m_currentLayout, Vel::kLayoutGameBoard);
    EXPECT_FALSE(m_board->m_enterPressed);

    // Nothing saved to return to: the main menu rather than a state -1.
    m_board->ClearBoardStateStack();
    m_board->ClearLayoutStack();
    m_board->SetState(BoardState::Dialog);
    m_board->ReturnFromDialog();
    EXPECT_EQ(m_board->State(), BoardState::MainMenu);
    EXPECT_EQ(m_board->m_currentLayout, Vel::kLayoutMainMenu);
}

TEST_F(ScreenBuildingTest, FiltersDecideWhatAFieldTakes)
{
    const struct {
        int filter;
        const char* text;
        char typed;
        const char* after;
    } cases[] = {
        {Vel::kFilterDayOfMonth, "3", '2', "3"},  // 32 is no day
        {Vel::kFilterDayOfMonth, "3", '1', "31"},
        {Vel::kFilterDayOfMonth, "", '0', ""},
        {Vel::kFilterDayOfMonth, "", 'a', ""},
        {Vel::kFilterMonth, "1", '3', "1"},
        {Vel::kFilterMonth, "1", '2', "12"},
        {Vel::kFilterMonth, "", '9', "9"},
        {Vel::kFilterDigits, "12", '7', "127"},
        {Vel::kFilterDigits, "", ' ', ""},
        {Vel::kFilterLetters, "A", '1', "A"},
        {Vel::kFilterLetters, "A", 'b', "Ab"},
        {Vel::kFilterLettersDigits, "", '7', "7"},
        {Vel::kFilterLettersDigits, "A", ' ', "A "},
        {Vel::kFilterLettersDigits, "A", '-', "A"},
        {Vel::kFilterLettersUpper, "", 'q', "Q"},
        {Vel::kFilterLettersDigitsUpper, "", 'z', "Z"},
        {Vel::kFilterLettersUpper, "", '\xe9', ""},
    };
    for (const auto& c : cases) {
        m_board->ClearTextFields();
        m_board->AddTextField(c.text, c.filter, 48, 460, 16, 0);
        m_board->KeyChar(c.typed);
        EXPECT_EQ(m_board->m_textFields[0].text, c.after) << c.filter << " '" << c.text << "' + " << c.typed;
    }
}

TEST_F(ScreenBuildingTest, TypingStopsOnceTheTextIsAsWideAsAllButOneUnit)
{
    const struct {
        int width;
        char letter;
        size_t kept;
    } cases[] = {
        {4, 'I', 12}, // 3 x 40 = 120 pixels of 10-pixel letters
        {4, 'W', 4},  // 30-pixel letters: 90 is still short of 120, so a fourth goes in
        {1, 'I', 0},
    };
    for (const auto& c : cases) {
        m_board->ClearTextFields();
        m_board->AddTextField("", Vel::kFilterLetters, 48, 460, c.width, 0);
        for (int i = 0; i < 30; ++i)
            m_board->KeyChar(c.letter);
        EXPECT_EQ(m_board->m_textFields[0].text.size(), c.kept) << c.width << c.letter;
    }
}

TEST_F(ScreenBuildingTest, EditingKeysRemoveTheLastCharacterAndLeaveAnEmptyFieldAlone)
{
    m_board->ClearTextFields();
    m_board->AddTextField("AB", Vel::kFilterLetters, 48, 460, 16, 0);
    m_board->AddTextField("", Vel::kFilterLetters, 48, 560, 16, 0);
    m_board->KeyDown(Plat::kKeyBackspace);
    EXPECT_EQ(m_board->m_textFields[0].text, "A");
    m_board->KeyDown(Plat::kKeyLeft);
    EXPECT_EQ(m_board->m_textFields[0].text, "");
    for (int key : {Plat::kKeyBackspace, Plat::kKeyLeft, Plat::kKeyDelete})
        m_board->KeyDown(key);
    EXPECT_EQ(m_board->m_textFields[0].text, "");
    m_board->KeyDown(Plat::kKeyTab);
    EXPECT_EQ(m_board->m_currentTextField, 1);
    m_board->KeyDown(Plat::kKeyTab);
    EXPECT_EQ(m_board->m_currentTextField, 0); // wraps
    m_board->KeyDown(Plat::kKeyReturn);
    EXPECT_TRUE(m_board->m_enterPressed);
    m_board->KeyDown('A');
    EXPECT_FALSE(m_board->m_enterPressed);
}

TEST_F(ScreenBuildingTest, AClickInsideAFieldMakesItCurrentAndOneBetweenFieldsChangesNothing)
{
    m_board->ClearTextFields();
    m_board->AddTextField("", 1, 180, 370, 2, 0); // box 180..300 x 306..402
    m_board->AddTextField("", 1, 412, 370, 4, 0);
    const struct {
        int x, y, current;
        bool used;
    } clicks[] = {{350, 370, 0, false}, {412, 306, 1, true}, {300, 402, 0, true}, {301, 370, 0, false}};
    for (const auto& c : clicks) {
        const size_t sounds = m_app.m_sounds->m_played.size();
        PressAt(c.x, c.y);
        m_board->UpdateTextFields();
        EXPECT_EQ(m_board->m_currentTextField, c.current) << c.x << "," << c.y;
        EXPECT_EQ(m_board->m_mouseButton, c.used ? 0 : 1) << c.x << "," << c.y;
        EXPECT_EQ(m_app.m_sounds->m_played.size(), sounds + (c.used ? 1 : 0));
        m_board->MouseUp(c.x, c.y, 1);
    }
}

TEST_F(ScreenBuildingTest, APressOverNoButtonDraggedOntoOneActsOnTheNextTick)
{
    m_board->BuildMainMenu();
    const Vel::LayoutItem& quit = m_board->m_buttons[Vel::kLayoutMainMenu][4];
    PressAt(10, 10);
    m_board->Update();
    EXPECT_EQ(m_board->State(), BoardState::MainMenu);
    EXPECT_EQ(m_board->m_mouseButton, 1); // still pending while held
    m_board->MouseDrag(quit.left + 5, quit.top + 5);
    m_board->Update();
    EXPECT_EQ(m_board->State(), BoardState::Dialog);
    EXPECT_EQ(m_board->m_mouseButton, 0);
    EXPECT_EQ(Count(QvTest::kClickSound), 1);
}

TEST_F(ScreenBuildingTest, AQuickTapBetweenTwoTicksStillActsOnceAndAHeldPressEndsAtRelease)
{
    m_board->BuildMainMenu();
    const Vel::LayoutItem& quit = m_board->m_buttons[Vel::kLayoutMainMenu][4];
    PressAt(quit.left + 5, quit.top + 5);
    m_board->MouseUp(quit.left + 5, quit.top + 5, 1); // before any tick saw the press
    m_board->Update();
    EXPECT_EQ(m_board->State(), BoardState::Dialog);
    EXPECT_EQ(Count(QvTest::kClickSound), 1);

    // A tap beside every button is gone after one tick, not left to act later.
    m_board->BuildMainMenu();
    PressAt(10, 10);
    m_board->MouseUp(10, 10, 1);
    m_board->Update();
    EXPECT_EQ(m_board->m_mouseButton, 0);
    m_board->MouseMove(quit.left + 5, quit.top + 5);
    m_board->Update();
    EXPECT_EQ(m_board->State(), BoardState::MainMenu);

    // A press a tick has seen ends with its release.
    PressAt(10, 10);
    m_board->Update();
    m_board->MouseUp(10, 10, 1);
    EXPECT_EQ(m_board->m_mouseButton, 0);
}

TEST_F(ScreenBuildingTest, OnlyASingleLeftPressActs)
{
    for (int clickCount : {2, -1, -2, 3}) {
        m_board->BuildMainMenu();
        const Vel::LayoutItem& quit = m_board->m_buttons[Vel::kLayoutMainMenu][4];
        m_board->MouseMove(quit.left + 5, quit.top + 5);
        m_board->MouseDown(quit.left + 5, quit.top + 5, clickCount);
        m_board->Update();
        EXPECT_EQ(m_board->State(), BoardState::MainMenu) << clickCount;
        m_board->MouseUp(0, 0, 1);
    }
}

TEST_F(ScreenBuildingTest, ButtonsAndFieldsDrawInsideTheirRectangles)
{
    Vel::MemoryImage screen;
    ASSERT_TRUE(screen.Create(800, 600));
    Vel::Graphics g(&screen);
    AddText("T_B_ONE,100,100,ONE");
    m_board->ClearButtons(3);
    m_board->AddButton(3, 0, "T_B_ONE", Vel::kStyleButton1);
    m_board->ClearTextFields();
    m_board->AddTextField("AB", 1, 48, 460, 2, 0);
    m_board->DrawButton(&g, 3, 0, false);
    m_board->DrawTextFields(&g);
    const uint32_t* px = screen.GetBits();
    auto at = [&](int x, int y) { return px[size_t(y) * 800 + size_t(x)] & 0xFFFFFF; };
    EXPECT_EQ(at(101, 101), 0xC8C800u);  // the button's image
    EXPECT_EQ(at(201, 101), 0u);         // nothing beyond its cel
    EXPECT_EQ(at(140, 125), 0u);         // its caption, in black, centred on the button
    EXPECT_EQ(at(49, 397), 0xFFFFFFu);   // the field's box starts 64 above the baseline
    EXPECT_EQ(at(48 + 16 * 6 + 15, 397), 0u); // width 2: left end, four middle cels, right end
    EXPECT_EQ(at(48 + 16 * 5 + 15, 397), 0xFFFFFFu);
}

} // namespace
