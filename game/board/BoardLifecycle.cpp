// The Board's construction, its start-up sequence, pausing and the end of the game.
#include "game/board/Board.h"

#include "framework/sound/MusicInterface.h"
#include "game/players/LocalTime.h"
#include "game/shell/GameApp.h"
#include "game/text/ErrorLog.h"

#include <cstdio>

namespace Vel {
namespace {

constexpr const char* kMusicFiles[] = {"music/music1.ogg", "music/music2.ogg", "music/music3.ogg"};

constexpr std::array<ChartColour, kChartColourCount> kChartColours{{
    {73, 154, 255}, {255, 123, 20}, {232, 20, 77}, {18, 232, 188}, {89, 255, 20}, {132, 144, 159},
}};

// A failed window-mode byte alone loses no progress, and the player should not fear it did.
std::string SaveFailureText(const SaveResult& result)
{
    return result.playerFileWritten
             ? "The players were saved, but the screen mode could not be. See error.log in the game's user data folder."
             : "The players could not be saved. See error.log in the game's user data folder.";
}

std::string FileNameOf(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

Board::Board(GameApp* app) : m_app(app)
{
    m_hoveredButton.fill(-1);
    m_stateStack.fill(-1);
    m_layoutStack.fill(-1);
}

Board::~Board() { EndOfGame(); }

void Board::Initialise()
{
    m_language = 0;
    RequireLoaded(LoadTextTable(m_texts, DataPath(m_language, "resource.txt")));
    // The famous birthdays (Spanish data has none) have no loader yet; they come with the
    // owl's greetings, which are their only reader.

    m_updateCount = 0;
    m_currentLayout = 0;
    m_enterPressed = false;
    m_players.currentPlayer = 0;
    m_pendingDestination = 0;
    m_selectedSlot = 0;
    m_enrolmentPending = false;

    if (MusicInterface* music = Music())
        for (int track = 0; track < 3; ++track)
            music->LoadMusic(track, kMusicFiles[track]);
    m_escapePressed = false;

    const auto fix = [this](const char* key) { return Lookup(m_texts, key); };
    m_fixed.quitHeader = fix("DLG_H_QUIT");
    m_fixed.quitText = fix("DLG_T_QUIT");
    m_fixed.resetScoresHeader = fix("DLG_H_RESETSCORES");
    m_fixed.resetScoresText = fix("DLG_T_RESETSCORES");
    m_fixed.mainMenuHeader = fix("DLG_H_MAINMENU");
    m_fixed.mainMenuText = fix("DLG_T_MAINMENU");
    m_fixed.profileFullHeader = fix("DLG_H_PROFILEFULL");
    m_fixed.profileFullText = fix("DLG_T_PROFILEFULL");
    m_fixed.profileNoDeleteHeader = fix("DLG_H_PROFILENODELETE");
    m_fixed.profileNoDeleteText = fix("DLG_T_PROFILENODELETE");
    m_fixed.profileDeleteHeader = fix("DLG_H_PROFILEDELETE");
    m_fixed.profileDeleteText = fix("DLG_T_PROFILEDELETE");
    m_fixed.resultsGrade = fix("RS_T_GRADE");
    m_fixed.timesUp = fix("TU_TIMES_UP");
    m_fixed.ready = fix("GR_READY");
    m_fixed.set = fix("GR_SET");
    m_fixed.go = fix("GR_GO");
    m_fixed.analysis1Query1 = fix("ANALYSIS1_QUERY1");
    m_fixed.analysis1Query2 = fix("ANALYSIS1_QUERY2");
    m_fixed.analysis1Query3 = fix("ANALYSIS1_QUERY3");
    m_fixed.analysis1Black = fix("ANALYSIS1_BLACK");
    m_fixed.analysis1Red = fix("ANALYSIS1_RED");
    m_fixed.analysis1Blue = fix("ANALYSIS1_BLUE");
    m_fixed.analysis1Green = fix("ANALYSIS1_GREEN");
    m_fixed.memory3Select = fix("GB_T_MEMORY3_SELECT");
    m_fixed.newStamp = fix("RS_T_NEW_STAMP");
    m_fixed.unlocked = fix("RS_T_UNLOCKED");

    ClearTextFields();
    RequireLoaded(LoadDictionary(m_dictionary, DataPath(m_language, "dictionary.txt")));
    RequireLoaded(LoadNames(m_names, DataPath(m_language, "names.txt")));
    RequireLoaded(LoadShoppingList(m_shoppingList, DataPath(m_language, "shopping.txt")));
    RequireLoaded(LoadAlpha4List(m_alpha4List, DataPath(m_language, "alpha4.txt")));
    RequireLoaded(LoadSpellingTable(m_spellingTable, DataPath(m_language, "spelling.txt")));
    RequireLoaded(LoadCredits(m_creditLines, DataPath(m_language, "credits.txt")));

    m_memoryTestValues.fill(0);
    m_greetingShown = false;
    m_greetingPending = false;
    m_dailyExamMode = false;

    const BrokenDownTime now = LocalNow();
    m_today = {now.dayOfMonth, now.month, now.yearsSince1900};

    for (int i = 0; i < kStampCount; ++i)
        m_stampPositions[size_t(i)] = {48 + 144 * (i % 5), i < 5 ? 256 : 400};
    m_chartColours = kChartColours;
    m_chartCompare = false;

    ClearBoardStateStack();
    ClearLayoutStack();

    m_loadOutcome = LoadPreferences(m_players);
    RefreshPlayedToday(m_players);
    m_playersLoaded = true;
    // A damaged file that could not be moved aside is the only copy of the players' data:
    // nothing this run does may write over it.
    m_playersSavable = !m_players.damagedFileInPlace;
    m_playerName = std::string(NameOf(Profile()));
    m_owl.greetName = m_playerName;

    ApplyPlayerSettings();
    BuildMainMenu();
    TellAboutPlayerFile();
    if (m_app)
        m_app->m_boardReady = true;
}

void Board::ApplyPlayerSettings()
{
    if (!m_app)
        return;
    const PlayerProfile& p = Profile();
    m_app->SetScreenMode(p.fullscreen == 0, false, false);
    m_app->SetCustomCursors(p.fullscreen != 0);
    m_app->SetMusicLevel(p.musicVolume);
    m_app->SetEffectsLevel(p.sfxVolume);
}

void Board::TellAboutPlayerFile()
{
    std::string text;
    if (m_loadOutcome.kind == LoadOutcome::Kind::Damaged) {
        text = m_players.damagedFileInPlace
                 ? "The player file is damaged and was left as it is. New players start empty; "
                   "nothing will be saved this time."
                 : m_loadOutcome.keptAs.empty()
                 ? "The player file was missing and its backup damaged. New players start empty."
                 : "The player file was damaged. It was kept as " + FileNameOf(m_loadOutcome.keptAs)
                       + " and new players start empty.";
    } else if (m_loadOutcome.kind == LoadOutcome::Kind::Restored) {
        text = (m_loadOutcome.keptAs.empty() ? std::string("The player file was missing or damaged.")
                                             : "The player file was damaged. It was kept as "
                                                   + FileNameOf(m_loadOutcome.keptAs) + ".")
             + " The players were restored from " + FileNameOf(PlayerBackupPath())
             + ", as they were one save earlier.";
    } else if (m_loadOutcome.save.tellPlayer) {
        text = SaveFailureText(m_loadOutcome.save);
    }
    if (!text.empty())
        OpenDialog(kDialogNotice, kDialogOk, "PLAYER FILE", text);
}

void Board::Pause(bool on)
{
    if (on) {
        MarkDirty();
        ++m_pauseCount;
    } else if (m_pauseCount > 0) {
        --m_pauseCount;
    }
}

SaveResult Board::SavePlayers(bool tellOnFailure)
{
    if (!m_playersLoaded || !m_playersSavable)
        return {};
    SaveResult result = SavePreferences(m_players);
    if (!result.ok) {
        std::fprintf(stderr, "Quorvane: %s\n", result.error.c_str());
        if (tellOnFailure && result.tellPlayer)
            OpenDialog(kDialogNotice, kDialogOk, "PLAYER FILE", SaveFailureText(result));
    }
    return result;
}

void Board::EndOfGame()
{
    if (m_app) {
        m_app->SetScreenMode(true, false, false);
        m_app->SetCustomCursors(false);
    }
    if (MusicInterface* music = Music()) {
        music->StopAllMusic();
        music->UnloadAllMusic();
    }
    // Never before the player file was read: saving then would replace the players with empty slots.
    SavePlayers(false);
}

} // namespace Vel
