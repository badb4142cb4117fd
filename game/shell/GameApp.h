// The game's application: start-up behind the title screen, the loading of the resource groups
// on the loading thread, the hand-over to the Board, focus, closing and termination.
#pragma once

#include "framework/app/AppBase.h"

#include <cstdint>

namespace Vel {

class Board;
class TitleScreen;

class GameApp : public AppBase {
public:
    GameApp();
    ~GameApp() override;

    void Init() override;
    // Before the Board is ready: the framework's shutdown. Afterwards: the quit question.
    void Shutdown() override;

    // The title screen's link was clicked: the Board replaces the title screen.
    void CreateBoard();
    // The confirmed quit: ends the process at once (tests replace it).
    virtual void QuitNow();

    // The one-byte window-mode file: read it (a missing or empty file means full screen and is
    // written with 1), then apply the mode and the cursors.
    void LoadWindowMode();
    bool SaveWindowMode(uint8_t fullScreen);

    Board* m_board = nullptr;
    TitleScreen* m_titleScreen = nullptr;
    bool m_boardReady = false;
    // Set on the main thread once the loading thread has finished without failure.
    bool m_loadingComplete = false;

protected:
    void LoadingThreadBody() override;
    void OnLoadingDone() override;
    void OnAppFocusGained() override;
    void OnAppFocusLost() override;
    void OnTerminationRequest() override;
    void SeedRandom(uint32_t seed) override;

private:
    // Loads a group on the loading thread, one resource at a time; false on an error or when
    // the program is shutting down.
    bool LoadGroupInSteps(const char* group);

    // The Board holds one pause for the focus being away, never more, never a negative one.
    bool m_boardPausedForFocus = false;
};

} // namespace Vel
