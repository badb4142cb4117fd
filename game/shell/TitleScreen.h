// The title screen shown while the game's resources load: the splash fades in, holds and fades
// out, the title fades in, and "CLICK TO CONTINUE" appears once loading is complete.
#pragma once

#include "framework/widgets/ButtonListener.h"
#include "framework/widgets/Widget.h"

namespace Vel {

class GameApp;
class HyperlinkWidget;

enum class TitlePhase : int { FadeInSplash = 0, HoldSplash = 1, FadeOutSplash = 2, FadeInTitle = 3, WaitForClick = 4 };

inline constexpr int kContinueLinkId = 1;
inline constexpr int kTitleFadeStep = 5;    // alpha per tick: a fade from 0 takes 51 ticks
inline constexpr int kSplashHoldTicks = 200; // the hold ends once the counter exceeds this

class TitleScreen : public Widget, public ButtonListener {
public:
    explicit TitleScreen(GameApp* app);
    ~TitleScreen() override;

    void AddContinueLink();
    void OnAttached(WidgetManager* manager) override;
    void OnDetached(WidgetManager* manager) override;
    void Update() override;
    void Draw(Graphics* g) override;
    void OnButtonClick(int id) override;

    GameApp* m_app = nullptr;
    HyperlinkWidget* m_continueLink = nullptr; // owned
    TitlePhase m_phase = TitlePhase::FadeInSplash;
    int m_counter = 0;
    int m_alpha = 0;
};

} // namespace Vel
