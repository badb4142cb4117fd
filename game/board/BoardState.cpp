// The table of the Board's states.
#include "game/board/BoardState.h"

#include <array>
#include <cstddef>

namespace Vel {
namespace {

constexpr uint8_t kTMF = kStepClock | kStepMenu | kStepFields;
constexpr uint8_t kTM = kStepClock | kStepMenu;
constexpr uint8_t kTF = kStepClock | kStepFields;
using M = StateMusic;

const std::array<StateInfo, kBoardStateValues> kStates{{
    {"MainMenu", M::Track0, 0},
    {"ReportCard", M::Track1, 0},
    {"Stamps", M::Unchanged, 0},
    {"ChartSelect", M::Unchanged, 0},
    {"PracticeSelect", M::Track0, 0},
    {"PlanLanguage", M::Unchanged, 0},
    {"PlanMemory", M::Unchanged, 0},
    {"PlanMath", M::Unchanged, 0},
    {"PlanAnalysis", M::Unchanged, 0},
    {"Instructions", M::Unchanged, 0},
    {"ReadySetGo", M::Unchanged, 0},
    {"Language1", M::Silence, kTMF},
    {"Language2", M::Silence, kTMF},
    {"Language3", M::Silence, kTMF},
    {"Language4", M::Silence, kTM},
    {"Memory1Memorize", M::Silence, 0}, // runs its own memorising clock
    {"Memory1Recall", M::Silence, kTF},
    {"Memory1Review", M::Silence, 0},
    {"Unused18", M::Unchanged, 0},
    {"Memory2Memorize", M::Silence, kTM},
    {"Memory2Recall", M::Silence, kTM},
    {"Memory3Memorize", M::Silence, kTM},
    {"Memory3Recall", M::Silence, kTM},
    {"Unused23", M::Unchanged, 0},
    {"Memory4Memorize", M::Silence, kTM},
    {"Memory4Query", M::Silence, kTM},
    {"Math1", M::Silence, kTM},
    {"Math2", M::Silence, kTM},
    {"Math3", M::Silence, kTM},
    {"Math4", M::Silence, kTM},
    {"Analysis1", M::Silence, kTM},
    {"Unused31", M::Unchanged, 0},
    {"Analysis2Memorize", M::Silence, kTM},
    {"Analysis2Answer", M::Silence, kTM},
    {"Analysis3", M::Silence, kTM},
    {"Analysis4", M::Silence, kTM},
    {"TimesUp", M::Unchanged, 0},
    {"Results", M::Track1, 0},
    {"Dialog", M::Unchanged, 0},
    {"Options", M::Track2, 0},
    {"GameMenu", M::Track2, 0},
    {"Credits", M::Unchanged, 0},
    {"ChartView", M::Unchanged, 0},
    {"ProfileSelect", M::Track2, 0},
    {"ProfileNew", M::Track2, 0},
    {"DailyExam", M::Unchanged, 0},
    {"DailyExamResults", M::Track1, 0},
}};

} // namespace

const StateInfo& InfoOf(BoardState state)
{
    const int v = static_cast<int>(state);
    return kStates[size_t(IsBoardState(v) ? v : static_cast<int>(BoardState::Unused18))];
}

const char* NameOf(BoardState state) { return InfoOf(state).name; }

bool IsPlayState(BoardState state) { return InfoOf(state).music == StateMusic::Silence; }

} // namespace Vel
