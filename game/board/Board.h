// The game's one widget: it owns every screen and all game state, draws and hit-tests its own
// buttons, labels and text fields, and runs the current screen's handler once per tick.
// Its operations are spread over files by area: BoardLifecycle.cpp (construction, start-up,
// the end of the game), BoardStates.cpp (the tick, drawing and input), ScreenBuilding.cpp
// (layouts, stacks, text fields) and Menus.cpp (main menu, dialog and game menu).
#pragma once

#include "framework/widgets/ButtonListener.h"
#include "framework/widgets/Widget.h"
#include "game/board/BoardState.h"
#include "game/board/Layout.h"
#include "game/owl/OwlClass.h"
#include "game/players/Players.h"
#include "game/tests/TickClass.h"
#include "game/tests/TimerClass.h"
#include "game/text/Dictionary.h"
#include "game/text/SpellingTable.h"
#include "game/text/TextTable.h"
#include "game/text/WordLists.h"

#include <array>
#include <string>

namespace Vel {

class GameApp;
class Graphics;
class Image;
class MusicInterface;

// Questions the dialog asks; the screen returned to reads the answer.
enum DialogKind : int {
    kDialogQuit = 0,
    kDialogMainMenu = 1,
    kDialogProfileDelete = 3,
    kDialogProfileFull = 4,
    kDialogProfileNoDelete = 5,
    kDialogNotice = 6, // something the player must be told (a damaged or unsaved player file)
};
enum DialogStyle : int { kDialogYesNo = 0, kDialogOk = 1 };

// Text table indices resolved once at start-up.
struct FixedTextIndices {
    int quitHeader = -1, quitText = -1;
    int resetScoresHeader = -1, resetScoresText = -1;
    int mainMenuHeader = -1, mainMenuText = -1;
    int profileFullHeader = -1, profileFullText = -1;
    int profileNoDeleteHeader = -1, profileNoDeleteText = -1;
    int profileDeleteHeader = -1, profileDeleteText = -1;
    int resultsGrade = -1, timesUp = -1;
    int ready = -1, set = -1, go = -1;
    int analysis1Query1 = -1, analysis1Query2 = -1, analysis1Query3 = -1;
    int analysis1Black = -1, analysis1Red = -1, analysis1Blue = -1, analysis1Green = -1;
    int memory3Select = -1, newStamp = -1, unlocked = -1;
};

struct ScreenPoint {
    int x = 0;
    int y = 0;
};
struct ChartColour {
    int red = 0;
    int green = 0;
    int blue = 0;
};

inline constexpr int kMemoryTestValues = 21;
inline constexpr int kChartColourCount = 6;

class Board : public Widget, public ButtonListener {
public:
    explicit Board(GameApp* app);
    ~Board() override;

    // Loads the game's data and the player file, applies the current player's options and ends
    // on the main menu, with the application's boardReady set.
    void Initialise();
    // On: the application lost the focus. Counted; the Board stands still while above 0.
    void Pause(bool on);

    void Update() override;
    void Draw(Graphics* g) override;
    void KeyChar(char c) override;
    void KeyDown(int key) override;
    void MouseMove(int x, int y) override;
    void MouseDown(int x, int y, int clickCount) override;
    void MouseUp(int x, int y, int clickCount) override;
    void MouseDrag(int x, int y) override;
    using Widget::MouseDown;
    using Widget::MouseUp;

    // Opens the quit question (closing the window once the Board is ready).
    virtual void ShowQuitDialog();
    // Every unpaused tick: ends the game when the quit question was answered yes.
    virtual void CheckQuit();

    // The steps shared by quitting and the destructor: windowed, system cursors, no music, the
    // player file saved.
    void EndOfGame();
    // Saves the player file (never before it was read, nor over a damaged file that could not
    // be kept aside); with tellOnFailure the first failure of the run opens a notice.
    SaveResult SavePlayers(bool tellOnFailure);
    // The current player's screen mode, cursors and volumes, given to the application.
    void ApplyPlayerSettings();

    // ---- States ----
    BoardState State() const;
    void SetState(BoardState state);
    PlayerProfile& Profile() { return CurrentProfile(m_players); }
    void PlayStateMusic();
    // The in-test menu button (button 0 of the game board) and Escape.
    void InTestMenuStep();
    // The test clock: one second more than every 100 ticks.
    void CountDownSecond();

    // ---- Screen building ----
    void ClearButtons(int layout);
    void ClearLabels(int layout);
    // The new button's index, or -1 when the layout is full or unknown (an error, logged).
    int AddButton(int layout, int font, const std::string& key, int style);
    int AddLabel(int layout, int font, const std::string& key, const std::string& overrideText, int red,
                 int green, int blue);
    void DrawButton(Graphics* g, int layout, int index, bool highlighted);
    void DrawLabel(Graphics* g, int layout, int index);
    // Background, the banner (may be null), every button and label of the layout.
    void DrawStandardScreen(Graphics* g, int layout, Image* banner);
    void DrawLayoutItems(Graphics* g, int layout);
    void DrawDimLayer(Graphics* g);
    void HitTestButtons();
    // The handler pattern: the index of the button a pending left click acts on (the click is
    // used up and the click sound played), or -1.
    int TakeButtonClick();

    void PushBoardState(int value);
    int PopBoardState();
    int PeekBoardState() const;
    void ClearBoardStateStack();
    void PushLayout(int value);
    int PopLayout();
    int PeekLayout() const;
    void ClearLayoutStack();
    void ReturnFromDialog();
    void ReturnFromOverlay();

    void ClearTextFields();
    // The new field's index, or -1 when all eight are in use.
    int AddTextField(const std::string& text, int filter, int x, int y, int width, int font);
    void TypeChar(char c);
    void UpdateTextFields();
    void DrawTextFields(Graphics* g);

    // ---- Redrawing ----
    // A digest of every field the screens draw from (anything a screen's drawing reads must be
    // in it), or one that changes every tick on screens it does not cover.
    uint64_t FrameDigest() const;
    // Each tick: the Board is marked dirty only when its digest differs from the drawn one.
    void MarkDirtyIfChanged();
    uint64_t m_drawnDigest = 0;
    bool m_drawnDigestValid = false;

    // ---- Menus and dialogs ----
    void BuildMainMenu();
    void OpenDialog(int kind, int style, const std::string& header, const std::string& text);
    void OpenGameMenu();
    // The text of a text table index ("" for -1).
    const std::string& TextAt(int index) const;

    // ---- Data (the fields every screen shares) ----
    GameApp* m_app = nullptr;
    int m_pauseCount = 0;
    int m_pendingWindowed = -1;
    int m_fullScreenBox = 0;
    std::array<int, kStackEntries> m_stateStack{};
    int m_stateStackCount = 0;
    std::array<int, kStackEntries> m_layoutStack{};
    int m_layoutStackCount = 0;
    int m_dialogKind = 0;
    int m_dialogAnswer = -1;
    std::string m_dialogHeader;
    std::string m_dialogText;
    int m_language = 0; // 1 = "data_spanish/"
    Players m_players;  // the six records and the current player: the player file
    std::array<std::array<LayoutItem, kButtonsPerLayout>, kLayoutCount> m_buttons{};
    std::array<int, kLayoutCount> m_buttonCount{};
    std::array<int, kLayoutCount> m_hoveredButton{};
    int m_currentLayout = 0;
    std::array<TextField, kTextFieldCount> m_textFields{};
    int m_textFieldCount = 0;
    int m_currentTextField = 0;
    bool m_caretBlink = false;
    int m_caretBlinkTick = 0;
    bool m_enterPressed = false;
    // The famous birthdays have no loader yet; their list joins the Board with the greetings.
    Dictionary m_dictionary;
    NameLists m_names;
    ShoppingList m_shoppingList;
    Alpha4List m_alpha4List;
    SpellingTable m_spellingTable;
    std::array<std::array<LayoutItem, kLabelsPerLayout>, kLayoutCount> m_labels{};
    std::array<int, kLayoutCount> m_labelCount{};
    TextTable m_texts;
    int m_lastSecondTick = 0;
    int m_lastCountdownTick = 0;
    int m_lastVoiceTick = 0;
    TimerClass m_timer;
    OwlClass m_owl;
    TickClass m_tick;
    bool m_greetingShown = false;
    bool m_greetingPending = false;
    bool m_sfxSliderMoved = false;
    std::string m_playerName;
    int m_selectedSlot = 0;
    bool m_enrolmentPending = false;
    int m_pendingDestination = 0; // after enrolling from the main menu: 0 exam, 1 practice, 2 report card
    int m_optionsOrigin = -1;     // 1 main menu, 2 game menu, -1 none
    int m_mouseX = 0;
    int m_mouseY = 0;
    int m_mouseButton = 0; // 1 a left click is pending, -1 right held, 0 none
    bool m_dragging = false;
    // A press and its release can arrive between two ticks (a quick tap); the click then stays
    // pending for one tick instead of being lost.
    int m_inputTicks = 0; // Update calls, paused ones included
    int m_pressTicks = -1;
    bool m_releasePending = false;
    int m_updateCount = 0; // the Board's clock, in ticks
    bool m_escapePressed = false;
    CreditLines m_creditLines;
    std::array<int, CreditLines::kCapacity> m_creditAlpha{};
    int m_creditScrollTick = 0;
    int m_creditScrollY = 0;
    FixedTextIndices m_fixed;
    std::array<int, kMemoryTestValues> m_memoryTestValues{};
    bool m_dailyExamMode = false;
    std::array<ChartColour, kChartColourCount> m_chartColours{};
    bool m_chartCompare = false;
    CalendarDay m_today;
    std::array<ScreenPoint, kStampCount> m_stampPositions{};
    // What LoadPreferences found at start-up, for the player to be told once the menu is up.
    LoadOutcome m_loadOutcome;
    bool m_playersLoaded = false;
    bool m_playersSavable = true;

protected:
    void PlaySound(int soundId);
    MusicInterface* Music() const;
    // Plays `track` unless it is playing already.
    void PlayTrack(int track);

    void RunStateHandler();
    void DrawState(Graphics* g, BoardState state);
    void DrawPaused(Graphics* g);
    void VoiceStep();

    // Screens of this area.
    void MainMenuHandler();
    void DrawMainMenu(Graphics* g);
    void DialogHandler();
    void DrawDialog(Graphics* g);
    void GameMenuHandler();
    void DrawGameMenu(Graphics* g);
    // The background every test screen shares (the test's own drawing comes with the tests).
    void DrawTestBackground(Graphics* g);
    // A screen whose drawing belongs to a later part of the game: its background only.
    void DrawPlaceholder(Graphics* g);
    // What lies under a dialog or overlay that covers `state`.
    void DrawScreenBelow(Graphics* g, BoardState state);
    void TellAboutPlayerFile();
};

} // namespace Vel
