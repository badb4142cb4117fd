// The game's application: start-up, the loading thread, the hand-over from the title screen to
// the Board, focus and the ways the program ends.
#include "game/shell/GameApp.h"

#include "framework/archive/PakInterface.h"
#include "framework/resources/ResourceManager.h"
#include "framework/widgets/WidgetManager.h"
#include "game/board/Board.h"
#include "game/players/Players.h"
#include "game/shell/ResourceIds.h"
#include "game/shell/TitleScreen.h"
#include "game/text/ErrorLog.h"
#include "game/text/Rand.h"
#include "platform/Files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace Vel {

GameApp::GameApp()
{
    m_productName = "Quorvane";
    m_companyName = "Velmora";
    m_productVersion = "1.0";
    m_registryKey = "Velmora\\Quorvane";
    m_width = 800;
    m_height = 600;
    m_debugKeysEnabled = true;
    m_vsyncUpdates = true;
    m_vsyncBroken = true;
    m_autoEnable3D = true;
    // The desktop compositor call made here on another system has no counterpart on ours.
}

GameApp::~GameApp()
{
    WidgetManager* manager = GetWidgetManager();
    if (m_board) {
        if (manager)
            manager->RemoveWidget(m_board);
        delete m_board; // runs the end-of-game steps, the player file's save among them
        m_board = nullptr;
    }
    if (m_titleScreen) {
        if (manager)
            manager->RemoveWidget(m_titleScreen);
        delete m_titleScreen;
        m_titleScreen = nullptr;
    }
    if (ResourceManager* resources = GetResourceManager()) {
        resources->DeleteGroup("");
        for (ResourceGroup group : {ResourceGroup::Init, ResourceGroup::TitleScreen, ResourceGroup::Game,
                                    ResourceGroup::Program})
            UnbindGroupIds(group);
    }
}

void GameApp::SeedRandom(uint32_t seed) { SeedRand(seed); }

void GameApp::Init()
{
    AppBase::Init();
    if (ShutdownRequested() || !GetResourceManager())
        return;
    ResourceManager* resources = GetResourceManager();
    LoadManifest();

    if (!resources->LoadGroup("Init") || !BindInitIds(resources)) {
        m_loadingFailed = true;
        ReportResourceError(true);
    }
    SetCursorImage(0, IMAGE_CUSTOM_POINTER);
    if (!resources->LoadGroup("TitleScreen") || !BindTitleScreenIds(resources)) {
        m_loadingFailed = true;
        ReportResourceError(true);
    }

    m_titleScreen = new TitleScreen(this);
    m_titleScreen->Resize(0, 0, m_width, m_height);
    LoadWindowMode();
    m_titleScreen->AddContinueLink();
    GetWidgetManager()->AddWidget(m_titleScreen);

    m_loadingTaskCount = resources->CountGroupResources("Game") + resources->CountGroupResources("Quorvane");
    TraceMoment("init_done");
}

bool GameApp::LoadGroupInSteps(const char* group)
{
    ResourceManager* resources = GetResourceManager();
    resources->BeginGroupLoad(group);
    while (resources->LoadNext()) {
        ++m_loadingTasksDone;
        if (ShutdownRequested())
            return false;
        // No dirty marking from here: the widgets belong to the main thread, and the title
        // does not show the progress.
    }
    return !resources->HadError();
}

void GameApp::LoadingThreadBody()
{
    ResourceManager* resources = GetResourceManager();
    if (!resources)
        return;
    if (!LoadGroupInSteps("Game")) {
        if (ShutdownRequested())
            return;
    } else if (BindGameIds(resources)) {
        if (LoadGroupInSteps("Quorvane") && BindProgramIds(resources))
            return;
        if (ShutdownRequested())
            return;
    }
    // The message box and the shutdown belong to the main thread: it shows the error as soon
    // as it sees that loading has ended.
    m_loadingFailed = true;
}

void GameApp::OnLoadingDone()
{
    if (m_loadingFailed) {
        if (!ShutdownRequested()) {
            ReportResourceError(false);
            Shutdown(); // boardReady is still false: the framework's shutdown
        }
        return;
    }
    m_loadingComplete = true;
    // Everything is decoded now: the archive's pages and the loading thread's spare heap go
    // back to the system, which keeps the peak low when the Board and the players arrive.
    PakInterface::Instance().ReleaseResidentPages();
#ifdef __GLIBC__
    malloc_trim(0);
#endif
    TraceMoment("loading_done");
    if (m_titleScreen)
        m_titleScreen->MarkDirty();
}

void GameApp::Shutdown()
{
    if (!m_boardReady || !m_board || !IsMainThread()) {
        AppBase::Shutdown();
        return;
    }
    m_board->ShowQuitDialog();
}

void GameApp::QuitNow()
{
    // The settings are written back on the way out, so the next start does not take this quit
    // for a crash.
    EndProgram(kExitSuccess);
}

void GameApp::CreateBoard()
{
    if (m_board)
        return;
    m_titleScreen = nullptr;
    ResourceManager* resources = GetResourceManager();
    // The title's two full-screen pictures are drawn nowhere else: 4 MB given back before the
    // Board and its players, texts and word lists arrive.
    if (resources) {
        ReleaseImageId(resources, ResourceGroup::Init, IMAGE_BKG_SPLASH);
        ReleaseImageId(resources, ResourceGroup::Init, IMAGE_BKG_TITLE);
        GetImageRegistry()->PurgeUnreferenced();
    }
    m_board = new Board(this);
    if (resources) {
        resources->DeleteGroup("TitleScreen");
        UnbindGroupIds(ResourceGroup::TitleScreen);
    }
    m_board->Resize(0, 0, m_width, m_height);
    WidgetManager* manager = GetWidgetManager();
    manager->AddWidget(m_board);
    manager->SetFocus(m_board);
    // The focus may have gone before the Board existed: it starts paused then, and the coming
    // focus gain takes exactly that pause away.
    if (!m_hasFocus && !m_boardPausedForFocus) {
        m_board->Pause(true);
        m_boardPausedForFocus = true;
    }
    m_board->Initialise();
    TraceMoment("main_menu");
}

void GameApp::OnAppFocusGained()
{
    if (!m_board || !m_boardPausedForFocus)
        return;
    m_boardPausedForFocus = false;
    m_board->Pause(false);
}

void GameApp::OnAppFocusLost()
{
    if (!m_board || m_boardPausedForFocus)
        return;
    m_boardPausedForFocus = true;
    m_board->Pause(true);
}

void GameApp::OnTerminationRequest()
{
    // A signal (log-out, Ctrl+C) ends the program without any question; the players' data is
    // saved first, and the Board's end-of-game steps follow with the ordinary shutdown.
    if (m_board && m_boardReady)
        m_board->SavePlayers(false);
}

void GameApp::LoadWindowMode()
{
    uint8_t mode = 1;
    bool haveByte = false;
    if (std::FILE* file = std::fopen(WindowModeFilePath().c_str(), "rb")) {
        const int c = std::fgetc(file);
        std::fclose(file);
        if (c != EOF) {
            mode = uint8_t(c);
            haveByte = true;
        }
    }
    // A missing file, or an empty one (which holds no choice), means full screen, as at a first start.
    if (!haveByte)
        SaveWindowMode(1);
    SetScreenMode(mode == 0, false, false);
    SetCustomCursors(mode != 0);
}

bool GameApp::SaveWindowMode(uint8_t fullScreen)
{
    Plat::MakeDirs(Plat::UserDataDir());
    const Plat::WriteResult r = Plat::WriteFileAtomically(WindowModeFilePath(), &fullScreen, 1);
    if (!r.ok) {
        // Start-up goes on in the mode chosen; the next start simply asks again.
        const std::string message = "The window mode could not be saved: " + r.error;
        std::fprintf(stderr, "%s: %s\n", m_productName.c_str(), message.c_str());
        WriteErrorLog(message);
    }
    return r.ok;
}

} // namespace Vel
