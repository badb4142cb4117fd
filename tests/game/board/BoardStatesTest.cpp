#include "tests/game/board/BoardFixture.h"

#include "platform/Keys.h"

namespace {

using QvTest::BoardFixture;
using Vel::BoardState;

constexpr int kStates = Vel::kBoardStateValues;

// One character per state 0..46. Music: 0/1/2 a track, S silence, - unchanged.
constexpr char kMusic[] = "01--0------SSSSSSS-SSSS-SSSSSSS-SSSS-1-22--22-1";
// The common steps of each state's tick: T the test clock, M the in-test menu, F the fields.
constexpr const char* kSteps[kStates] = {
    "", "", "", "", "", "", "", "", "", "", "",        // 0..10
    "TMF", "TMF", "TMF", "TM", "", "TF", "",           // 11..17
    "", "TM", "TM", "TM", "TM", "", "TM", "TM",        // 18..25
    "TM", "TM", "TM", "TM", "TM", "", "TM", "TM",      // 26..33
    "TM", "TM", "", "", "", "", "", "", "", "", "", "", "", // 34..46
};
static_assert(sizeof kMusic == kStates + 1);

bool Has(const char* steps, char step) { return std::string(steps).find(step) != std::string::npos; }

using BoardStatesTest = BoardFixture;

TEST_F(BoardStatesTest, EachStatePlaysItsMusic)
{
    for (int s = 0; s < kStates; ++s) {
        QvTest::RecordingMusic& music = *m_app.m_music;
        music.m_playing.clear();
        music.m_log.clear();
        m_board->SetState(BoardState(s));
        m_board->PlayStateMusic();
        std::string expected;
        if (kMusic[s] == 'S')
            expected = "stop ";
        else if (kMusic[s] != '-')
            expected = std::string("stop fade:") + kMusic[s] + " ";
        EXPECT_EQ(music.m_log, expected) << "state " << s;
        if (kMusic[s] >= '0' && kMusic[s] <= '2') {
            EXPECT_EQ(music.m_lastOffset, -1);
            EXPECT_DOUBLE_EQ(music.m_lastSpeed, 0.002);
            EXPECT_FALSE(music.m_lastNoLoop);
            // A track that already plays goes on undisturbed.
            music.m_log.clear();
            m_board->PlayStateMusic();
            EXPECT_EQ(music.m_log, "") << "state " << s;
        }
    }
}

TEST_F(BoardStatesTest, EachStateRunsItsCommonStepsAndOnlyThose)
{
    for (int s = 0; s < kStates; ++s) {
        const char* steps = kSteps[s];
        // The clock: a second is due.
        BuildTestScreen(BoardState(s));
        m_board->m_timer.Start(30, 0);
        m_board->m_lastSecondTick = m_board->m_updateCount - 100;
        m_board->Update();
        EXPECT_EQ(m_board->m_timer.m_secondsLeft, Has(steps, 'T') ? 29 : 30) << "state " << s;

        // The menu: a click on the test screen's menu button, then Escape alone.
        BuildTestScreen(BoardState(s));
        const Vel::LayoutItem& menu = m_board->m_buttons[Vel::kLayoutGameBoard][0];
        PressAt(menu.left + 1, menu.top + 1);
        m_board->Update();
        EXPECT_EQ(m_board->State() == BoardState::GameMenu && s != int(BoardState::GameMenu), Has(steps, 'M'))
            << "state " << s;
        m_board->MouseUp(0, 0, 1);
        BuildTestScreen(BoardState(s));
        m_board->m_escapePressed = true;
        m_board->Update();
        if (Has(steps, 'M')) {
            EXPECT_EQ(m_board->State(), BoardState::GameMenu) << "state " << s;
            EXPECT_FALSE(m_board->m_escapePressed);
        }

        // The fields: a click into the second field.
        BuildTestScreen(BoardState(s));
        m_board->AddTextField("", 2, 48, 300, 16, 0);
        m_board->AddTextField("", 2, 48, 460, 16, 0);
        PressAt(60, 450);
        m_board->Update();
        EXPECT_EQ(m_board->m_currentTextField, Has(steps, 'F') ? 1 : 0) << "state " << s;
        m_board->MouseUp(0, 0, 1);
        m_board->ClearBoardStateStack();
        m_board->ClearLayoutStack();
    }
}

TEST_F(BoardStatesTest, EveryStateDrawsItsScreenAndTheUnusedOnesNothing)
{
    Vel::MemoryImage screen;
    ASSERT_TRUE(screen.Create(800, 600));
    for (int s = 0; s < kStates; ++s) {
        Vel::Graphics g(&screen);
        BuildTestScreen(BoardState(s));
        m_board->PushBoardState(int(BoardState::MainMenu)); // what a dialog covers
        m_board->Draw(&g);
        const uint32_t corner = screen.GetBits()[size_t(599) * 800 + 799] & 0xFFFFFF;
        const bool unused = s == 18 || s == 23 || s == 31;
        EXPECT_EQ(corner == 0, unused) << "state " << s << " corner " << std::hex << corner;
        m_board->ClearBoardStateStack();
    }
}

TEST_F(BoardStatesTest, APausedBoardStandsStillAndShowsPaused)
{
    BuildTestScreen(BoardState::Math1);
    m_board->m_timer.Start(30, 0);
    m_board->m_lastSecondTick = -200;
    PressAt(5, 5);
    m_board->Pause(true);
    for (int i = 0; i < 300; ++i)
        m_board->Update();
    EXPECT_EQ(m_board->m_updateCount, 0);
    EXPECT_EQ(m_board->m_timer.m_secondsLeft, 30);
    EXPECT_EQ(m_board->m_mouseButton, 1);

    Vel::MemoryImage screen;
    ASSERT_TRUE(screen.Create(800, 600));
    Vel::Graphics g(&screen);
    m_board->Draw(&g);
    // "PAUSED": 60 pixels wide from 370, its baseline at 300, over the start screen.
    const uint32_t* px = screen.GetBits();
    EXPECT_EQ(px[size_t(295) * 800 + 375] & 0xFFFFFF, 0u);
    EXPECT_EQ(px[size_t(295) * 800 + 365] & 0xFFFFFF, 0x0000FFu);

    m_board->Pause(false);
    m_board->Pause(false); // an extra resume is not a credit for the next pause
    EXPECT_EQ(m_board->m_pauseCount, 0);
    m_board->Update();
    EXPECT_EQ(m_board->m_updateCount, 1);
    EXPECT_EQ(m_board->m_timer.m_secondsLeft, 29);
}

TEST_F(BoardStatesTest, AClickOnTheBalloonNeverReachesTheButtonBelow)
{
    m_board->BuildMainMenu();
    AddText("T_B_UNDER,100,20,UNDER"); // inside the balloon at (8, 8) .. (528, 188)
    m_board->AddButton(Vel::kLayoutMainMenu, 0, "T_B_UNDER", Vel::kStyleButton1);
    const Vel::LayoutItem& quit = m_board->m_buttons[Vel::kLayoutMainMenu][4];
    m_board->m_owl.active = 1;
    m_board->m_owl.textLength = 40;
    m_board->m_owl.x = quit.left - 10; // the balloon over the quit button
    m_board->m_owl.y = quit.top - 10;
    PressAt(quit.left + 5, quit.top + 5);
    m_board->Update();
    EXPECT_EQ(m_board->State(), BoardState::MainMenu);
    EXPECT_EQ(m_board->m_mouseButton, 0);
    EXPECT_EQ(m_board->m_owl.revealed, 40); // the owl took the click
    EXPECT_EQ(Count(QvTest::kClickSound), 0);
}

TEST_F(BoardStatesTest, VoiceSoundsAtMostEveryThirteenTicksOnlyWhileTheOwlTypes)
{
    const struct {
        bool voiceOn;
        bool typing;
        int expected; // in 130 ticks
    } cases[] = {{true, true, 10}, {false, true, 0}, {true, false, 0}};
    for (const auto& c : cases) {
        m_board->BuildMainMenu();
        m_app.m_sounds->m_played.clear();
        m_board->Profile().voice = c.voiceOn ? 1 : 0;
        m_board->m_owl.active = 1;
        m_board->m_owl.textLength = 100;
        m_board->m_owl.revealed = c.typing ? 0 : 100;
        m_board->m_lastVoiceTick = m_board->m_updateCount;
        std::vector<int> ticks;
        for (int i = 0; i < 130; ++i) {
            const size_t before = m_app.m_sounds->m_played.size();
            m_board->Update();
            if (m_app.m_sounds->m_played.size() > before) {
                ticks.push_back(m_board->m_updateCount);
                const int id = m_app.m_sounds->m_played.back();
                EXPECT_GE(id, QvTest::kFirstVoiceSound);
                EXPECT_LT(id, QvTest::kFirstVoiceSound + 5);
            }
        }
        EXPECT_EQ(int(ticks.size()), c.expected) << c.voiceOn << c.typing;
        for (size_t i = 1; i < ticks.size(); ++i)
            EXPECT_EQ(ticks[i] - ticks[i - 1], 13);
    }
}

TEST_F(BoardStatesTest, TheOwlAndTheMarkStandStillUnderTheDialogAndTheGameMenu)
{
    for (BoardState s : {BoardState::Dialog, BoardState::GameMenu, BoardState::Math1}) {
        BuildTestScreen(s);
        m_board->m_owl.lastUpdateTick = -1;
        m_board->m_tick.ShowMark(0, 10, 10, m_board->m_updateCount);
        for (int i = 0; i < 10; ++i)
            m_board->Update();
        const bool frozen = s != BoardState::Math1;
        EXPECT_EQ(m_board->m_owl.lastUpdateTick == -1, frozen) << int(s);
        EXPECT_EQ(m_board->m_tick.m_alpha == 0, frozen) << int(s);
        m_board->ClearBoardStateStack();
        m_board->ClearLayoutStack();
    }
}

TEST_F(BoardStatesTest, EscapeIsKeptOnlyWhereItIsACommand)
{
    BuildTestScreen(BoardState::Language1);
    m_board->KeyDown(Plat::kKeyEscape);
    m_board->KeyDown(Plat::kKeyEscape); // a held key repeats
    EXPECT_TRUE(m_board->m_escapePressed);
    m_board->KeyDown(Plat::kKeyShift);
    EXPECT_FALSE(m_board->m_escapePressed);

    m_board->KeyDown(Plat::kKeyEscape);
    m_board->SetState(BoardState::MainMenu);
    m_board->KeyDown(Plat::kKeyShift);
    EXPECT_TRUE(m_board->m_escapePressed);
}

TEST_F(BoardStatesTest, TheQuitQuestionReturnsOnNoOrEscapeAndQuitsOnYes)
{
    const struct {
        const char* answer;
        int quits;
    } cases[] = {{"no", 0}, {"escape", 0}, {"yes", 1}};
    for (const auto& c : cases) {
        m_app.m_quits = 0;
        m_board->BuildMainMenu();
        m_board->ShowQuitDialog();
        ASSERT_EQ(m_board->State(), BoardState::Dialog);
        const std::string answer = c.answer;
        if (answer == "escape") {
            m_board->KeyDown(Plat::kKeyEscape);
        } else {
            const Vel::LayoutItem& b = m_board->m_buttons[Vel::kLayoutDialog][answer == "yes" ? 0 : 1];
            PressAt(b.left + 1, b.top + 1);
        }
        m_board->Update();
        EXPECT_EQ(m_board->State(), BoardState::MainMenu) << c.answer;
        m_board->Update();
        EXPECT_EQ(m_app.m_quits, c.quits) << c.answer;
        m_board->MouseUp(0, 0, 1);
    }
}

TEST_F(BoardStatesTest, AClickAndAnEscapeInOneTickAnswerOnceAndReturnOneLevel)
{
    BuildTestScreen(BoardState::Math1);
    m_board->OpenGameMenu();
    m_board->OpenDialog(Vel::kDialogMainMenu, Vel::kDialogYesNo, "H", "T");
    const Vel::LayoutItem& no = m_board->m_buttons[Vel::kLayoutDialog][1];
    PressAt(no.left + 1, no.top + 1);
    m_board->KeyDown(Plat::kKeyEscape);
    m_board->Update();
    EXPECT_EQ(m_board->State(), BoardState::GameMenu);
    EXPECT_EQ(m_board->m_stateStackCount, 1);
    m_board->MouseUp(0, 0, 1);

    // The menu button and Escape together open the game menu once, and it stays open.
    BuildTestScreen(BoardState::Math1);
    m_board->ClearBoardStateStack();
    const Vel::LayoutItem& menu = m_board->m_buttons[Vel::kLayoutGameBoard][0];
    PressAt(menu.left + 1, menu.top + 1);
    m_board->KeyDown(Plat::kKeyEscape);
    m_board->Update();
    m_board->MouseUp(0, 0, 1);
    m_board->Update();
    EXPECT_EQ(m_board->State(), BoardState::GameMenu);
    EXPECT_EQ(m_board->m_stateStackCount, 1);
}

TEST_F(BoardStatesTest, TheGameMenuReturnsToTheTestWithItsTimeAfterANoToLeaving)
{
    BuildTestScreen(BoardState::Math3);
    m_board->m_timer.Start(45, 0);
    m_board->m_lastSecondTick = m_board->m_updateCount;
    m_board->KeyDown(Plat::kKeyEscape);
    m_board->Update();
    ASSERT_EQ(m_board->State(), BoardState::GameMenu);
    EXPECT_EQ(m_app.m_music->m_log, "stop fade:2 ");

    const auto press = [&](int layout, int button) {
        const Vel::LayoutItem& b = m_board->m_buttons[size_t(layout)][size_t(button)];
        PressAt(b.left + 1, b.top + 1);
        m_board->Update();
        m_board->MouseUp(0, 0, 1);
    };
    press(Vel::kLayoutGameMenu, 0); // main menu?
    ASSERT_EQ(m_board->State(), BoardState::Dialog);
    press(Vel::kLayoutDialog, 1); // no
    EXPECT_EQ(m_board->State(), BoardState::GameMenu);
    for (int i = 0; i < 500; ++i)
        m_board->Update(); // the test's clock stands still meanwhile
    press(Vel::kLayoutGameMenu, 2); // continue
    EXPECT_EQ(m_board->State(), BoardState::Math3);
    EXPECT_EQ(m_board->m_currentLayout, Vel::kLayoutGameBoard);
    EXPECT_EQ(m_board->m_timer.m_secondsLeft, 45);
    EXPECT_EQ(m_board->m_stateStackCount, 0);

    m_board->KeyDown(Plat::kKeyEscape);
    m_board->Update();
    press(Vel::kLayoutGameMenu, 0);
    press(Vel::kLayoutDialog, 0); // yes: the test is left without a result
    m_board->Update();
    EXPECT_EQ(m_board->State(), BoardState::MainMenu);
    EXPECT_EQ(m_board->m_stateStackCount, 0);
}

} // namespace
