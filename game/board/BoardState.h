// The Board's screens: one BoardState value per screen, kept in the current player's record, and
// what belongs to each state: its name, the music it plays and the common steps its tick runs.
#pragma once

#include <cstdint>

namespace Vel {

enum class BoardState : int32_t {
    MainMenu = 0,
    ReportCard = 1,
    Stamps = 2,
    ChartSelect = 3,
    PracticeSelect = 4,
    PlanLanguage = 5,
    PlanMemory = 6,
    PlanMath = 7,
    PlanAnalysis = 8,
    Instructions = 9,
    ReadySetGo = 10,
    Language1 = 11,
    Language2 = 12,
    Language3 = 13,
    Language4 = 14,
    Memory1Memorize = 15,
    Memory1Recall = 16,
    Memory1Review = 17,
    Unused18 = 18,
    Memory2Memorize = 19,
    Memory2Recall = 20,
    Memory3Memorize = 21,
    Memory3Recall = 22,
    Unused23 = 23,
    Memory4Memorize = 24,
    Memory4Query = 25,
    Math1 = 26,
    Math2 = 27,
    Math3 = 28,
    Math4 = 29,
    Analysis1 = 30,
    Unused31 = 31,
    Analysis2Memorize = 32,
    Analysis2Answer = 33,
    Analysis3 = 34,
    Analysis4 = 35,
    TimesUp = 36,
    Results = 37,
    Dialog = 38,
    Options = 39,
    GameMenu = 40,
    Credits = 41,
    ChartView = 42,
    ProfileSelect = 43,
    ProfileNew = 44,
    DailyExam = 45,
    DailyExamResults = 46,
};

inline constexpr int kBoardStateValues = 47;

inline bool IsBoardState(int value) { return value >= 0 && value < kBoardStateValues; }

// What a screen does with the music when it is built or returned to.
enum class StateMusic : int8_t {
    Unchanged = -1,
    Track0 = 0, // menus
    Track1 = 1, // report card and results
    Track2 = 2, // options, game menu and player screens
    Silence = 3, // a test is being played
};

// Common steps a state's tick runs before its own handler, in this order.
enum StateStep : uint8_t {
    kStepClock = 1,  // the test clock, once a second
    kStepMenu = 2,   // the in-test menu button and Escape
    kStepFields = 4, // the text fields' caret and clicks
};

struct StateInfo {
    const char* name;
    StateMusic music;
    uint8_t steps;
};

const StateInfo& InfoOf(BoardState state);
const char* NameOf(BoardState state);

// The states in which a test is being played (the clock runs, the music is silent).
bool IsPlayState(BoardState state);

} // namespace Vel
