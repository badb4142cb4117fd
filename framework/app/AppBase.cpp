// The application object: start-up, settings, window and screen mode, sound levels and muting,
// cursors, popups and the loading thread. The main loop and message handling are in MainLoop.cpp.
#include "framework/app/AppBase.h"

#include "framework/app/CommandLine.h"
#include "framework/archive/PakInterface.h"
#include "framework/fonts/Font.h"
#include "framework/graphics/ImageRegistry.h"
#include "framework/resources/ResourceManager.h"
#include "framework/sound/AudioMixer.h"
#include "framework/sound/DSoundManager.h"
#include "framework/sound/MusicInterface.h"
#include "framework/sound/SoundInstance.h"
#include "framework/sound/SoundManager.h"
#include "framework/sound/StreamMusicInterface.h"
#include "framework/widgets/Dialog.h"
#include "framework/widgets/Widget.h"
#include "framework/widgets/WidgetManager.h"
#include "platform/Files.h"
#include "platform/Termination.h"
#include "platform/null/NullBackend.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <unistd.h>

namespace Vel {
namespace {

AppBase* g_app = nullptr;

// As close to the exec as static initialisation gets; the trace measures from here.
const std::chrono::steady_clock::time_point g_processStart = std::chrono::steady_clock::now();

// Settings values are 32-bit; signed ones (positions, levels) are stored as their bit pattern.
int32_t AsSigned(uint32_t v) { return int32_t(v); }

uint32_t Percent(double level) { return uint32_t(std::lround(std::clamp(level, 0.0, 1.0) * 100.0)); }

} // namespace

AppBase::AppBase()
{
    m_mainThread = std::this_thread::get_id();
    if (!g_app)
        g_app = this;
    const char* trace = std::getenv("QUORVANE_TRACE");
    m_traceMoments = trace && std::strcmp(trace, "1") == 0;
}

void AppBase::TraceMoment(const char* moment)
{
    if (!m_traceMoments)
        return;
    using namespace std::chrono;
    const double sinceStart = duration<double, std::milli>(steady_clock::now() - g_processStart).count();
    const double epoch = duration<double, std::milli>(system_clock::now().time_since_epoch()).count();
    std::fprintf(stderr, "QUORVANE_TRACE %s %.1f ms epoch_ms %.1f\n", moment, sinceStart, epoch);
    std::fflush(stderr);
}

AppBase::~AppBase()
{
    if (m_loadingThread.joinable())
        m_loadingThread.join();
    while (!m_dialogs.empty())
        KillDialog(m_dialogs.begin()->first, true, true);
    ProcessDeletions();
    // Widgets first (they may hold fonts and images of the resource manager), then resources,
    // then sound before the device it plays into, and the window last.
    m_widgetManager.reset();
    m_resourceManager.reset();
    m_musicInterface.reset();
    m_soundManager.reset();
    m_audioMixer.reset();
    m_audioDevice.reset();
    m_fpsFont.reset();
    m_window.reset();
    if (g_app == this)
        g_app = nullptr;
}

AppBase* AppBase::Get() { return g_app; }

void AppBase::SetBackend(std::unique_ptr<Plat::Backend> backend) { m_backend = std::move(backend); }

ImageRegistry* AppBase::GetImageRegistry() { return &ImageRegistry::Global(); }

// ---- Start-up ----

void AppBase::Init()
{
    m_mainThread = std::this_thread::get_id();
    if (m_initialized || m_shutdownRequested)
        return;
    if (!m_backend)
        m_backend = std::make_unique<Plat::NullBackend>();
    Plat::InstallTerminationHandlers();

    InitPropertiesHook();
    m_registryKey = GetKeyedText("RegistryKey", m_registryKey);
    ReadFromRegistry();

    m_appDataFolder = Plat::CacheDir() + "/";
    Plat::MakeDirs(Plat::CacheDir());
    Plat::MakeDirs(Plat::UserDataDir());

    ParseCommandLine();

    if (!ChangeDirHook(m_changeDir)) {
        namespace fs = std::filesystem;
        if (!m_changeDir.empty()) {
            if (::chdir(m_changeDir.c_str()) != 0)
                FailStartup("Cannot change to the folder " + m_changeDir + ": " + std::strerror(errno),
                            kExitFailure);
        } else if (m_findDataFolder) {
            // Run from the folder that holds the data, so the game starts from anywhere.
            std::error_code ec;
            const fs::path exeDir = fs::read_symlink("/proc/self/exe", ec).parent_path();
            for (const fs::path& dir : {exeDir, exeDir / ".." / "share" / "quorvane"})
                if (!ec && (fs::exists(dir / "main.pak", ec) || fs::is_directory(dir / "properties", ec))) {
                    fs::current_path(dir, ec);
                    break;
                }
        }
    }

    PakInterface::Instance().RegisterArchive("main.pak"); // a missing archive is not an error

    if (m_singleInstance && !m_productName.empty()) {
        const std::string lockPath = Plat::InstanceLockPath(m_productName);
        switch (m_instanceLock.Acquire(lockPath)) {
        case Plat::InstanceLock::Result::HeldByOther:
            Plat::InstanceLock::NotifyHolder(lockPath);
            OnSecondInstance();
            EndProgram(kExitSuccess); // quietly: the running copy owns the settings
        case Plat::InstanceLock::Result::Failed:
            std::fprintf(stderr, "%s: cannot use the single-instance lock %s; going on without it\n",
                         m_productName.c_str(), lockPath.c_str());
            break;
        case Plat::InstanceLock::Result::Acquired:
            break;
        }
    }
    m_settingsOwned = true;
    if (m_settings) {
        // Cleared again at a clean exit; found set at the next start, it tells of a crash.
        m_settings->Set("InProgress", 1);
        m_settings->Save();
    }

    // Time since boot, not since our own start, so two runs get different seeds.
    m_randomSeed = uint32_t(std::chrono::duration_cast<std::chrono::milliseconds>(
                                std::chrono::steady_clock::now().time_since_epoch())
                                .count())
                 ^ uint32_t(std::chrono::system_clock::now().time_since_epoch().count());
    SeedRandom(m_randomSeed);

    PreDisplayInit();
    m_screenImage.Create(m_width, m_height);
    m_widgetManager = std::make_unique<WidgetManager>(this);
    m_widgetManager->m_x = 0;
    m_widgetManager->m_y = 0;
    m_widgetManager->m_width = m_width;
    m_widgetManager->m_height = m_height;

    m_window = m_backend->MakeWindow();
    int desktopW = 0, desktopH = 0;
    m_window->GetDesktopSize(desktopW, desktopH);
    if (m_windowed && desktopW > 0 && desktopH > 0 && (m_width >= desktopW || m_height >= desktopH)) {
        m_windowed = false;
        m_forcedFullScreen = true;
    }
    MakeWindow();

    m_audioDevice = m_backend->MakeAudioDevice();
    if (m_audioDevice)
        m_audioMixer = std::make_unique<AudioMixer>(*m_audioDevice);
    m_soundManager = CreateSoundManager();
    SetEffectsLevel(m_effectsLevel);
    m_musicInterface = CreateMusicInterface();
    if (!m_musicInterface)
        m_musicInterface = std::make_unique<MusicInterface>();
    SetMusicLevel(m_musicLevel);
    m_resourceManager = std::make_unique<ResourceManager>(this, m_soundManager.get());

    PostInit();
    m_initialized = true;
}

void AppBase::SeedRandom(uint32_t seed) { std::srand(seed); }

std::unique_ptr<SoundManager> AppBase::CreateSoundManager()
{
    return std::make_unique<DSoundManager>(m_audioMixer.get(), m_appDataFolder);
}

std::unique_ptr<MusicInterface> AppBase::CreateMusicInterface()
{
    return std::make_unique<StreamMusicInterface>(m_audioMixer.get());
}

void AppBase::ParseCommandLine()
{
    // Once: the options may change the working directory.
    if (m_commandLineParsed)
        return;
    m_commandLineParsed = true;
    SplitCommandLine(m_commandLine);
}

void AppBase::SplitCommandLine(const std::string& text)
{
    for (const CommandLineParam& p : Vel::SplitCommandLine(text))
        if (!HandleCmdLineParam(p.name, p.value)) {
            FailStartup(GetKeyedText("INVALID_COMMANDLINE_PARAM", "Invalid command line parameter: ") + p.name,
                        kExitFailure);
            return;
        }
}

bool AppBase::HandleCmdLineParam(const std::string& name, const std::string& value)
{
    if (name == "-changedir") {
        m_changeDir = value;
        return true;
    }
    // Demo recording and playback, the screensaver mode and the crash test belong to tools this
    // program does not have; the options are accepted so old launchers keep working.
    static const char* const kAccepted[] = {"-screensaver", "-play", "-playnum", "-recnum",
                                            "-record",      "-demofile", "-crash"};
    return std::any_of(std::begin(kAccepted), std::end(kAccepted), [&](const char* o) { return name == o; });
}

void AppBase::FailStartup(const std::string& text, int code)
{
    Popup(text);
    EndProgram(code);
}

void AppBase::EndProgram(int code)
{
    SaveSettingsOnce();
    m_instanceLock.Release();
    std::fflush(stdout);
    std::fflush(stderr);
    // Threads may still run (the loader); static destructors must not race them.
    std::_Exit(code);
}

// ---- Settings ----

void AppBase::ReadFromRegistry()
{
    if (m_registryKey.empty())
        return;
    m_settings = std::make_unique<Plat::SettingsFile>(Plat::SettingsPath());
    m_settings->Load(); // a missing or damaged file leaves the defaults
    m_registryRead = true;

    uint32_t v = 0;
    if (m_settings->Get("MusicVolume", v))
        m_musicLevel = std::clamp(AsSigned(v) / 100.0, 0.0, 1.0);
    if (m_settings->Get("SfxVolume", v))
        m_effectsLevel = std::clamp(AsSigned(v) / 100.0, 0.0, 1.0);
    if (m_settings->Get("Muted", v))
        m_muteCount = v != 0 ? 1 : 0;
    if (m_settings->Get("ScreenMode", v))
        m_windowed = v == 0;
    if (m_settings->Get("PreferredX", v))
        m_preferredX = AsSigned(v);
    if (m_settings->Get("PreferredY", v))
        m_preferredY = AsSigned(v);
    if (m_settings->Get("CustomCursors", v))
        SetCustomCursors(v != 0);
    if (m_settings->Get("WaitForVSync", v))
        m_waitForVSync = v != 0;
    if (m_settings->Get("InProgress", v))
        m_lastShutdownClean = v == 0;
}

void AppBase::WriteToRegistry()
{
    if (!m_settings)
        return;
    if (m_window && m_windowed) {
        int x = 0, y = 0;
        if (m_window->GetPosition(x, y)) {
            m_preferredX = x;
            m_preferredY = y;
        }
    }
    m_settings->Set("MusicVolume", Percent(m_musicLevel));
    m_settings->Set("SfxVolume", Percent(m_effectsLevel));
    m_settings->Set("Muted", m_muteCount - m_autoMuteCount > 0 ? 1 : 0);
    m_settings->Set("ScreenMode", m_windowed ? 0 : 1);
    m_settings->Set("PreferredX", uint32_t(m_preferredX));
    m_settings->Set("PreferredY", uint32_t(m_preferredY));
    m_settings->Set("CustomCursors", m_customCursors ? 1 : 0);
    m_settings->Set("WaitForVSync", m_waitForVSync ? 1 : 0);
    m_settings->Set("InProgress", 0);
    const Plat::WriteResult r = m_settings->Save();
    if (!r.ok)
        std::fprintf(stderr, "%s: settings not saved: %s\n", m_productName.c_str(), r.error.c_str());
}

void AppBase::SaveSettingsOnce()
{
    if (!m_registryRead || m_settingsWritten || !m_settingsOwned)
        return;
    m_settingsWritten = true;
    WriteToRegistry();
}

// ---- Shutdown ----

void AppBase::Shutdown()
{
    if (!IsMainThread()) {
        m_threadShutdownRequest = true;
        return;
    }
    if (m_shutdownRequested)
        return;
    m_shutdownRequested = true;
    PreShutdown();
    if (m_musicInterface)
        m_musicInterface->StopAllMusic();
    SaveSettingsOnce(); // before hiding: the window's position is still known
    if (m_window)
        m_window->Hide();
}

// ---- Window and screen mode ----

bool AppBase::MakeWindow()
{
    if (!m_window)
        m_window = m_backend->MakeWindow();
    for (;;) {
        Plat::WindowOptions options;
        options.title = m_productName;
        options.width = m_width;
        options.height = m_height;
        options.fullScreen = !m_windowed;
        if (m_windowed) {
            int dw = 0, dh = 0;
            m_window->GetDesktopSize(dw, dh);
            if (m_preferredX != -1 || m_preferredY != -1) {
                // Keep the whole window 4 pixels inside the desktop.
                options.x = std::clamp(m_preferredX, 4, std::max(4, dw - m_width - 4));
                options.y = std::clamp(m_preferredY, 4, std::max(4, dh - m_height - 4));
            } else if (dw > 0 && dh > 0) {
                options.x = std::max(0, (dw - m_width) / 2);
                options.y = std::max(0, int((dh - m_height) * 0.382));
            }
        }
        std::string error;
        if (m_window->Open(options, error)) {
            m_inWindowedWindow = m_windowed;
            break;
        }
        if (m_windowed) {
            if (m_fullScreenImpossible)
                FailStartup(GetKeyedText("FAILED_INIT_DIRECTDRAW", "Failed to initialize DirectDraw: ") + error,
                            kExitFailure);
            m_forcedFullScreen = true;
            m_windowed = false;
        } else {
            // A full screen we were forced into has no window to fall back to.
            if (m_forcedFullScreen)
                FailStartup(GetKeyedText("FAILED_INIT_DIRECTDRAW", "Failed to initialize DirectDraw: ") + error,
                            kExitFailure);
            m_fullScreenImpossible = true;
            m_windowed = true;
        }
    }

    m_active = true;
    if (m_minimized) {
        m_minimized = false;
        SetAutoMute(m_mutedForMinimize, false);
    }
    EvaluateFocus();
    m_refreshRate = m_window->RefreshRate() > 0 ? m_window->RefreshRate() : 60;
    m_displayLost = false;
    m_activeCursorImage = nullptr;
    EnforceCursor();
    if (m_widgetManager) {
        m_widgetManager->SetScreenImage(&m_screenImage);
        m_widgetManager->MarkAllDirty();
    }
    return true;
}

void AppBase::SetScreenMode(bool windowed, bool use3D, bool force)
{
    (void)use3D; // drawing is always in software
    if (m_forcedFullScreen)
        windowed = false;
    if (windowed == m_windowed && !force)
        return;
    m_windowed = windowed;
    MakeWindow();
    m_window->Raise();
    if (m_soundManager)
        m_soundManager->SetCooperativeWindow(m_window.get(), m_windowed);
    ResetLagClock();
}

void AppBase::SetScreenMode(bool windowed) { SetScreenMode(windowed, false, false); }

void AppBase::SetScreenMode() { SetScreenMode(m_windowed, false, true); }

// ---- Cursors ----

void AppBase::SetCustomCursors(bool on)
{
    m_customCursors = on;
    EnforceCursor();
}

void AppBase::SetCursorImage(int index, Image* image)
{
    if (index < 0 || index >= int(m_cursorImages.size()))
        return;
    m_cursorImages[size_t(index)] = image;
    EnforceCursor();
}

void AppBase::SetCursorKind(int kind)
{
    if (kind < 0 || kind >= Plat::kCursorKindCount)
        return;
    m_cursorKind = kind;
    EnforceCursor();
}

void AppBase::EnforceCursor()
{
    if (!m_window)
        return;
    Image* image = nullptr;
    int kind = Plat::kCursorArrow;
    if (!m_popupOpen && m_mouseIn) {
        Image* candidate = m_cursorImages[size_t(m_cursorKind)];
        if (candidate && (m_customCursors || m_cursorKind == Plat::kCursorNoneToo))
            image = candidate;
        else
            kind = m_overrideCursor >= 0 ? m_overrideCursor : m_cursorKind;
    }
    if (image != m_activeCursorImage) {
        auto* pixels = dynamic_cast<MemoryImage*>(image);
        const uint32_t* bits = pixels ? pixels->GetBits() : nullptr;
        if (bits)
            m_window->SetCursorImage(bits, pixels->GetWidth(), pixels->GetHeight(), 0, 0);
        else
            m_window->SetCursorImage(nullptr, 0, 0, 0, 0);
        m_activeCursorImage = image;
        m_cursorChanged = true;
    }
    if (!image)
        m_window->SetSystemCursor(kind);
}

// ---- Sound levels and muting ----

void AppBase::PlaySound(int soundId, int pan)
{
    if (!m_soundManager)
        return;
    SoundInstance* instance = m_soundManager->CreateInstance(soundId);
    if (!instance)
        return;
    instance->SetPan(pan);
    instance->Play(false, true);
}

void AppBase::PlaySound(int soundId)
{
    if (!m_soundManager)
        return;
    if (SoundInstance* instance = m_soundManager->CreateInstance(soundId))
        instance->Play(false, true);
}

double AppBase::GetMasterVolume() { return m_soundManager ? m_soundManager->GetMasterVolume() : 0.0; }

void AppBase::SetMasterVolume(double volume)
{
    if (m_soundManager)
        m_soundManager->SetMasterVolume(volume);
}

void AppBase::SetMusicLevel(double level)
{
    m_musicLevel = std::clamp(level, 0.0, 1.0);
    if (m_musicInterface)
        m_musicInterface->SetVolume(m_muteCount > 0 ? 0.0 : m_musicLevel);
}

void AppBase::SetEffectsLevel(double level)
{
    m_effectsLevel = std::clamp(level, 0.0, 1.0);
    if (m_soundManager)
        m_soundManager->SetVolume(m_muteCount > 0 ? 0.0 : m_effectsLevel);
}

void AppBase::ApplyVolumes()
{
    SetMusicLevel(m_musicLevel);
    SetEffectsLevel(m_effectsLevel);
}

void AppBase::Mute(bool automatic)
{
    ++m_muteCount;
    if (automatic)
        ++m_autoMuteCount;
    ApplyVolumes();
}

void AppBase::Unmute(bool automatic)
{
    if (m_muteCount > 0) {
        --m_muteCount;
        if (automatic && m_autoMuteCount > 0)
            --m_autoMuteCount;
    }
    ApplyVolumes();
}

// One automatic mute per reason at most, so focus loss and minimising, which often come
// together and in either order, can never leave a mute behind.
void AppBase::SetAutoMute(bool& reason, bool on)
{
    if (on == reason)
        return;
    if (on && !m_muteWhenInactive)
        return;
    reason = on;
    if (on)
        Mute(true);
    else
        Unmute(true);
}

// ---- Resources, popups, keyed texts, deferred deletion ----

void AppBase::LoadManifest()
{
    if (!m_resourceManager->ParseManifest("properties\\resources.xml"))
        ReportResourceError(true);
}

void AppBase::ReportResourceError(bool exit)
{
    Popup(m_resourceManager ? m_resourceManager->GetErrorText() : std::string("no resource manager"));
    if (exit)
        EndProgram(kExitFailure);
}

double AppBase::GetLoadingProgress() const
{
    if (m_loadingDoneHandled)
        return 1.0;
    if (!m_loadingThreadStarted)
        return 0.0;
    const int count = m_loadingTaskCount;
    if (count <= 0)
        return 0.0;
    return std::min(1.0, double(m_loadingTasksDone) / double(count));
}

void AppBase::Popup(const std::string& text)
{
    BeginPopup();
    m_backend->ShowMessage(GetKeyedText("FATAL_ERROR", "FATAL ERROR"), text);
    EndPopup();
}

void AppBase::BeginPopup()
{
    m_popupOpen = true;
    if (IsMainThread())
        EnforceCursor();
}

void AppBase::EndPopup()
{
    m_popupOpen = false;
    // The loading thread reports its errors too; the window and the widgets belong to the main
    // thread, which has not seen any input meanwhile anyway.
    if (!IsMainThread())
        return;
    // Keys and buttons released while the box was up never reached us.
    m_ctrlDown = m_altDown = m_shiftDown = false;
    if (m_widgetManager)
        m_widgetManager->m_keyDown.fill(false);
    if (m_window)
        m_window->CapturePointer(false);
    m_buttonsDown = 0;
    EnforceCursor();
}

std::string AppBase::GetKeyedText(const std::string& key, const std::string& defaultText)
{
    const auto it = m_keyedTexts.find(key);
    return it == m_keyedTexts.end() ? defaultText : it->second;
}

Dialog* AppBase::CreateDialog(int id, bool isModal, const std::string& header, const std::string& lines,
                              const std::string& footer, int buttonMode)
{
    auto* dialog = new Dialog(nullptr, nullptr, id, isModal, header, lines, footer, buttonMode, this);
    const int width = std::min(400, m_width);
    const int height = std::min(dialog->GetPreferredHeight(width), m_height);
    dialog->Resize((m_width - width) / 2, (m_height - height) / 2, width, height);
    return dialog;
}

Dialog* AppBase::DoDialog(int id, bool isModal, const std::string& header, const std::string& lines,
                          const std::string& footer, int buttonMode)
{
    KillDialog(id);
    Dialog* dialog = CreateDialog(id, isModal, header, lines, footer, buttonMode);
    AddDialog(id, dialog);
    return dialog;
}

Dialog* AppBase::GetDialog(int id)
{
    const auto it = m_dialogs.find(id);
    return it == m_dialogs.end() ? nullptr : it->second;
}

void AppBase::AddDialog(int id, Dialog* dialog)
{
    if (!dialog)
        return;
    KillDialog(id);
    if (!dialog->m_dialogListener)
        dialog->m_dialogListener = this;
    m_dialogs[id] = dialog;
    if (!m_widgetManager)
        return;
    m_widgetManager->AddWidget(dialog);
    if (dialog->IsModal())
        m_widgetManager->AddBaseModal(dialog);
    m_widgetManager->SetFocus(dialog);
}

bool AppBase::KillDialog(int id, bool removeWidget, bool deleteWidget)
{
    const auto it = m_dialogs.find(id);
    if (it == m_dialogs.end())
        return false;
    Dialog* dialog = it->second;
    m_dialogs.erase(it);
    if (m_widgetManager && dialog->GetManager() == m_widgetManager.get()) {
        if (dialog->IsModal())
            m_widgetManager->RemoveBaseModal(dialog);
        if (removeWidget || deleteWidget)
            m_widgetManager->RemoveWidget(dialog);
    }
    if (deleteWidget)
        SafeDeleteWidget(dialog);
    return true;
}

bool AppBase::KillDialog(int id) { return KillDialog(id, true, true); }

bool AppBase::KillDialog(Dialog* dialog)
{
    for (const auto& [id, d] : m_dialogs)
        if (d == dialog)
            return KillDialog(id);
    return false;
}

void AppBase::SafeDeleteWidget(Widget* widget)
{
    if (!widget || std::find(m_pendingDeletes.begin(), m_pendingDeletes.end(), widget) != m_pendingDeletes.end())
        return;
    m_pendingDeletes.push_back(widget);
}

void AppBase::ProcessDeletions()
{
    if (m_updatePassDepth > 0)
        return;
    while (!m_pendingDeletes.empty()) {
        std::vector<Widget*> batch;
        batch.swap(m_pendingDeletes);
        for (Widget* w : batch) {
            if (w->GetParent())
                w->GetParent()->RemoveWidget(w);
            delete w;
        }
    }
}

} // namespace Vel
