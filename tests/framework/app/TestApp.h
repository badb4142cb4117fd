// A headless application for the application and loop tests: the null back end with its virtual
// clock, recording sound and music stand-ins, private per-user folders, and a trace of ticks and
// draws.
#pragma once

#include "framework/app/AppBase.h"
#include "framework/sound/MusicInterface.h"
#include "framework/sound/SoundManager.h"
#include "platform/null/NullBackend.h"
#include "platform/Settings.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

namespace QvTest {

class RecordingSound : public Vel::SoundManager {
public:
    double m_volume = -1; // last level the application applied
    bool IsInitialized() override { return false; }
    int LoadSound(const std::string&) override { return -1; }
    bool LoadSound(int, const std::string&) override { return false; }
    void ReleaseSound(int) override {}
    void SetVolume(double volume) override { m_volume = volume; }
    bool SetBaseVolume(int, double) override { return false; }
    bool SetBasePan(int, int) override { return false; }
    Vel::SoundInstance* CreateInstance(int) override { return nullptr; }
    void ReleaseSounds() override {}
    void ReleaseChannels() override {}
    double GetMasterVolume() override { return 1.0; }
    void SetMasterVolume(double) override {}
    void Flush() override {}
    void SetCooperativeWindow(Plat::Window*, bool) override { ++m_rebinds; }
    void StopAllSounds() override {}
    int GetFreeSoundId() override { return 0; }
    int GetNumSounds() override { return Vel::kMaxSounds; }
    int m_rebinds = 0;
};

class RecordingMusic : public Vel::MusicInterface {
public:
    double m_volume = -1;
    void SetVolume(double volume) override { m_volume = volume; }
};

class TestApp : public Vel::AppBase {
public:
    TestApp()
    {
        auto backend = std::make_unique<Plat::NullBackend>();
        backend->m_echoMessages = false;
        m_null = backend.get();
        SetBackend(std::move(backend));
        m_productName = "quorvane";
        m_registryKey = "Velmora\\Quorvane";
        m_width = 800;
        m_height = 600;
        m_findDataFolder = false;
        m_autoStartLoadingThread = false;
        m_vsyncUpdates = true; // the game's timing: one step per refresh
        m_vsyncBroken = true;
        SetCommandLine("quorvane");
    }

    Plat::VirtualClock& Clock() { return m_null->Virtual(); }
    double NowMs() { return double(Clock().Counter()) / 1000.0; }

    // Runs the loop until virtual time `ms` (or a shutdown); the first call starts it.
    void RunUntil(double ms)
    {
        if (!m_started) {
            m_started = true;
            BeginRunning();
        }
        while (!ShutdownRequested() && NowMs() < ms)
            UpdateApp();
    }
    // A few loop steps, for handling injected messages.
    void Steps(int n)
    {
        for (int i = 0; i < n; ++i)
            UpdateAppStep(nullptr);
    }

    std::unique_ptr<Vel::SoundManager> CreateSoundManager() override
    {
        auto s = std::make_unique<RecordingSound>();
        m_sound = s.get();
        return s;
    }
    std::unique_ptr<Vel::MusicInterface> CreateMusicInterface() override
    {
        auto m = std::make_unique<RecordingMusic>();
        m_music = m.get();
        return m;
    }
    void RunUpdateTick() override
    {
        AppBase::RunUpdateTick();
        m_trace += 'T';
        m_tickTimes.push_back(NowMs());
        if (m_onTick)
            m_onTick();
    }
    void DrawDirtyStuff() override
    {
        AppBase::DrawDirtyStuff();
        m_trace += 'D';
    }
    void Shutdown() override
    {
        ++m_derivedShutdowns;
        AppBase::Shutdown();
    }
    void OnTerminationRequest() override { ++m_terminationHooks; }
    void LoadingThreadBody() override
    {
        if (m_loadingBody)
            m_loadingBody();
    }
    std::function<void()> m_loadingBody;

    Plat::NullBackend* m_null = nullptr;
    RecordingSound* m_sound = nullptr;
    RecordingMusic* m_music = nullptr;
    std::string m_trace;
    std::vector<double> m_tickTimes;
    std::function<void()> m_onTick;
    bool m_started = false;
    int m_derivedShutdowns = 0;
    int m_terminationHooks = 0;
    using AppBase::m_settings;
};

// Private per-user folders for each test, so settings and the instance lock never leak.
class AppFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_home = std::filesystem::temp_directory_path()
               / ("qv-app-" + std::to_string(::getpid()) + "-" + info->name());
        std::filesystem::remove_all(m_home);
        std::filesystem::create_directories(m_home);
        for (const char* var : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"})
            ::setenv(var, m_home.c_str(), 1);
        ::unsetenv("QUORVANE_HOME");
    }
    void TearDown() override { std::filesystem::remove_all(m_home); }

    void WriteSettings(const std::string& text)
    {
        std::filesystem::create_directories(std::filesystem::path(Plat::SettingsPath()).parent_path());
        std::ofstream(Plat::SettingsPath(), std::ios::binary) << text;
    }
    // A stored value, or -1000 when absent.
    int64_t Stored(const char* name)
    {
        Plat::SettingsFile f(Plat::SettingsPath());
        uint32_t v = 0;
        if (!f.Load() || !f.Get(name, v))
            return -1000;
        return int32_t(v);
    }

    std::filesystem::path m_home;
};

inline Plat::Event MakeEvent(Plat::EventType type, int key = 0)
{
    Plat::Event e;
    e.type = type;
    e.key = key;
    return e;
}

} // namespace QvTest
