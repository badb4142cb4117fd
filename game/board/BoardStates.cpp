// The Board's tick, its drawing per state, the input it turns into its own fields, the music
// per state, and the steps every test screen shares (the clock and the in-test menu).
#include "game/board/Board.h"

#include "framework/fonts/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/sound/MusicInterface.h"
#include "framework/widgets/WidgetManager.h"
#include "game/board/Rand.h"
#include "game/shell/GameApp.h"
#include "game/shell/ResourceIds.h"
#include "platform/Keys.h"

namespace Vel {
namespace {

constexpr int kVoiceGapTicks = 12;    // a voice sound needs more ticks than this since the last
constexpr int kTicksPerSecond = 100;  // the test clock counts a second after more than this
constexpr double kMusicFadeSpeed = 0.002;

const int* const kVoices[] = {&SOUND_VOICE1, &SOUND_VOICE2, &SOUND_VOICE3, &SOUND_VOICE4, &SOUND_VOICE5};

// The states in which Escape is a command (tests, overlays, player screens); elsewhere a key
// leaves a pending Escape alone.
bool EscapeMatters(BoardState s)
{
    switch (s) {
    case BoardState::Dialog:
    case BoardState::Options:
    case BoardState::GameMenu:
    case BoardState::ProfileSelect:
    case BoardState::ProfileNew:
        return true;
    default:
        return IsPlayState(s);
    }
}

bool IsUnusedState(BoardState s)
{
    return s == BoardState::Unused18 || s == BoardState::Unused23 || s == BoardState::Unused31;
}

} // namespace

BoardState Board::State() const
{
    const int v = CurrentProfile(m_players).state;
    return IsBoardState(v) ? BoardState(v) : BoardState::Unused18;
}

void Board::SetState(BoardState state) { Profile().state = static_cast<int32_t>(state); }

void Board::PlaySound(int soundId)
{
    if (m_app && soundId >= 0)
        m_app->PlaySound(soundId);
}

MusicInterface* Board::Music() const { return m_app ? m_app->GetMusicInterface() : nullptr; }

void Board::PlayTrack(int track)
{
    MusicInterface* music = Music();
    if (!music || music->IsPlaying(track))
        return;
    music->StopAllMusic();
    music->FadeIn(track, -1, kMusicFadeSpeed, false);
}

void Board::PlayStateMusic()
{
    switch (InfoOf(State()).music) {
    case StateMusic::Track0:
        PlayTrack(0);
        break;
    case StateMusic::Track1:
        PlayTrack(1);
        break;
    case StateMusic::Track2:
        PlayTrack(2);
        break;
    case StateMusic::Silence:
        if (MusicInterface* music = Music())
            music->StopAllMusic();
        break;
    case StateMusic::Unchanged:
        break;
    }
}

// ---- The tick ----

void Board::Update()
{
    Widget::Update();
    ++m_inputTicks;
    if (m_pauseCount > 0)
        return;
    ++m_updateCount;
    CheckQuit();

    // A click on the balloon is the owl's; the screen below never sees it.
    bool clicked = false;
    if (m_owl.active && m_mouseButton == 1 && IMAGE_BALLOON && m_mouseX >= m_owl.x
        && m_mouseX <= m_owl.x + IMAGE_BALLOON->GetCelWidth() && m_mouseY >= m_owl.y
        && m_mouseY <= m_owl.y + IMAGE_BALLOON->GetCelHeight()) {
        m_mouseButton = 0;
        clicked = true;
    }

    const BoardState state = State();
    if (state != BoardState::Dialog && state != BoardState::GameMenu) {
        m_owl.Update(m_updateCount, clicked);
        m_tick.Update(m_updateCount);
        VoiceStep();
    }
    RunStateHandler();
    if (m_releasePending) {
        m_releasePending = false;
        if (m_mouseButton == 1)
            m_mouseButton = 0;
    }
    MarkDirtyIfChanged();
}

void Board::VoiceStep()
{
    if (!Profile().voice || !m_owl.IsTalking() || m_updateCount - m_lastVoiceTick <= kVoiceGapTicks)
        return;
    m_lastVoiceTick = m_updateCount;
    PlaySound(*kVoices[Rand() % 5]);
}

void Board::RunStateHandler()
{
    const BoardState state = State();
    const uint8_t steps = InfoOf(state).steps;
    // A common step that opens another screen (the in-test menu) ends this tick's work for the
    // test below it.
    if (steps & kStepClock) {
        CountDownSecond();
        if (State() != state)
            return;
    }
    if (steps & kStepMenu) {
        InTestMenuStep();
        if (State() != state)
            return;
    }
    if (steps & kStepFields)
        UpdateTextFields();

    switch (state) {
    case BoardState::MainMenu:
        MainMenuHandler();
        break;
    case BoardState::Dialog:
        DialogHandler();
        break;
    case BoardState::GameMenu:
        GameMenuHandler();
        break;
    default:
        // The other screens' own handlers arrive with their parts of the game.
        break;
    }
}

void Board::CountDownSecond()
{
    if (m_updateCount - m_lastSecondTick <= kTicksPerSecond)
        return;
    m_lastSecondTick = m_updateCount;
    // At zero the test session's time's-up step takes over; that step arrives with the tests,
    // so for now the clock simply stays at zero.
    if (m_timer.TickSecond() || m_timer.IsLow())
        PlaySound(SOUND_TIMERLOW);
}

void Board::InTestMenuStep()
{
    const int saved = m_currentLayout;
    m_currentLayout = kLayoutGameBoard;
    HitTestButtons();
    m_currentLayout = saved;
    if (m_mouseButton == 1 && m_hoveredButton[kLayoutGameBoard] == 0) {
        m_mouseButton = 0;
        PlaySound(SOUND_BUTTONCLICK);
        // An Escape of the same tick is the same wish; it must not close the menu at once.
        m_escapePressed = false;
        OpenGameMenu();
        return;
    }
    if (m_escapePressed) {
        m_escapePressed = false;
        OpenGameMenu();
    }
}

// ---- Drawing ----

void Board::Draw(Graphics* g)
{
    g->SetColor(Color(0, 0, 0));
    g->FillRect(0, 0, m_width, m_height);
    DrawState(g, State());
    if (m_pauseCount > 0)
        DrawPaused(g);
}

void Board::DrawPaused(Graphics* g)
{
    if (IMAGE_BKG_START_SCREEN)
        g->DrawImage(IMAGE_BKG_START_SCREEN, 0, 0);
    if (!FONT_MENU3)
        return;
    g->SetColor(Color(0, 0, 0));
    g->SetFont(FONT_MENU3);
    const std::string text = "PAUSED";
    g->DrawString(text, m_width / 2 - FONT_MENU3->StringWidth(text) / 2, m_height / 2);
}

void Board::DrawState(Graphics* g, BoardState state)
{
    switch (state) {
    case BoardState::MainMenu:
        DrawMainMenu(g);
        break;
    case BoardState::Dialog:
        DrawDialog(g);
        break;
    case BoardState::GameMenu:
        DrawGameMenu(g);
        break;
    case BoardState::Options:
        if (m_optionsOrigin == 2)
            DrawTestBackground(g);
        else
            DrawMainMenu(g);
        DrawDimLayer(g);
        break;
    case BoardState::ProfileSelect:
    case BoardState::ProfileNew:
        DrawMainMenu(g);
        DrawDimLayer(g);
        break;
    case BoardState::Memory1Review:
        DrawTestBackground(g);
        break;
    case BoardState::Unused18:
    case BoardState::Unused23:
    case BoardState::Unused31:
        break;
    default:
        if (IsPlayState(state)) {
            DrawTestBackground(g);
            m_tick.Draw(g);
        } else {
            DrawPlaceholder(g);
        }
        break;
    }
}

void Board::DrawTestBackground(Graphics* g) { DrawStandardScreen(g, kLayoutGameBoard, IMAGE_BANNER2); }

void Board::DrawPlaceholder(Graphics* g)
{
    if (IMAGE_BKG_START_SCREEN)
        g->DrawImage(IMAGE_BKG_START_SCREEN, 0, 0);
}

void Board::DrawScreenBelow(Graphics* g, BoardState state)
{
    // A dialog over a dialog shows the plain background, not a chain of dims.
    if (state == BoardState::Dialog || IsUnusedState(state) || !IsBoardState(static_cast<int>(state)))
        DrawPlaceholder(g);
    else
        DrawState(g, state);
}

// ---- Input ----

void Board::MouseMove(int x, int y)
{
    m_mouseX = x;
    m_mouseY = y;
    m_dragging = false;
}

void Board::MouseDrag(int x, int y)
{
    m_mouseX = x;
    m_mouseY = y;
    m_dragging = true;
}

void Board::MouseDown(int x, int y, int clickCount)
{
    (void)x;
    (void)y; // the position is the last one MouseMove or MouseDrag gave
    m_mouseButton = clickCount;
    m_pressTicks = m_inputTicks;
    m_releasePending = false;
}

void Board::MouseUp(int x, int y, int clickCount)
{
    (void)x;
    (void)y;
    (void)clickCount;
    if (m_mouseButton == 1 && m_pressTicks == m_inputTicks && m_pauseCount == 0) {
        m_releasePending = true; // no tick has seen this click yet
        return;
    }
    m_mouseButton = 0;
}

void Board::KeyChar(char c) { TypeChar(c); }

void Board::KeyDown(int key)
{
    if (m_textFieldCount > 0) {
        m_enterPressed = false;
        TextField& field = m_textFields[size_t(m_currentTextField)];
        switch (key) {
        case Plat::kKeyReturn:
            m_enterPressed = true;
            break;
        case Plat::kKeyTab:
            if (m_textFieldCount >= 2) {
                const bool back = m_widgetManager && m_widgetManager->IsKeyDown(Plat::kKeyShift);
                m_currentTextField = (m_currentTextField + (back ? m_textFieldCount - 1 : 1)) % m_textFieldCount;
            }
            break;
        case Plat::kKeyBackspace:
        case Plat::kKeyLeft:
        case Plat::kKeyDelete:
            // Editing is always at the end; an empty field stays as it is.
            if (!field.text.empty())
                field.text.pop_back();
            break;
        default:
            break;
        }
    }
    const BoardState state = State();
    if (EscapeMatters(state))
        m_escapePressed = key == Plat::kKeyEscape;
    if (state == BoardState::ProfileSelect)
        m_enterPressed = key == Plat::kKeyReturn;
}

} // namespace Vel
