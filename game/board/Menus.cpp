// The main menu, the modal dialog with the quit sequence, and the in-test game menu.
#include "game/board/Board.h"

#include "framework/fonts/Font.h"
#include "framework/graphics/Graphics.h"
#include "game/shell/GameApp.h"
#include "game/shell/ResourceIds.h"

namespace Vel {
namespace {

constexpr int kFontMenu1 = 0;
constexpr int kFontMenu2 = 1;
constexpr int kFontMenu3 = 2;

enum MainMenuButton { kMainDailyExam, kMainPractice, kMainReportCard, kMainOptions, kMainQuit, kMainEnrol };
enum GameMenuButton { kGameMainMenu, kGameOptions, kGameContinue };

const std::string kEmpty;

void DrawCentred(Graphics* g, Font* font, const std::string& text, int centreX, int baseline)
{
    if (!font)
        return;
    g->SetFont(font);
    g->DrawString(text, centreX - font->StringWidth(text) / 2, baseline);
}

} // namespace

const std::string& Board::TextAt(int index) const
{
    return index >= 0 && index < m_texts.count ? m_texts.entries[size_t(index)].text : kEmpty;
}


// ---- Main menu ----

void Board::BuildMainMenu()
{
    SetState(BoardState::MainMenu);
    m_owl.active = 0;
    PlayStateMusic();
    ClearButtons(kLayoutMainMenu);
    AddButton(kLayoutMainMenu, kFontMenu2, "MM_B_DAILYEXAM", kStyleButton1);
    AddButton(kLayoutMainMenu, kFontMenu2, "MM_B_PRACTICE", kStyleButton1);
    AddButton(kLayoutMainMenu, kFontMenu2, "MM_B_REPORTCARD", kStyleButton1);
    AddButton(kLayoutMainMenu, kFontMenu3, "MM_B_OPTIONS", kStyleButton2);
    AddButton(kLayoutMainMenu, kFontMenu3, "MM_B_QUIT", kStyleButton2);
    AddButton(kLayoutMainMenu, kFontMenu3, "MM_B_ENROL", kStyleButton2);
    ClearLabels(kLayoutMainMenu);
    ClearTextFields();
    // The owl's greeting for the main menu comes with the owl's speech.
    m_lastVoiceTick = m_updateCount;
    m_dailyExamMode = false;
    ClearBoardStateStack();
    ClearLayoutStack();
}

void Board::MainMenuHandler()
{
    const int button = TakeButtonClick();
    switch (button) {
    case kMainDailyExam:
    case kMainPractice:
    case kMainReportCard:
        // Where the player goes after enrolling, or straight away; the exam, practice, report
        // card and new-player screens are built with their own parts of the game.
        m_pendingDestination = button;
        m_optionsOrigin = -1;
        break;
    case kMainQuit:
        OpenDialog(kDialogQuit, kDialogYesNo, TextAt(m_fixed.quitHeader), TextAt(m_fixed.quitText));
        break;
    case kMainOptions:
    case kMainEnrol:
        // The options and player screens come with their own parts of the game.
        break;
    default:
        break;
    }
}

void Board::DrawMainMenu(Graphics* g)
{
    if (IMAGE_BKG_START_SCREEN)
        g->DrawImage(IMAGE_BKG_START_SCREEN, 0, 0);
    // The owl joins this screen with its speech and drawing.
    if (!Profile().empty) {
        g->SetColor(Color(0, 0, 0));
        DrawCentred(g, FONT_MENU3, m_playerName, 688, 100);
    }
    for (int i = 0; i < m_buttonCount[kLayoutMainMenu]; ++i)
        DrawButton(g, kLayoutMainMenu, i, i == m_hoveredButton[kLayoutMainMenu]);
}

// ---- Dialog ----

void Board::OpenDialog(int kind, int style, const std::string& header, const std::string& text)
{
    PushBoardState(static_cast<int>(State()));
    PushLayout(m_currentLayout);
    SetState(BoardState::Dialog);
    m_dialogKind = kind;
    m_dialogHeader = header;
    m_dialogText = text;
    m_dialogAnswer = -1;
    ClearButtons(kLayoutDialog);
    if (style == kDialogYesNo) {
        AddButton(kLayoutDialog, kFontMenu3, "DLG_B_YES", kStyleButton2);
        AddButton(kLayoutDialog, kFontMenu3, "DLG_B_NO", kStyleButton2);
    } else if (style == kDialogOk) {
        AddButton(kLayoutDialog, kFontMenu3, "DLG_B_OK", kStyleButton2);
    }
}

void Board::ShowQuitDialog()
{
    OpenDialog(kDialogQuit, kDialogYesNo, TextAt(m_fixed.quitHeader), TextAt(m_fixed.quitText));
}

void Board::DialogHandler()
{
    HitTestButtons();
    m_dialogAnswer = -1;
    const int hovered = m_hoveredButton[kLayoutDialog];
    if (m_mouseButton == 1 && (hovered == 0 || hovered == 1)) {
        m_mouseButton = 0;
        PlaySound(SOUND_BUTTONCLICK);
        m_dialogAnswer = hovered;
        ReturnFromDialog();
        return; // one answer per tick: an Escape now must not close the screen below as well
    }
    if (m_escapePressed) {
        m_escapePressed = false;
        m_dialogAnswer = 1;
        ReturnFromDialog();
    }
}

void Board::CheckQuit()
{
    if (m_dialogAnswer == -1 || m_dialogKind != kDialogQuit || m_dialogAnswer != 0)
        return;
    m_dialogAnswer = -1;
    EndOfGame();
    if (m_app)
        m_app->QuitNow();
}

void Board::DrawDialog(Graphics* g)
{
    const int below = PeekBoardState();
    DrawScreenBelow(g, IsBoardState(below) ? BoardState(below) : BoardState::Dialog);
    DrawDimLayer(g);
    if (IMAGE_DIALOG_BOX)
        g->DrawImage(IMAGE_DIALOG_BOX, 400 - IMAGE_DIALOG_BOX->GetCelWidth() / 2, 132);
    g->SetColor(Color(0, 0, 0));
    DrawCentred(g, FONT_MENU2, m_dialogHeader, 400, 216);
    if (FONT_MENU3) {
        g->SetFont(FONT_MENU3);
        g->SetColor(Color(0, 0, 0));
        g->DrawWrappedText(Rect(210, 248, 360, 100), m_dialogText, -1, 0);
    }
    for (int i = 0; i < m_buttonCount[kLayoutDialog]; ++i)
        DrawButton(g, kLayoutDialog, i, i == m_hoveredButton[kLayoutDialog]);
}

// ---- Game menu ----

void Board::OpenGameMenu()
{
    PushLayout(m_currentLayout);
    PushBoardState(static_cast<int>(State()));
    SetState(BoardState::GameMenu);
    PlayStateMusic();
    ClearButtons(kLayoutGameMenu);
    AddButton(kLayoutGameMenu, kFontMenu3, "GM_B_MAINMENU", kStyleButton2);
    AddButton(kLayoutGameMenu, kFontMenu3, "GM_B_OPTIONS", kStyleButton2);
    AddButton(kLayoutGameMenu, kFontMenu3, "GM_B_CONTINUE", kStyleButton2);
    ClearLabels(kLayoutGameMenu);
    AddLabel(kLayoutGameMenu, kFontMenu1, "GM_H_TITLE", "", 0, 0, 0);
}

void Board::GameMenuHandler()
{
    HitTestButtons();
    if (m_dialogAnswer != -1) {
        const bool leaveTest = m_dialogKind == kDialogMainMenu && m_dialogAnswer == 0;
        m_dialogAnswer = -1;
        if (leaveTest) {
            // The test is abandoned without a result.
            SavePlayers(true);
            BuildMainMenu();
            return;
        }
    }
    bool resume = false;
    if (m_mouseButton == 1) {
        m_mouseButton = 0;
        switch (m_hoveredButton[kLayoutGameMenu]) {
        case kGameMainMenu:
            PlaySound(SOUND_BUTTONCLICK);
            OpenDialog(kDialogMainMenu, kDialogYesNo, TextAt(m_fixed.mainMenuHeader), TextAt(m_fixed.mainMenuText));
            return;
        case kGameOptions:
            // The options screen comes with its own part of the game.
            PlaySound(SOUND_BUTTONCLICK);
            break;
        case kGameContinue:
            PlaySound(SOUND_BUTTONCLICK);
            resume = true;
            break;
        default:
            break;
        }
    }
    if (m_escapePressed) {
        m_escapePressed = false;
        resume = true;
    }
    if (resume)
        ReturnFromOverlay(); // the test goes on with the time it had left
}

void Board::DrawGameMenu(Graphics* g)
{
    DrawTestBackground(g);
    DrawDimLayer(g);
    if (IMAGE_BKG_OPTIONS)
        g->DrawImage(IMAGE_BKG_OPTIONS, 400 - IMAGE_BKG_OPTIONS->GetCelWidth() / 2, 60);
    DrawLayoutItems(g, kLayoutGameMenu);
}

} // namespace Vel
