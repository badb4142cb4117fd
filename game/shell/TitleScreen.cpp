// The title screen's phases, its drawing and the click that hands over to the Board.
#include "game/shell/TitleScreen.h"

#include "framework/fonts/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/widgets/HyperlinkWidget.h"
#include "framework/widgets/WidgetManager.h"
#include "game/shell/GameApp.h"
#include "game/shell/ResourceIds.h"

namespace Vel {
namespace {

constexpr const char* kContinueLabel = "CLICK TO CONTINUE";
constexpr int kLinkBottomMargin = 50;

// One fade-in step; true when full opacity was reached (250 + 5 clamps to 255).
bool FadeIn(int& alpha)
{
    if (alpha + kTitleFadeStep >= 255) {
        alpha = 255;
        return true;
    }
    alpha += kTitleFadeStep;
    return false;
}

} // namespace

TitleScreen::TitleScreen(GameApp* app) : m_app(app)
{
    if (m_app)
        m_app->m_boardReady = false;
}

TitleScreen::~TitleScreen()
{
    if (m_continueLink && m_continueLink->GetParent())
        m_continueLink->GetParent()->RemoveWidget(m_continueLink);
    delete m_continueLink;
}

void TitleScreen::AddContinueLink()
{
    if (m_continueLink)
        return;
    m_continueLink = new HyperlinkWidget(kContinueLinkId, this);
    if (FONT_MENU3)
        m_continueLink->SetFont(FONT_MENU3);
    m_continueLink->m_label = kContinueLabel;
    m_continueLink->m_color = Color(0, 0, 0);
    m_continueLink->m_overColor = Color(0, 255, 0);
}

void TitleScreen::OnAttached(WidgetManager* manager)
{
    Widget::OnAttached(manager);
    if (!m_continueLink || !manager)
        return;
    m_continueLink->SetVisible(false);
    m_continueLink->SetDisabled(true);
    Font* font = m_continueLink->GetFont();
    const int w = font ? font->StringWidth(kContinueLabel) : 0;
    const int h = font ? font->GetHeight() : 0;
    m_continueLink->Resize(m_width / 2 - w / 2, m_height - h - kLinkBottomMargin, w, h + 4);
    manager->AddWidget(m_continueLink);
}

void TitleScreen::OnDetached(WidgetManager* manager)
{
    Widget::OnDetached(manager);
    if (m_continueLink && manager && m_continueLink->GetParent() == manager)
        manager->RemoveWidget(m_continueLink);
}

void TitleScreen::Update()
{
    Widget::Update();
    const TitlePhase phaseBefore = m_phase;
    const int alphaBefore = m_alpha;
    switch (m_phase) {
    case TitlePhase::FadeInSplash:
        if (FadeIn(m_alpha)) {
            m_counter = 0;
            m_phase = TitlePhase::HoldSplash;
        }
        break;
    case TitlePhase::HoldSplash:
        if (++m_counter > kSplashHoldTicks)
            m_phase = TitlePhase::FadeOutSplash;
        break;
    case TitlePhase::FadeOutSplash:
        m_alpha -= kTitleFadeStep;
        if (m_alpha < 1) {
            m_alpha = 0;
            m_phase = TitlePhase::FadeInTitle;
        }
        break;
    case TitlePhase::FadeInTitle:
        if (FadeIn(m_alpha))
            m_phase = TitlePhase::WaitForClick;
        break;
    case TitlePhase::WaitForClick:
        // The link only appears once the title is fully shown and loading is complete.
        if (m_app && m_app->m_loadingComplete && m_continueLink) {
            if (!m_continueLink->m_visible)
                m_app->TraceMoment("continue_offered");
            m_continueLink->SetVisible(true);
            m_continueLink->SetDisabled(false);
        }
        break;
    }
    // Only the fades change the picture: while the splash is held and while the title waits
    // for its click, nothing is drawn again (the link draws itself).
    if (m_phase != phaseBefore || m_alpha != alphaBefore)
        MarkDirty();
}

void TitleScreen::Draw(Graphics* g)
{
    g->SetColor(Color(0, 0, 0));
    g->FillRect(0, 0, m_width, m_height);
    Image* picture = m_phase <= TitlePhase::FadeOutSplash ? IMAGE_BKG_SPLASH : IMAGE_BKG_TITLE;
    if (!picture)
        return;
    g->SetColor(Color(255, 255, 255, m_alpha));
    g->SetImageTint(true);
    g->DrawImage(picture, 0, 0);
    g->SetImageTint(false);
}

void TitleScreen::OnButtonClick(int id)
{
    if (id != kContinueLinkId || !m_app)
        return;
    GameApp* app = m_app;
    if (WidgetManager* manager = app->GetWidgetManager()) {
        manager->RemoveWidget(this);
        if (m_continueLink)
            manager->RemoveWidget(m_continueLink);
    }
    // Both are deleted once the current input or update pass is over.
    if (m_continueLink)
        app->SafeDeleteWidget(m_continueLink);
    m_continueLink = nullptr;
    app->SafeDeleteWidget(this);
    app->PlaySound(SOUND_BUTTONCLICK);
    app->CreateBoard();
}

} // namespace Vel
