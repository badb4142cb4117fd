#include "TestApp.h"

#include "framework/widgets/Widget.h"
#include "framework/widgets/WidgetManager.h"
#include "platform/Keys.h"
#include "platform/Termination.h"

#include <algorithm>
#include <atomic>
#include <csignal>
#include <thread>

namespace {

using QvTest::AppFixture;
using QvTest::MakeEvent;
using QvTest::TestApp;

using MainLoopTest = AppFixture;

int TicksBetween(const TestApp& app, double fromMs, double toMs)
{
    return int(std::count_if(app.m_tickTimes.begin(), app.m_tickTimes.end(),
                             [&](double t) { return t >= fromMs && t < toMs; }));
}

size_t LongestTickRun(const std::string& trace)
{
    size_t longest = 0, run = 0;
    for (char c : trace) {
        run = c == 'T' ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return longest;
}

// Changes its picture at every tick, as a screen in motion does.
class MovingWidget : public Vel::Widget {
public:
    void Update() override
    {
        Vel::Widget::Update();
        MarkDirty();
    }
};

TEST_F(MainLoopTest, HundredTicksASecondAtAnyRefreshRate)
{
    // At 60 Hz a refresh carries 1.67 updates; above 100 Hz less than one, where stepping by the
    // refresh alone would run 144 ticks a second at 144 Hz.
    for (int hz : {50, 60, 75, 100, 120, 144, 240}) {
        TestApp app;
        app.m_null->m_onMakeWindow = [hz](Plat::NullWindow& w) { w.m_refreshRate = hz; };
        app.Init();
        MovingWidget moving;
        app.GetWidgetManager()->AddWidget(&moving);
        app.RunUntil(3600);
        app.GetWidgetManager()->RemoveWidget(&moving);
        for (double from : {500.0, 1500.0, 2500.0}) {
            const int ticks = TicksBetween(app, from, from + 1000);
            EXPECT_GE(ticks, 99) << hz << " Hz, second from " << from;
            EXPECT_LE(ticks, 101) << hz << " Hz, second from " << from;
        }
    }
}

TEST_F(MainLoopTest, StillScreenWakesTheLoopRarelyButKeepsTheTickRate)
{
    for (int hz : {60, 144}) {
        TestApp app;
        app.m_null->m_onMakeWindow = [hz](Plat::NullWindow& w) { w.m_refreshRate = hz; };
        app.Init();
        app.RunUntil(1000); // half a second without change makes the screen still
        const int sleeps = app.m_sleepCount;
        app.RunUntil(4000);
        EXPECT_LE(app.m_sleepCount - sleeps, 3 * 12) << hz << " Hz";
        // Ticks come in batches on waking: a window of three seconds is off by one batch at most.
        const int ticks = TicksBetween(app, 1000, 4000);
        EXPECT_GE(ticks, 290) << hz << " Hz";
        EXPECT_LE(ticks, 310) << hz << " Hz";
        EXPECT_GT(TicksBetween(app, 3000, 4000), 80) << hz << " Hz";

        // Input ends the stillness at once: the next steps run at the refresh again.
        app.m_null->Inject(MakeEvent(Plat::EventType::MouseMove));
        const int before = app.m_sleepCount;
        app.RunUntil(app.NowMs() + 200);
        EXPECT_GE(app.m_sleepCount - before, 8) << hz << " Hz";
    }
}

TEST_F(MainLoopTest, StallIsCaughtUpByAtMostTwentyTicksInRunsOfAtMostTen)
{
    TestApp app;
    app.Init();
    double stallEnd = 0;
    app.m_onTick = [&] {
        if (stallEnd == 0 && app.NowMs() >= 500) {
            app.Clock().AdvanceMs(1000); // one tick took a whole second
            stallEnd = app.NowMs();
        }
    };
    app.RunUntil(3700);
    ASSERT_GT(stallEnd, 0);
    // Half a second after the stall holds its 50 ticks plus what was caught up: 200 ms worth,
    // not the 1000 ms the stall lasted.
    const int caughtUp = TicksBetween(app, stallEnd, stallEnd + 500) - 50;
    EXPECT_GE(caughtUp, 15);
    EXPECT_LE(caughtUp, 20);
    EXPECT_LE(LongestTickRun(app.m_trace), 10u);
    // Afterwards the rate is back to normal.
    EXPECT_NEAR(TicksBetween(app, stallEnd + 1000, stallEnd + 2000), 100, 1);
}

TEST_F(MainLoopTest, CatchUpIsUnlimitedOnlyUntilTheEndOfLoadingIsHandled)
{
    TestApp app;
    app.m_autoStartLoadingThread = true;
    std::atomic<bool> release{false};
    app.m_loadingBody = [&] {
        while (!release)
            std::this_thread::yield();
    };
    app.Init();
    size_t handledAt = std::string::npos;
    app.m_onTick = [&] {
        if (app.m_updateCount == 1 || app.m_updateCount == 300)
            app.Clock().AdvanceMs(1000);
        if (app.m_updateCount == 100) {
            release = true;
            while (!app.m_loadingThreadDone) // real time: the loader needs a moment to finish
                std::this_thread::yield();
        }
        if (app.m_loadingDoneHandled && handledAt == std::string::npos)
            handledAt = app.m_trace.size();
    };
    EXPECT_DOUBLE_EQ(app.GetLoadingProgress(), 0.0);
    app.RunUntil(6000);
    ASSERT_NE(handledAt, std::string::npos);
    EXPECT_DOUBLE_EQ(app.GetLoadingProgress(), 1.0);
    EXPECT_GE(LongestTickRun(app.m_trace.substr(0, handledAt)), 19u); // the first stall, all in a row
    EXPECT_LE(LongestTickRun(app.m_trace.substr(handledAt)), 10u);   // the second one, in runs
}

TEST_F(MainLoopTest, IdleScreenIsPresentedOnceASecond)
{
    TestApp app;
    app.Init();
    app.RunUntil(200);
    const int before = app.m_presentCount;
    app.RunUntil(3200);
    EXPECT_GE(app.m_presentCount - before, 2);
    EXPECT_LE(app.m_presentCount - before, 4);
}

TEST_F(MainLoopTest, MinimisingMutesAndRestoringUnmutesWithoutTouchingTheLevels)
{
    WriteSettings("MusicVolume=60\nSfxVolume=70\n");
    TestApp app;
    app.Init();
    app.RunUntil(50);
    ASSERT_DOUBLE_EQ(app.m_music->m_volume, 0.6);

    // Minimising usually comes with a focus loss, in either order; restoring with a gain.
    const Plat::EventType away[][2] = {{Plat::EventType::Minimized, Plat::EventType::Deactivated},
                                       {Plat::EventType::Deactivated, Plat::EventType::Minimized}};
    for (const auto& order : away) {
        app.m_null->Inject(MakeEvent(order[0]));
        app.m_null->Inject(MakeEvent(order[1]));
        app.Steps(8);
        EXPECT_EQ(app.m_music->m_volume, 0.0);
        EXPECT_EQ(app.m_sound->m_volume, 0.0);
        EXPECT_FALSE(app.m_hasFocus);
        app.m_null->Inject(MakeEvent(Plat::EventType::Restored));
        app.m_null->Inject(MakeEvent(Plat::EventType::Activated));
        app.Steps(8);
        EXPECT_DOUBLE_EQ(app.m_music->m_volume, 0.6);
        EXPECT_DOUBLE_EQ(app.m_sound->m_volume, 0.7);
        EXPECT_EQ(app.m_muteCount, 0); // no mute left behind
    }
    app.Mute(false);
    app.m_null->Inject(MakeEvent(Plat::EventType::Minimized));
    app.Steps(4);
    app.m_null->Inject(MakeEvent(Plat::EventType::Restored));
    app.Steps(4);
    EXPECT_TRUE(app.IsMuted()); // the player's mute outlives the automatic one
    app.Unmute(false);
    app.Shutdown();
    EXPECT_EQ(Stored("Muted"), 0);
    EXPECT_EQ(Stored("MusicVolume"), 60);
    EXPECT_EQ(Stored("SfxVolume"), 70);
}

TEST_F(MainLoopTest, FocusLossMutesOnlyWhenMutingOnInactivityIsOn)
{
    TestApp app;
    app.Init();
    app.m_muteWhenInactive = false;
    app.m_null->Inject(MakeEvent(Plat::EventType::Deactivated));
    app.Steps(4);
    EXPECT_FALSE(app.m_hasFocus);
    EXPECT_FALSE(app.IsMuted());
    app.m_null->Inject(MakeEvent(Plat::EventType::Activated));
    app.Steps(4);
    EXPECT_TRUE(app.m_hasFocus);
    EXPECT_FALSE(app.IsMuted());
    EXPECT_EQ(app.m_muteCount, 0);
}

TEST_F(MainLoopTest, CloseEndsTheLoopThroughTheApplicationsShutdownAndWritesSettingsOnce)
{
    TestApp app;
    app.Init();
    app.m_onTick = [&] {
        if (app.m_updateCount == 30)
            app.m_null->Inject(MakeEvent(Plat::EventType::CloseRequest));
    };
    app.RunUntil(10'000);
    EXPECT_TRUE(app.ShutdownRequested());
    EXPECT_EQ(app.m_derivedShutdowns, 1);
    EXPECT_TRUE(app.m_null->LastWindow()->m_hidden);
    EXPECT_LT(app.NowMs(), 1000);
    EXPECT_EQ(Stored("InProgress"), 0);
}

TEST_F(MainLoopTest, TerminationSignalEndsLikeAQuitWithoutTheDerivedShutdown)
{
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
        Plat::ClearTerminationRequest();
        TestApp app;
        app.Init();
        app.m_onTick = [&] {
            if (app.m_updateCount == 50)
                std::raise(sig);
        };
        app.RunUntil(10'000);
        EXPECT_TRUE(app.ShutdownRequested()) << sig;
        EXPECT_EQ(app.m_terminationHooks, 1) << sig;
        EXPECT_EQ(app.m_derivedShutdowns, 0) << sig; // the game's would open a quit dialog
        EXPECT_LT(app.NowMs(), 1000) << sig;
        EXPECT_EQ(app.GetExitCode(), 0);
        EXPECT_EQ(Stored("InProgress"), 0) << sig;
    }
    Plat::ClearTerminationRequest();
}

TEST_F(MainLoopTest, ShutdownFromAnotherThreadIsCarriedOutByTheLoop)
{
    TestApp app;
    app.Init();
    app.m_onTick = [&] {
        if (app.m_updateCount == 20)
            std::thread([&] { app.Shutdown(); }).join();
    };
    app.RunUntil(10'000);
    EXPECT_TRUE(app.ShutdownRequested());
    EXPECT_LT(app.NowMs(), 1000);
}

class CountingWidget : public Vel::Widget {
public:
    explicit CountingWidget(int* deleted) : m_deleted(deleted) {}
    ~CountingWidget() override { ++*m_deleted; }
    void Update() override
    {
        Vel::Widget::Update();
        if (m_selfDelete && m_host) {
            m_selfDelete = false;
            m_host->SafeDeleteWidget(this);
            m_deletedDuringUpdate = *m_deleted;
        }
    }
    int* m_deleted;
    bool m_selfDelete = false;
    Vel::AppBase* m_host = nullptr;
    int m_deletedDuringUpdate = -1;
};

TEST_F(MainLoopTest, SafeDeleteWaitsUntilTheUpdatePassIsOver)
{
    TestApp app;
    app.Init();
    int deleted = 0;
    auto* w = new CountingWidget(&deleted);
    w->m_selfDelete = true;
    w->m_host = &app;
    app.GetWidgetManager()->AddWidget(w);
    int seenDuringUpdate = -1;
    app.m_onTick = [&] {
        if (seenDuringUpdate < 0)
            seenDuringUpdate = w->m_deletedDuringUpdate;
    };
    app.RunUntil(100);
    EXPECT_EQ(seenDuringUpdate, 0);
    EXPECT_EQ(deleted, 1);
    EXPECT_TRUE(app.GetWidgetManager()->GetChildren().empty());
}

TEST_F(MainLoopTest, InputReachesTheWidgetsWithWindowsKeyNumbersAndClickCounts)
{
    struct Recorder : Vel::Widget {
        void KeyDown(int key) override { m_log += "K" + std::to_string(key) + " "; }
        void KeyChar(char c) override { m_log += std::string("C") + c + " "; }
        void MouseDown(int x, int y, int count) override
        {
            m_log += "D" + std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(count) + " ";
        }
        std::string m_log;
    } recorder;
    recorder.Resize(100, 100, 200, 200);
    recorder.m_wantsFocus = true;
    TestApp app;
    app.Init();
    app.GetWidgetManager()->AddWidget(&recorder);
    app.GetWidgetManager()->SetFocus(&recorder);
    Plat::Event down = MakeEvent(Plat::EventType::MouseDown);
    down.x = 150;
    down.y = 120;
    down.button = Plat::MouseButton::Right;
    app.m_null->Inject(down);
    Plat::Event twice = down;
    twice.button = Plat::MouseButton::Left;
    twice.clicks = 2;
    app.m_null->Inject(twice);
    app.m_null->Inject(MakeEvent(Plat::EventType::KeyDown, Plat::kKeyF3)); // not a debug key by default
    Plat::Event ch = MakeEvent(Plat::EventType::Char);
    ch.ch = 0xE9; // e acute: Latin-1 passes
    app.m_null->Inject(ch);
    ch.ch = 0x20AC; // euro sign: no single-byte form, dropped
    app.m_null->Inject(ch);
    app.Steps(20);
    EXPECT_EQ(recorder.m_log, "D50,20,-1 D50,20,2 K114 C\xE9 ");
    EXPECT_TRUE(app.m_null->LastWindow()->m_captured);
    app.GetWidgetManager()->RemoveWidget(&recorder);
}

TEST_F(MainLoopTest, FrameCounterAppearsAtTheBottomRightAfterCtrlAltDAndF3)
{
    TestApp app;
    app.Init();
    for (int key : {Plat::kKeyControl, Plat::kKeyAlt, int('D')})
        app.m_null->Inject(MakeEvent(Plat::EventType::KeyDown, key));
    for (int key : {Plat::kKeyControl, Plat::kKeyAlt})
        app.m_null->Inject(MakeEvent(Plat::EventType::KeyUp, key));
    app.m_null->Inject(MakeEvent(Plat::EventType::KeyDown, Plat::kKeyF3));
    app.RunUntil(2500);
    ASSERT_TRUE(app.m_showFps);
    const auto& frame = app.m_null->LastWindow()->m_lastFrame;
    ASSERT_EQ(frame.size(), 800u * 600u);
    int white = 0, black = 0;
    for (int y = 560; y < 590; ++y)
        for (int x = 740; x < 790; ++x) {
            const uint32_t p = frame[size_t(y) * 800 + size_t(x)] & 0xFFFFFF;
            white += p == 0xFFFFFF;
            black += p == 0;
        }
    EXPECT_GT(white, 10); // text
    EXPECT_GT(black, 200); // its box
    EXPECT_EQ(app.GetScreenImage()->GetBits()[599 * 800 + 780] >> 24, 0u); // not drawn into the screen itself
}

} // namespace
