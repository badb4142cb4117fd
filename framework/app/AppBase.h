// The application object: settings, command line, single instance, the window and its messages,
// the widget, resource, sound and music managers, the loading thread, and the fixed-rate main loop
// (100 update ticks a second on average, bounded catch-up, drawing only what is dirty).
#pragma once

#include "framework/app/MessageQueue.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/resources/ResourceHost.h"
#include "framework/widgets/ButtonListener.h"
#include "framework/widgets/DialogListener.h"
#include "framework/widgets/WidgetHost.h"
#include "platform/Backend.h"
#include "platform/InstanceLock.h"
#include "platform/Settings.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace Vel {

class AudioMixer;
class Dialog;
class Font;
class Image;
class MusicInterface;
class ResourceManager;
class SoundManager;
class Widget;
class WidgetManager;

// Exit codes: a normal quit, a second copy and a quit by signal end with 0; anything that ends
// the program because something failed ends with kExitFailure.
constexpr int kExitSuccess = 0;
constexpr int kExitFailure = 1;

class AppBase : public ButtonListener, public DialogListener, public WidgetHost, public ResourceHost {
public:
    AppBase();
    ~AppBase() override;
    AppBase(const AppBase&) = delete;
    AppBase& operator=(const AppBase&) = delete;

    // The one application object, or null.
    static AppBase* Get();

    // Set before Init(): the platform (the null back end when none is given) and the command line
    // (program path first, as JoinCommandLine makes it).
    void SetBackend(std::unique_ptr<Plat::Backend> backend);
    void SetCommandLine(std::string line) { m_commandLine = std::move(line); }
    Plat::Backend& GetBackend() { return *m_backend; }
    Plat::Window* GetWindow() const { return m_window.get(); }

    virtual void Init();
    // Runs the main loop until shutdown; returns when the program should end.
    virtual void Start();
    // Ends the main loop (the request is only recorded when called from another thread).
    virtual void Shutdown();
    // The exit code for the program entry to return.
    int GetExitCode() const { return m_exitCode; }
    // Ends the program at once with `code` after writing the settings back (once); for paths that
    // must not run the ordinary shutdown (the game's confirmed quit, fatal errors).
    [[noreturn]] void EndProgram(int code);

    // The main loop (public so tests can drive it step by step in virtual time).
    virtual bool Process(bool allowSleep);
    virtual void RunUpdateTick();
    virtual bool TryUpdateTick();
    virtual void RunPartialUpdate(double fraction);
    virtual void MainLoop();
    virtual bool UpdateAppStep(bool* updated);
    virtual bool UpdateApp();
    virtual void DrawDirtyStuff();
    virtual void Redraw();
    // Start() is BeginRunning(), MainLoop(), EndRunning(): the loading thread and the lag clock
    // are started before the loop; after it the loader is joined and the settings written.
    void BeginRunning();
    void EndRunning();
    // Restarts lag measurement, forgetting time spent away from the loop (mode changes, drags).
    void ResetLagClock();
    void StartLoadingThread();
    bool IsIdle();

    // Start-up moments for performance measurement: with QUORVANE_TRACE=1 in the environment
    // each moment is one stderr line "QUORVANE_TRACE <moment> <ms since start> ms epoch_ms <ms>"
    // (the wall-clock figure lets a script that noted its own exec time measure from there).
    void TraceMoment(const char* moment);
    bool m_traceMoments = false;

    // Window and screen mode.
    virtual bool MakeWindow();
    virtual void SetScreenMode(bool windowed, bool use3D, bool force);
    virtual void SetScreenMode(bool windowed);
    virtual void SetScreenMode();
    bool IsWindowed() const { return m_windowed; }

    // Cursors.
    void SetCustomCursors(bool on);
    // Index 0..12, one image per cursor kind; anything else is ignored. The image must stay alive
    // while set (null clears it).
    void SetCursorImage(int index, Image* image);
    void SetCursorKind(int kind) override;
    virtual void EnforceCursor();

    // Sound and music.
    virtual void PlaySound(int soundId, int pan);
    virtual void PlaySound(int soundId);
    virtual double GetMasterVolume();
    virtual double GetMusicLevel() { return m_musicLevel; }
    virtual double GetEffectsLevel() { return m_effectsLevel; }
    virtual bool IsMuted() { return m_muteCount > 0; }
    virtual void SetMasterVolume(double volume);
    virtual void SetMusicLevel(double level);
    virtual void SetEffectsLevel(double level);
    // Counted: every Mute needs its Unmute. `automatic` marks mutes the program made (focus,
    // minimising) as opposed to the player's, which alone are saved as "Muted".
    virtual void Mute(bool automatic);
    virtual void Unmute(bool automatic);

    // Resources and messages.
    void LoadManifest();
    virtual void ReportResourceError(bool exit);
    double GetLoadingProgress() const;
    virtual void Popup(const std::string& text) override;
    virtual void BeginPopup();
    virtual void EndPopup();
    std::string GetKeyedText(const std::string& key, const std::string& defaultText) override;
    // Deletes the widget once no update pass is running (it is removed from its parent first).
    void SafeDeleteWidget(Widget* widget) override;

    // Dialogs by id. Opening one under an id already in use closes the old one first; a modal
    // dialog keeps pointer and focus from everything behind it until it is closed.
    virtual Dialog* CreateDialog(int id, bool isModal, const std::string& header, const std::string& lines,
                                 const std::string& footer, int buttonMode);
    virtual Dialog* DoDialog(int id, bool isModal, const std::string& header, const std::string& lines,
                             const std::string& footer, int buttonMode);
    virtual Dialog* GetDialog(int id);
    virtual void AddDialog(int id, Dialog* dialog);
    // Closing is safe from inside the dialog's own button callback: deletion waits for the pass.
    virtual bool KillDialog(int id, bool removeWidget, bool deleteWidget);
    virtual bool KillDialog(int id);
    virtual bool KillDialog(Dialog* dialog);
    virtual int GetDialogCount() const { return int(m_dialogs.size()); }

    // Hosts for the widget and resource layers.
    ImageRegistry* GetImageRegistry() override;
    SoundManager* GetSoundManager() override { return m_soundManager.get(); }

    WidgetManager* GetWidgetManager() const { return m_widgetManager.get(); }
    ResourceManager* GetResourceManager() const { return m_resourceManager.get(); }
    MusicInterface* GetMusicInterface() const { return m_musicInterface.get(); }
    MemoryImage* GetScreenImage() { return &m_screenImage; }
    bool ShutdownRequested() const { return m_shutdownRequested; }
    uint32_t GetRandomSeed() const { return m_randomSeed; }

    // Identity (set by the derived constructor).
    std::string m_productName;
    std::string m_companyName;
    std::string m_productVersion;
    std::string m_registryKey; // empty: no settings file at all

    int m_width = 640;
    int m_height = 480;
    bool m_windowed = true;
    bool m_inWindowedWindow = false;
    bool m_forcedFullScreen = false;
    bool m_fullScreenImpossible = false;
    int m_preferredX = -1;
    int m_preferredY = -1;

    // Loop timing and focus.
    int m_frameTimeMs = 10;
    double m_updateMultiplier = 1.0;
    int m_refreshRate = 100;
    bool m_vsyncUpdates = false;
    bool m_vsyncBroken = false;
    bool m_waitForVSync = false;
    bool m_mouseIn = false;
    bool m_active = true;
    bool m_minimized = false;
    bool m_hasFocus = true;
    int m_updateCount = 0;
    int m_drawCount = 0;
    int m_sleepCount = 0;
    int m_nonDrawUpdateSteps = 0;
    bool m_pendingDraw = false;
    int m_updateState = 0;
    double m_lagMs = 0;
    bool m_firstStepDue = false;
    double m_pendingUpdates = 0;
    uint64_t m_nextDrawTime = 0;
    int m_presentCount = 0;

    double m_musicLevel = 0.85;
    double m_effectsLevel = 0.85;
    int m_muteCount = 0;
    int m_autoMuteCount = 0;
    bool m_muteWhenInactive = true;
    bool m_customCursors = false;
    int m_cursorKind = 0;
    std::array<Image*, 13> m_cursorImages{};
    int m_overrideCursor = -1; // a system cursor kind that wins over the kind's own, or -1
    bool m_lastShutdownClean = true;
    bool m_singleInstance = true;
    bool m_autoEnable3D = false;
    bool m_debugKeysEnabled = false;
    bool m_showFps = false;
    bool m_showPointerCoords = false; // Shift+F3: the counter shows the pointer position instead

    // Loading thread.
    bool m_loadingThreadStarted = false;
    bool m_drawPassDone = false; // the loop has been through its first drawing pass
    bool m_firstFrameTraced = false;
    int m_stillDrawPasses = 0; // drawing passes in a row that drew nothing, with no input
    std::atomic<bool> m_loadingThreadDone{false};
    bool m_loadingDoneHandled = false;
    std::atomic<bool> m_loadingFailed{false};
    std::atomic<int> m_loadingTaskCount{0};
    std::atomic<int> m_loadingTasksDone{0};
    bool m_autoStartLoadingThread = true;
    bool m_yieldToLoader = false;

    std::atomic<bool> m_shutdownRequested{false};
    std::string m_changeDir;
    std::map<std::string, std::string> m_keyedTexts; // the framework's wording; empty = defaults

protected:
    // Hooks, in the order the program reaches them.
    virtual void InitPropertiesHook() {}
    virtual void ReadFromRegistry();
    virtual void WriteToRegistry();
    virtual void ParseCommandLine();
    virtual void SplitCommandLine(const std::string& text);
    // False ends start-up: the option was refused (the program then ends with kExitFailure).
    virtual bool HandleCmdLineParam(const std::string& name, const std::string& value);
    virtual bool ChangeDirHook(const std::string& path)
    {
        (void)path;
        return false;
    }
    // Seeds the program's random generator once at start-up; the game seeds its own here.
    virtual void SeedRandom(uint32_t seed);
    virtual void PreDisplayInit() {}
    virtual void PostInit() {}
    virtual void PreShutdown() {}
    virtual void PostMainLoop() {}
    virtual void LoadingThreadBody() {}
    virtual void OnLoadingDone() {}
    virtual void OnNotifyMessage();
    virtual void OnSecondInstance() {}
    virtual std::unique_ptr<SoundManager> CreateSoundManager();
    virtual std::unique_ptr<MusicInterface> CreateMusicInterface();
    virtual void OnAppFocusGained() {}
    virtual void OnAppFocusLost() {}
    // Debug keys see every key first while enabled; true consumes it.
    virtual bool DebugKeyDown(int key);
    virtual void OnCloseRequest() {}
    // A termination signal arrived: the last chance to save, before the ordinary shutdown runs.
    // Must not open dialogs.
    virtual void OnTerminationRequest() {}

    // Writes the settings back once per run (later calls do nothing).
    void SaveSettingsOnce();
    // Ends start-up with a message and a failure code.
    void FailStartup(const std::string& text, int code);
    bool IsMainThread() const { return std::this_thread::get_id() == m_mainThread; }

    std::unique_ptr<Plat::Backend> m_backend;
    std::unique_ptr<Plat::Window> m_window;
    std::unique_ptr<Plat::AudioDevice> m_audioDevice;
    std::unique_ptr<AudioMixer> m_audioMixer;
    std::unique_ptr<SoundManager> m_soundManager;
    std::unique_ptr<MusicInterface> m_musicInterface;
    std::unique_ptr<ResourceManager> m_resourceManager;
    std::unique_ptr<WidgetManager> m_widgetManager;
    MemoryImage m_screenImage;
    MessageQueue m_messages;
    Plat::InstanceLock m_instanceLock;
    std::unique_ptr<Plat::SettingsFile> m_settings; // null until read, and with no settings key
    std::string m_appDataFolder;                    // the sound cache lives here (ends in "/")
    // Look for the game's data beside the executable when no "-changedir" is given; tests and
    // tools that run from elsewhere switch it off.
    bool m_findDataFolder = true;

private:
    void Terminate(int code);
    void PumpEvents();
    void HandleAtOnce(const Plat::Event& event, bool& queue);
    void HandleMessage(const AppMessage& message);
    void HandleKeyDown(int key);
    void HandleMouse(const Plat::Event& event);
    void EvaluateFocus();
    void SetAutoMute(bool& reason, bool on);
    void ApplyVolumes();
    void ProcessDeletions();
    void DrawFpsCounter(uint32_t* frame);
    uint64_t Now() { return m_backend->GetClock().Ticks(); }

    std::string m_commandLine;
    std::thread::id m_mainThread;
    bool m_initialized = false;
    bool m_commandLineParsed = false;
    bool m_registryRead = false;
    bool m_settingsWritten = false;
    bool m_settingsOwned = false; // this copy holds the single-instance lock (or needs none)
    bool m_running = false;
    std::atomic<bool> m_popupOpen{false};
    bool m_ctrlDown = false;
    bool m_altDown = false;
    bool m_shiftDown = false;
    bool m_displayLost = false;
    bool m_cursorChanged = false;
    bool m_mutedForFocus = false;
    bool m_mutedForMinimize = false;
    int m_buttonsDown = 0; // mouse buttons held in the window, for pointer capture
    int m_exitCode = kExitSuccess;
    std::atomic<bool> m_threadShutdownRequest{false};
    uint32_t m_randomSeed = 0;
    std::thread m_loadingThread;
    std::vector<Widget*> m_pendingDeletes;
    std::map<int, Dialog*> m_dialogs;
    int m_updatePassDepth = 0;
    double m_lastLagTime = 0;
    uint64_t m_lastTimerTick = 0;
    uint64_t m_lastPresentTime = 0;
    uint64_t m_lastDisplayRetry = 0;
    double m_lastPresentMs = 0;
    Image* m_activeCursorImage = nullptr;
    // Frames-per-second counter.
    int m_fpsFrames = 0;
    uint64_t m_fpsStart = 0;
    int m_fpsValue = 0;
    std::unique_ptr<Font> m_fpsFont;
    std::vector<uint32_t> m_presentFrame;
};

} // namespace Vel
