// The real game run headless: the null back end with its virtual clock, the generated game data
// of this build, and private per-user folders for every test.
#pragma once

#include "framework/graphics/ImageWriter.h"
#include "framework/widgets/HyperlinkWidget.h"
#include "framework/widgets/WidgetManager.h"
#include "game/board/Board.h"
#include "game/shell/GameApp.h"
#include "game/shell/TitleScreen.h"
#include "platform/null/NullBackend.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace QvTest {

class GameTestApp : public Vel::GameApp {
public:
    GameTestApp()
    {
        auto backend = std::make_unique<Plat::NullBackend>();
        backend->m_echoMessages = false;
        m_null = backend.get();
        SetBackend(std::move(backend));
        SetCommandLine("quorvane");
        m_findDataFolder = false; // the fixture has chosen the data folder
        m_autoStartLoadingThread = false;
    }

    // After Init: the loading thread's work on this thread, then the loop's start, so the first
    // tick hands the finished loading over as the real loop does.
    void LoadEverything()
    {
        LoadingThreadBody();
        BeginRunning();
    }
    void Ticks(int n)
    {
        for (int i = 0; i < n; ++i)
            ASSERT_TRUE(TryUpdateTick());
    }
    // Loads, then ticks until the title waits for its click.
    void RunToWaitForClick()
    {
        LoadEverything();
        for (int i = 0; i < 1000 && m_titleScreen->m_phase != Vel::TitlePhase::WaitForClick; ++i)
            Ticks(1);
        Ticks(1);
    }
    void Click(int x, int y)
    {
        Vel::WidgetManager* wm = GetWidgetManager();
        wm->MouseMove(x, y);
        wm->MouseDown(x, y, 1);
        wm->MouseUp(x, y, 1);
    }
    // Through the title screen's link onto the main menu.
    void StartBoard()
    {
        RunToWaitForClick();
        const Vel::Rect r = m_titleScreen->m_continueLink->GetRect();
        Click(r.x + r.width / 2, r.y + r.height / 2);
    }

    static Plat::Event Event(Plat::EventType type)
    {
        Plat::Event e;
        e.type = type;
        return e;
    }

    // A failed test leaves the screen it ended on, for a person to look at.
    ~GameTestApp() override
    {
        if (!::testing::Test::HasFailure() || !GetWidgetManager())
            return;
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        const std::filesystem::path dir = std::filesystem::path(QV_BUILD_DIR) / "test-failures";
        std::filesystem::create_directories(dir);
        const std::string path = (dir / (std::string(info->test_suite_name()) + "." + info->name() + ".png")).string();
        GetWidgetManager()->MarkAllDirty();
        GetWidgetManager()->DrawScreen();
        if (Vel::SavePng(*GetScreenImage(), path))
            std::fprintf(stderr, "screen saved as %s\n", path.c_str());
    }

    void QuitNow() override { ++m_quits; }
    void PlaySound(int soundId) override
    {
        m_played.push_back(soundId);
        GameApp::PlaySound(soundId);
    }
    using GameApp::LoadingThreadBody;
    using GameApp::OnAppFocusGained;
    using GameApp::OnAppFocusLost;

    Plat::NullBackend* m_null = nullptr;
    int m_quits = 0;
    std::vector<int> m_played;
};

// Each test gets its own user folders and runs in the folder that holds the generated data.
class GameFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_home = std::filesystem::temp_directory_path()
               / ("qv-game-" + std::to_string(::getpid()) + "-" + info->test_suite_name() + "-" + info->name());
        std::filesystem::remove_all(m_home);
        std::filesystem::create_directories(m_home);
        for (const char* var : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"})
            ::setenv(var, m_home.c_str(), 1);
        ::setenv("QUORVANE_HOME", (m_home / "home").c_str(), 1);
        m_oldDir = std::filesystem::current_path();
        const std::filesystem::path data = std::filesystem::path(QV_BUILD_DIR) / "gamedata";
        ASSERT_TRUE(std::filesystem::is_directory(data / "properties")) << "build the gamedata target first";
        std::filesystem::current_path(data);
    }
    void TearDown() override
    {
        std::filesystem::current_path(m_oldDir);
        std::filesystem::remove_all(m_home);
    }
    std::filesystem::path UserData() const { return m_home / "home" / "userdata"; }

    std::filesystem::path m_home;
    std::filesystem::path m_oldDir;
};

} // namespace QvTest
