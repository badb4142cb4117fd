#include "TestApp.h"

#include "framework/widgets/Dialog.h"
#include "framework/widgets/DialogButton.h"
#include "framework/widgets/WidgetManager.h"
#include "platform/Keys.h"

#include <filesystem>

namespace {

using QvTest::AppFixture;
using QvTest::MakeEvent;
using QvTest::TestApp;

using AppBaseTest = AppFixture;
using AppBaseDeathTest = AppFixture;

TEST_F(AppBaseTest, VolumesSurviveRunAfterRunAndOutOfRangeValuesAreClamped)
{
    // Percent values whose level x 100 lands just below the whole number (0.29 x 100 =
    // 28.999...) used to lose a percent at every exit.
    const struct {
        const char* stored;
        double level;
        int written;
    } cases[] = {
        {"29", 0.29, 29}, {"57", 0.57, 57}, {"58", 0.58, 58}, {"0", 0.0, 0}, {"100", 1.0, 100},
        {"250", 1.0, 100}, {"-5", 0.0, 0}, {"4294967295", 0.0, 0},
    };
    for (const auto& c : cases) {
        WriteSettings(std::string("MusicVolume=") + c.stored + "\nSfxVolume=" + c.stored + "\n");
        {
            TestApp app;
            app.Init();
            EXPECT_DOUBLE_EQ(app.GetMusicLevel(), c.level) << c.stored;
            EXPECT_DOUBLE_EQ(app.GetEffectsLevel(), c.level) << c.stored;
            app.Shutdown();
        }
        EXPECT_EQ(Stored("MusicVolume"), c.written) << c.stored;
        EXPECT_EQ(Stored("SfxVolume"), c.written) << c.stored;
    }
}

TEST_F(AppBaseTest, DamagedSettingsFileGivesDefaultsForWhatCannotBeReadAndKeepsTheRest)
{
    WriteSettings("MusicVolume=abc\n\x01\x02\xff\nSfxVolume=40\nMuted=7\nIs3D=1\nScreenMode=junk\n");
    {
        TestApp app;
        app.Init();
        EXPECT_DOUBLE_EQ(app.GetMusicLevel(), 0.85);
        EXPECT_DOUBLE_EQ(app.GetEffectsLevel(), 0.40);
        EXPECT_TRUE(app.IsMuted()); // any non-zero "Muted" is one mute by the player
        EXPECT_EQ(app.m_muteCount, 1);
        EXPECT_TRUE(app.IsWindowed());
        app.Shutdown();
    }
    EXPECT_EQ(Stored("Muted"), 1);
    EXPECT_EQ(Stored("Is3D"), 1); // not ours, but not lost either
    EXPECT_EQ(Stored("MusicVolume"), 85);
}

TEST_F(AppBaseTest, InProgressIsSetWhileRunningAndClearedByACleanExit)
{
    WriteSettings("InProgress=1\n"); // the previous run crashed
    {
        TestApp app;
        app.Init();
        EXPECT_FALSE(app.m_lastShutdownClean);
        EXPECT_EQ(Stored("InProgress"), 1);
        app.Shutdown();
        EXPECT_EQ(Stored("InProgress"), 0);
    }
    TestApp next;
    next.Init();
    EXPECT_TRUE(next.m_lastShutdownClean);
}

TEST_F(AppBaseTest, OnlyAPlayerMuteIsSavedAsMuted)
{
    const struct {
        bool playerMute;
        bool autoMute;
        int stored;
    } cases[] = {{false, false, 0}, {false, true, 0}, {true, false, 1}, {true, true, 1}};
    for (const auto& c : cases) {
        WriteSettings("");
        TestApp app;
        app.Init();
        if (c.playerMute)
            app.Mute(false);
        if (c.autoMute)
            app.Mute(true);
        EXPECT_EQ(app.m_music->m_volume, c.playerMute || c.autoMute ? 0.0 : 0.85);
        EXPECT_EQ(app.GetMusicLevel(), 0.85); // the stored level never changes by muting
        app.Shutdown();
        EXPECT_EQ(Stored("Muted"), c.stored) << c.playerMute << c.autoMute;
        EXPECT_EQ(Stored("MusicVolume"), 85);
    }
}

TEST_F(AppBaseTest, UnmuteNeverGoesBelowZeroAndCountsEachMute)
{
    TestApp app;
    app.Init();
    app.Unmute(false);
    EXPECT_EQ(app.m_muteCount, 0);
    app.Mute(false);
    app.Mute(false);
    app.Unmute(false);
    EXPECT_TRUE(app.IsMuted());
    EXPECT_EQ(app.m_sound->m_volume, 0.0);
    app.Unmute(false);
    EXPECT_FALSE(app.IsMuted());
    EXPECT_EQ(app.m_sound->m_volume, 0.85);
}

TEST_F(AppBaseTest, FullScreenSettingStartsFullScreenAndAltEnterTogglesTheSavedMode)
{
    WriteSettings("ScreenMode=1\n");
    TestApp app;
    app.Init();
    Plat::NullWindow* window = app.m_null->LastWindow();
    EXPECT_TRUE(window->IsFullScreen());
    app.m_null->Inject(MakeEvent(Plat::EventType::KeyDown, Plat::kKeyAlt));
    app.m_null->Inject(MakeEvent(Plat::EventType::KeyDown, Plat::kKeyReturn));
    app.Steps(6);
    EXPECT_FALSE(window->IsFullScreen());
    EXPECT_TRUE(app.IsWindowed());
    EXPECT_EQ(app.m_sound->m_rebinds, 1);
    EXPECT_FALSE(app.GetWidgetManager()->IsKeyDown(Plat::kKeyAlt)); // forgotten across the switch
    app.Shutdown();
    EXPECT_EQ(Stored("ScreenMode"), 0);
}

TEST_F(AppBaseTest, WindowTooBigForTheDesktopForcesFullScreenAndAltEnterIsIgnored)
{
    TestApp app;
    app.m_null->m_onMakeWindow = [](Plat::NullWindow& w) {
        w.m_desktopWidth = 800;
        w.m_desktopHeight = 600;
    };
    app.Init();
    EXPECT_TRUE(app.m_forcedFullScreen);
    EXPECT_TRUE(app.m_null->LastWindow()->IsFullScreen());
    app.SetScreenMode(true);
    EXPECT_TRUE(app.m_null->LastWindow()->IsFullScreen());
}

TEST_F(AppBaseTest, ChangeDirOptionChangesTheWorkingFolderAndSubsystemOptionsAreAccepted)
{
    const auto before = std::filesystem::current_path();
    const auto target = m_home / "data dir";
    std::filesystem::create_directories(target);
    TestApp app;
    app.SetCommandLine("quorvane -crash -play=1.dmo \"-changedir=" + target.string() + "\"");
    app.Init();
    EXPECT_FALSE(app.ShutdownRequested());
    EXPECT_EQ(std::filesystem::current_path(), target);
    std::filesystem::current_path(before);
}

TEST_F(AppBaseDeathTest, UnknownOptionIsRefusedWithItsNameAndAFailureCode)
{
    EXPECT_EXIT(
        {
            TestApp app;
            app.m_null->m_echoMessages = true;
            app.SetCommandLine("quorvane -changedir=. -bogus=1");
            app.Init();
        },
        ::testing::ExitedWithCode(Vel::kExitFailure), "Invalid command line parameter: -bogus\n");
}

TEST_F(AppBaseDeathTest, MissingChangeDirFolderIsAnErrorNotIgnored)
{
    EXPECT_EXIT(
        {
            TestApp app;
            app.m_null->m_echoMessages = true;
            app.SetCommandLine("quorvane -changedir=/no/such/folder");
            app.Init();
        },
        ::testing::ExitedWithCode(Vel::kExitFailure), "/no/such/folder");
}

TEST_F(AppBaseDeathTest, SecondCopyEndsQuietlyWithSuccessAndLeavesTheSettingsAlone)
{
    WriteSettings("MusicVolume=33\n");
    TestApp first;
    first.Init();
    first.SetMusicLevel(0.5); // not yet written: the first copy writes at its exit
    EXPECT_EXIT(
        {
            TestApp second;
            second.Init();
            second.Shutdown();
            std::_Exit(99); // never reached
        },
        ::testing::ExitedWithCode(0), "^$");
    EXPECT_EQ(Stored("MusicVolume"), 33);
    EXPECT_EQ(Stored("InProgress"), 1);
    first.Shutdown();
    EXPECT_EQ(Stored("MusicVolume"), 50);
}

TEST_F(AppBaseDeathTest, ForcedFullScreenThatFailsEndsWithAnErrorInsteadOfRunningWithoutADisplay)
{
    EXPECT_EXIT(
        {
            TestApp app;
            app.m_null->m_echoMessages = true;
            app.m_null->m_onMakeWindow = [](Plat::NullWindow& w) {
                w.m_desktopWidth = 640; // too small for the window, so full screen is forced
                w.m_desktopHeight = 480;
                w.m_failFullScreen = true;
            };
            app.Init();
            app.Shutdown();
            std::_Exit(0);
        },
        ::testing::ExitedWithCode(Vel::kExitFailure), "full screen is not available");
}

TEST_F(AppBaseTest, CursorKindsAndImagesOutsideTheirTablesAreIgnored)
{
    TestApp app;
    app.Init();
    app.SetCursorKind(Plat::kCursorText);
    for (int bad : {-1, 13, 1000, -1000}) {
        app.SetCursorKind(bad);
        app.SetCursorImage(bad, app.GetScreenImage());
    }
    EXPECT_EQ(app.m_cursorKind, Plat::kCursorText);
    for (Vel::Image* image : app.m_cursorImages)
        EXPECT_EQ(image, nullptr);
}

TEST_F(AppBaseTest, ImageCursorIsDrawnOnlyWhenCustomCursorsAreOnOrForKindTwelve)
{
    TestApp app;
    app.Init();
    Vel::MemoryImage arrow, special;
    ASSERT_TRUE(arrow.Create(8, 8));
    ASSERT_TRUE(special.Create(8, 8));
    app.SetCursorImage(Plat::kCursorArrow, &arrow);
    app.SetCursorImage(Plat::kCursorNoneToo, &special);
    Plat::Event move = MakeEvent(Plat::EventType::MouseMove);
    move.x = 10;
    move.y = 10;
    app.m_null->Inject(move);
    app.Steps(4);
    Plat::NullWindow* window = app.m_null->LastWindow();
    const struct {
        bool custom;
        int kind;
        bool image;
        int systemCursor;
    } cases[] = {
        {false, Plat::kCursorArrow, false, Plat::kCursorArrow},
        {true, Plat::kCursorArrow, true, Plat::kCursorArrow},
        {true, Plat::kCursorText, false, Plat::kCursorText}, // no image for that kind
        {false, Plat::kCursorNoneToo, true, Plat::kCursorText},
    };
    for (const auto& c : cases) {
        app.SetCustomCursors(c.custom);
        app.SetCursorKind(c.kind);
        EXPECT_EQ(window->m_hasCursorImage, c.image) << c.custom << " " << c.kind;
        if (!c.image) {
            EXPECT_EQ(window->m_systemCursor, c.systemCursor) << c.custom << " " << c.kind;
        }
    }
    // Outside the window the plain arrow is used whatever is set.
    app.SetCustomCursors(true);
    app.SetCursorKind(Plat::kCursorArrow);
    window->m_pointerInside = false;
    app.Clock().AdvanceMs(20);
    app.Steps(4);
    EXPECT_FALSE(window->m_hasCursorImage);
    EXPECT_EQ(window->m_systemCursor, Plat::kCursorArrow);
}

TEST_F(AppBaseTest, EachRunSeedsTheGeneratorOnceWithItsOwnSeed)
{
    struct SeedApp : TestApp {
        void SeedRandom(uint32_t seed) override { m_seeds.push_back(seed); }
        std::vector<uint32_t> m_seeds;
    };
    uint32_t first = 0;
    {
        SeedApp app;
        app.Init();
        ASSERT_EQ(app.m_seeds.size(), 1u);
        first = app.m_seeds[0];
    }
    SeedApp again;
    again.Init();
    ASSERT_EQ(again.m_seeds.size(), 1u);
    EXPECT_NE(again.m_seeds[0], first);
}

TEST_F(AppBaseTest, ModalDialogShieldsTheScreenAndCanCloseItselfFromItsButton)
{
    struct DialogApp : TestApp {
        void OnDialogButtonClick(int dialogId, int result) override
        {
            m_results.push_back(result);
            KillDialog(dialogId); // from inside the dialog's own callback
        }
        std::vector<int> m_results;
    } app;
    struct Below : Vel::Widget {
        void MouseDown(int, int, int) override { ++m_downs; }
        int m_downs = 0;
    } below;
    app.Init();
    below.Resize(0, 0, 800, 600);
    app.GetWidgetManager()->AddWidget(&below);

    app.DoDialog(7, true, "Header", "Some lines", "", Vel::Dialog::kButtonsYesNo);
    Vel::Dialog* dialog = app.DoDialog(7, true, "Again", "Replaces the first", "", Vel::Dialog::kButtonsYesNo);
    EXPECT_EQ(app.GetDialogCount(), 1);
    EXPECT_EQ(app.GetDialog(7), dialog);

    auto click = [&](int x, int y) {
        for (Plat::EventType type : {Plat::EventType::MouseDown, Plat::EventType::MouseUp}) {
            Plat::Event e = MakeEvent(type);
            e.x = x;
            e.y = y;
            app.m_null->Inject(e);
        }
        app.RunUntil(app.NowMs() + 50);
    };
    click(5, 5); // outside the dialog, on the widget behind it
    EXPECT_EQ(below.m_downs, 0);

    ASSERT_TRUE(dialog->m_yesButton);
    const Vel::Widget& yes = *dialog->m_yesButton;
    click(dialog->m_x + yes.m_x + yes.m_width / 2, dialog->m_y + yes.m_y + yes.m_height / 2);
    EXPECT_EQ(app.m_results, std::vector<int>{Vel::Dialog::kIdYes});
    EXPECT_EQ(app.GetDialogCount(), 0);
    click(5, 5);
    EXPECT_EQ(below.m_downs, 1);
    app.GetWidgetManager()->RemoveWidget(&below);
}

TEST_F(AppBaseTest, RememberedWindowPositionIsKeptOnTheDesktopAndWrittenBack)
{
    // The null desktop is 1920 x 1080; the window must stay 4 pixels inside it.
    const struct {
        const char* stored;
        int x, y;
    } cases[] = {
        {"PreferredX=30\nPreferredY=40\n", 30, 40},
        {"PreferredX=-5000\nPreferredY=99999\n", 4, 1080 - 600 - 4},
        {"", (1920 - 800) / 2, int((1080 - 600) * 0.382)}, // none: centred, a little above the middle
    };
    for (const auto& c : cases) {
        WriteSettings(c.stored);
        TestApp app;
        app.Init();
        EXPECT_EQ(app.m_null->LastWindow()->m_spec.x, c.x) << c.stored;
        EXPECT_EQ(app.m_null->LastWindow()->m_spec.y, c.y) << c.stored;
        app.Shutdown();
        EXPECT_EQ(Stored("PreferredX"), c.x) << c.stored;
        EXPECT_EQ(Stored("PreferredY"), c.y) << c.stored;
    }
}

} // namespace
