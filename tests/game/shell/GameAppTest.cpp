#include "tests/game/shell/GameTestApp.h"

#include "framework/resources/ResourceManager.h"
#include "framework/widgets/HyperlinkWidget.h"
#include "game/players/PlayerFile.h"
#include "game/shell/ResourceIds.h"
#include "platform/Termination.h"

#include <csignal>
#include <fstream>
#include <set>
#include <thread>

namespace {

using QvTest::GameFixture;
using QvTest::GameTestApp;
using Vel::BoardState;
using Vel::TitlePhase;

std::vector<char> ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

using TitleTest = GameFixture;

TEST_F(TitleTest, EachPhaseTakesItsTicks)
{
    GameTestApp app;
    app.Init();
    app.LoadEverything();
    Vel::TitleScreen* title = app.m_titleScreen;
    // Fades of 5 a tick take 51 ticks (the last one clamps 250 + 5 to 255); the hold ends when
    // its counter exceeds 200.
    const struct {
        TitlePhase phase;
        int ticks;
        int alphaAfter;
    } phases[] = {
        {TitlePhase::FadeInSplash, 51, 255},
        {TitlePhase::HoldSplash, 201, 255},
        {TitlePhase::FadeOutSplash, 51, 0},
        {TitlePhase::FadeInTitle, 51, 255},
    };
    for (const auto& p : phases) {
        ASSERT_EQ(title->m_phase, p.phase);
        int ticks = 0;
        while (title->m_phase == p.phase && ticks < 1000) {
            app.Ticks(1);
            ++ticks;
        }
        EXPECT_EQ(ticks, p.ticks) << int(p.phase);
        EXPECT_EQ(title->m_alpha, p.alphaAfter) << int(p.phase);
    }
    EXPECT_EQ(title->m_phase, TitlePhase::WaitForClick);
}

TEST_F(TitleTest, LinkAppearsOnTheFirstWaitForClickTickWhenLoadingFinishedEarlier)
{
    GameTestApp app;
    app.Init();
    app.LoadEverything();
    app.Ticks(1); // the loop hands the finished loading over at its first tick
    ASSERT_TRUE(app.m_loadingComplete);
    Vel::TitleScreen* title = app.m_titleScreen;
    Vel::HyperlinkWidget* link = title->m_continueLink;
    while (title->m_phase != TitlePhase::WaitForClick) {
        EXPECT_FALSE(link->m_visible);
        EXPECT_TRUE(link->m_disabled);
        app.Ticks(1);
    }
    EXPECT_FALSE(link->m_visible); // the tick that reached full opacity
    app.Ticks(1);
    EXPECT_TRUE(link->m_visible);
    EXPECT_FALSE(link->m_disabled);
}

TEST_F(TitleTest, LinkNeverAppearsAfterAFailedLoadAndOtherButtonIdsDoNothing)
{
    GameTestApp app;
    app.Init();
    app.m_loadingFailed = true;
    app.BeginRunning();
    app.Ticks(500);
    EXPECT_FALSE(app.m_loadingComplete);
    EXPECT_FALSE(app.m_titleScreen->m_continueLink->m_visible);
    // The error is shown by the main thread, which then ends the program.
    EXPECT_EQ(app.m_null->m_messages.size(), 1u);
    EXPECT_TRUE(app.ShutdownRequested());
    app.m_titleScreen->OnButtonClick(2);
    EXPECT_EQ(app.m_board, nullptr);
    EXPECT_NE(app.m_titleScreen, nullptr);
}

TEST_F(TitleTest, TheLoadingThreadTouchesNoWidget)
{
    GameTestApp app;
    app.Init();
    Vel::TitleScreen* title = app.m_titleScreen;
    title->m_dirty = false;
    app.GetWidgetManager()->m_dirty = false;
    std::thread loader([&] { app.LoadingThreadBody(); });
    loader.join();
    EXPECT_FALSE(title->m_dirty);
    EXPECT_FALSE(app.GetWidgetManager()->m_dirty);
    EXPECT_FALSE(app.m_loadingFailed);
    EXPECT_GT(app.m_loadingTaskCount, 0);
    EXPECT_EQ(app.m_loadingTasksDone, app.m_loadingTaskCount);
    // Only the main thread says loading is complete, at the tick that follows.
    EXPECT_FALSE(app.m_loadingComplete);
    app.BeginRunning();
    app.Ticks(1);
    EXPECT_TRUE(app.m_loadingComplete);
    EXPECT_TRUE(title->m_dirty);
}

TEST_F(TitleTest, EveryResourceIdResolvesInTheBuiltData)
{
    GameTestApp app;
    app.Init();
    app.LoadEverything();
    ASSERT_FALSE(app.m_loadingFailed) << app.GetResourceManager()->GetErrorText();
    std::set<std::string> names;
    int total = 0;
    const struct {
        Vel::ResourceGroup group;
        size_t count;
    } groups[] = {{Vel::ResourceGroup::Init, 8},
                  {Vel::ResourceGroup::TitleScreen, 1},
                  {Vel::ResourceGroup::Game, 17},
                  {Vel::ResourceGroup::Program, 67}};
    for (const auto& g : groups) {
        const auto bindings = Vel::GroupBindings(g.group);
        EXPECT_EQ(bindings.size(), g.count) << Vel::GroupName(g.group);
        for (const Vel::ResourceBinding& b : bindings) {
            names.insert(b.id);
            ++total;
            switch (b.kind) {
            case Vel::ResourceKind::Image:
                EXPECT_NE(*static_cast<Vel::Image**>(b.handle), nullptr) << b.id;
                break;
            case Vel::ResourceKind::Sound:
                EXPECT_GE(*static_cast<int*>(b.handle), 0) << b.id;
                break;
            case Vel::ResourceKind::Font:
                EXPECT_NE(*static_cast<Vel::Font**>(b.handle), nullptr) << b.id;
                break;
            }
        }
    }
    EXPECT_EQ(total, Vel::kResourceIdCount);
    EXPECT_EQ(names.size(), size_t(Vel::kResourceIdCount));
}

TEST_F(TitleTest, BindingStopsAtTheFirstMissingIdAndSaysWhich)
{
    Vel::ResourceManager empty;
    EXPECT_FALSE(Vel::BindInitIds(&empty));
    EXPECT_NE(empty.GetErrorText().find("FONT_MENU0"), std::string::npos) << empty.GetErrorText();
    EXPECT_FALSE(Vel::BindInitIds(nullptr));
}

using WindowModeTest = GameFixture;

TEST_F(WindowModeTest, ModeFileDecidesTheStartAndAFirstRunWritesOne)
{
    const struct {
        const char* name;
        bool exists;
        std::vector<char> bytes;
        bool fullScreen;
        std::vector<char> after;
    } cases[] = {
        {"missing", false, {}, true, {1}},
        {"empty", true, {}, true, {1}},
        {"windowed", true, {0}, false, {0}},
        {"full screen", true, {1}, true, {1}},
    };
    for (const auto& c : cases) {
        std::filesystem::remove_all(UserData());
        if (c.exists) {
            std::filesystem::create_directories(UserData());
            std::ofstream(UserData() / "fscreen.dat", std::ios::binary).write(c.bytes.data(), std::streamsize(c.bytes.size()));
        }
        GameTestApp app;
        app.Init();
        EXPECT_EQ(!app.IsWindowed(), c.fullScreen) << c.name;
        EXPECT_EQ(app.m_null->LastWindow()->IsFullScreen(), c.fullScreen) << c.name;
        EXPECT_EQ(app.m_customCursors, c.fullScreen) << c.name; // the drawn pointer in full screen only
        EXPECT_EQ(ReadFile(UserData() / "fscreen.dat"), c.after) << c.name;
        app.AppBase::Shutdown();
    }
}

using HandOverTest = GameFixture;

TEST_F(HandOverTest, TheLinkOpensTheMainMenuOfAFreshPlayerFile)
{
    GameTestApp app;
    app.Init();
    app.StartBoard();
    ASSERT_NE(app.m_board, nullptr);
    EXPECT_TRUE(app.m_boardReady);
    EXPECT_EQ(app.m_titleScreen, nullptr);
    EXPECT_EQ(app.m_board->State(), BoardState::MainMenu);
    EXPECT_EQ(app.GetWidgetManager()->m_focusWidget, app.m_board);
    EXPECT_EQ(Vel::IMAGE_LOADER_BAR, nullptr); // its group is gone
    // The title's pictures are let go with the title; the rest of their group stays.
    EXPECT_EQ(Vel::IMAGE_BKG_SPLASH, nullptr);
    EXPECT_EQ(Vel::IMAGE_BKG_TITLE, nullptr);
    EXPECT_FALSE(app.GetResourceManager()->GetImage("IMAGE_BKG_TITLE"));
    EXPECT_NE(Vel::IMAGE_CUSTOM_POINTER, nullptr);
    ASSERT_FALSE(app.m_played.empty());
    EXPECT_EQ(app.m_played.front(), Vel::SOUND_BUTTONCLICK);
    // Written before the menu is first drawn: six empty slots.
    EXPECT_EQ(std::filesystem::file_size(UserData() / "pref.dat"), Vel::kPlayerFileSize);
    EXPECT_TRUE(app.m_board->Profile().empty);
    EXPECT_EQ(app.m_board->m_buttonCount[Vel::kLayoutMainMenu], 6);
    app.Ticks(3);
    EXPECT_EQ(app.m_board->m_updateCount, 3);
}

TEST_F(HandOverTest, EveryKeyTheBoardsScreensUseIsInTheShippedTextTable)
{
    GameTestApp app;
    app.Init();
    app.StartBoard();
    Vel::Board* board = app.m_board;
    ASSERT_NE(board, nullptr);
    // A missing key would end the program here.
    board->ClearButtons(Vel::kLayoutGameBoard);
    EXPECT_EQ(board->AddButton(Vel::kLayoutGameBoard, 2, "GB_B_MENU", Vel::kStyleButton2), 0);
    board->OpenGameMenu();
    EXPECT_EQ(board->m_buttonCount[Vel::kLayoutGameMenu], 3);
    EXPECT_EQ(board->m_labelCount[Vel::kLayoutGameMenu], 1);
    board->OpenDialog(Vel::kDialogNotice, Vel::kDialogOk, "H", "T");
    EXPECT_EQ(board->m_buttonCount[Vel::kLayoutDialog], 1);
    board->ShowQuitDialog();
    EXPECT_EQ(board->m_buttonCount[Vel::kLayoutDialog], 2);
    EXPECT_FALSE(board->m_dialogHeader.empty());
    EXPECT_FALSE(board->m_dialogText.empty());
    // The buttons lie on the screen with their captions inside them.
    for (int layout : {Vel::kLayoutMainMenu, Vel::kLayoutGameMenu, Vel::kLayoutDialog})
        for (int i = 0; i < board->m_buttonCount[size_t(layout)]; ++i) {
            const Vel::LayoutItem& b = board->m_buttons[size_t(layout)][size_t(i)];
            EXPECT_GT(b.imageWidth, 0) << b.text;
            EXPECT_LE(b.right, 800) << b.text;
            EXPECT_LE(b.bottom, 600) << b.text;
            EXPECT_GE(b.textX, b.left) << b.text;
            EXPECT_LE(b.textX + b.textWidth, b.right) << b.text;
        }
}

TEST_F(HandOverTest, ADamagedPlayerFileIsKeptAsideAndThePlayerIsTold)
{
    std::filesystem::create_directories(UserData());
    std::ofstream(UserData() / "pref.dat", std::ios::binary) << "not a player file";
    GameTestApp app;
    app.Init();
    app.StartBoard();
    ASSERT_NE(app.m_board, nullptr);
    EXPECT_EQ(app.m_board->State(), BoardState::Dialog);
    EXPECT_EQ(app.m_board->m_dialogKind, Vel::kDialogNotice);
    EXPECT_EQ(app.m_board->PeekBoardState(), int(BoardState::MainMenu));
    int kept = 0;
    for (const auto& entry : std::filesystem::directory_iterator(UserData()))
        if (entry.path().filename().string().rfind("pref.dat.bad-", 0) == 0) {
            ++kept;
            EXPECT_EQ(ReadFile(entry.path()).size(), std::string("not a player file").size());
        }
    EXPECT_EQ(kept, 1);
    EXPECT_EQ(std::filesystem::file_size(UserData() / "pref.dat"), Vel::kPlayerFileSize);
}

TEST_F(HandOverTest, ADamagedPlayerFileFallsBackToTheBackupAndThePlayerIsTold)
{
    {
        GameTestApp first;
        first.Init();
        first.StartBoard(); // a first start saves a fresh file
    }
    std::filesystem::copy_file(UserData() / "pref.dat", UserData() / "pref.dat.bak",
                               std::filesystem::copy_options::overwrite_existing);
    std::ofstream(UserData() / "pref.dat", std::ios::binary | std::ios::trunc) << "not a player file";
    GameTestApp app;
    app.Init();
    app.StartBoard();
    ASSERT_NE(app.m_board, nullptr);
    EXPECT_EQ(app.m_board->State(), BoardState::Dialog);
    EXPECT_NE(app.m_board->m_dialogText.find("restored from pref.dat.bak"), std::string::npos)
        << app.m_board->m_dialogText;
    EXPECT_EQ(std::filesystem::file_size(UserData() / "pref.dat"), Vel::kPlayerFileSize);
}

using QuitTest = GameFixture;

TEST_F(QuitTest, ClosingDuringLoadingEndsTheProgram)
{
    GameTestApp app;
    app.Init();
    app.m_null->Inject(QvTest::GameTestApp::Event(Plat::EventType::CloseRequest));
    app.BeginRunning();
    for (int i = 0; i < 4 && !app.ShutdownRequested(); ++i)
        app.UpdateAppStep(nullptr);
    EXPECT_TRUE(app.ShutdownRequested());
}

TEST_F(QuitTest, ClosingOnTheMainMenuAsksAndYesSavesAndQuits)
{
    GameTestApp app;
    app.Init();
    app.StartBoard();
    Vel::Board* board = app.m_board;
    ASSERT_NE(board, nullptr);
    app.m_null->Inject(QvTest::GameTestApp::Event(Plat::EventType::CloseRequest));
    for (int i = 0; i < 4; ++i)
        app.UpdateAppStep(nullptr);
    EXPECT_FALSE(app.ShutdownRequested());
    ASSERT_EQ(board->State(), BoardState::Dialog);
    EXPECT_EQ(board->m_dialogKind, Vel::kDialogQuit);

    // A second close while the question is up stacks another one.
    app.Shutdown();
    EXPECT_EQ(board->m_stateStackCount, 2);

    std::filesystem::remove(UserData() / "pref.dat");
    const Vel::LayoutItem& yes = board->m_buttons[Vel::kLayoutDialog][0];
    app.GetWidgetManager()->MouseMove(yes.left + 1, yes.top + 1);
    app.GetWidgetManager()->MouseDown(yes.left + 1, yes.top + 1, 1);
    app.Ticks(2); // the answer, then the quit check
    EXPECT_EQ(app.m_quits, 1);
    EXPECT_EQ(std::filesystem::file_size(UserData() / "pref.dat"), Vel::kPlayerFileSize);
}

TEST_F(QuitTest, AQuickClickThroughTheWindowOnQuitAsksTheQuestion)
{
    GameTestApp app;
    app.Init();
    app.StartBoard();
    ASSERT_NE(app.m_board, nullptr);
    const Vel::LayoutItem& quit = app.m_board->m_buttons[Vel::kLayoutMainMenu][4];
    // Press and release in one batch of window events, as a tap on a touchpad gives them.
    for (Plat::EventType type : {Plat::EventType::MouseMove, Plat::EventType::MouseDown, Plat::EventType::MouseUp}) {
        Plat::Event e = GameTestApp::Event(type);
        e.x = quit.left + 10;
        e.y = quit.top + 10;
        app.m_null->Inject(e);
    }
    app.UpdateApp();
    app.UpdateApp();
    EXPECT_EQ(app.m_board->State(), BoardState::Dialog);
    EXPECT_EQ(app.m_board->m_dialogKind, Vel::kDialogQuit);
    EXPECT_EQ(app.m_board->m_mouseButton, 0);
}

TEST_F(QuitTest, ATerminationSignalSavesThePlayersWithoutAQuestion)
{
    GameTestApp app;
    app.Init();
    app.StartBoard();
    ASSERT_NE(app.m_board, nullptr);
    Vel::SetName(app.m_board->Profile(), "ANNA");
    std::raise(SIGTERM);
    for (int i = 0; i < 4 && !app.ShutdownRequested(); ++i)
        app.UpdateAppStep(nullptr);
    Plat::ClearTerminationRequest();
    EXPECT_TRUE(app.ShutdownRequested());
    EXPECT_EQ(app.m_board->State(), BoardState::MainMenu);
    const std::vector<char> file = ReadFile(UserData() / "pref.dat");
    ASSERT_EQ(file.size(), Vel::kPlayerFileSize);
    EXPECT_EQ(std::string(&file[Vel::PlayerFileLayout::SlotOffset(0) + Vel::PlayerFileLayout::kName]), "ANNA");
}

TEST_F(QuitTest, FocusChangesHoldAtMostOnePauseAndNeverANegativeOne)
{
    GameTestApp app;
    app.Init();
    app.RunToWaitForClick();
    app.OnAppFocusLost(); // before the Board exists: nothing to pause yet
    app.m_hasFocus = false;
    const Vel::Rect r = app.m_titleScreen->m_continueLink->GetRect();
    app.Click(r.x + 2, r.y + 2);
    Vel::Board* board = app.m_board;
    ASSERT_NE(board, nullptr);
    EXPECT_EQ(board->m_pauseCount, 1); // created while the focus was away
    app.OnAppFocusGained();
    EXPECT_EQ(board->m_pauseCount, 0);
    app.OnAppFocusGained(); // unmatched
    EXPECT_EQ(board->m_pauseCount, 0);
    app.OnAppFocusLost();
    app.OnAppFocusLost();
    EXPECT_EQ(board->m_pauseCount, 1);
    const int before = board->m_updateCount;
    app.Ticks(5);
    EXPECT_EQ(board->m_updateCount, before);
    app.OnAppFocusGained();
    app.Ticks(5);
    EXPECT_EQ(board->m_updateCount, before + 5);
}

} // namespace
