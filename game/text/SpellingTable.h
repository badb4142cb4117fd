// The spelling list of the pick-the-right-spelling test: one correct spelling and three wrong
// ones per entry, grouped by the length of the correct spelling.
#pragma once

#include "game/text/DataFile.h"
#include "game/text/Dictionary.h" // LengthRun, kMaxWordLength

#include <array>
#include <string>

namespace Vel {

inline constexpr int kSpellingSlots = 395;
// The 395th entry ends the load with "SPELLING_MAX exceeded".
inline constexpr int kMaxSpellingEntries = kSpellingSlots - 1;

struct SpellingEntry {
    std::array<std::string, 4> spellings; // [0] is the correct one
};

struct SpellingTable {
    std::array<SpellingEntry, kMaxSpellingEntries> entries;
    int count = 0;
    // Index of the first entry whose correct spelling has each length, -1 when there is none.
    std::array<int, kMaxWordLength + 1> firstIndex;

    SpellingTable() { firstIndex.fill(-1); }
};

// The entries whose correct spelling has exactly `length` letters.
LengthRun EntriesOfLength(const SpellingTable& table, int length);

// One entry per line, four spellings split at the first three commas (the fourth is the rest).
// Refused with an error naming the line: fewer than four spellings, a correct spelling longer
// than kMaxWordLength, an entry shorter than the one before it (the runs by length rely on the
// order); more than kMaxSpellingEntries entries fail with "SPELLING_MAX exceeded".
DataLoadResult LoadSpellingTable(SpellingTable& table, const std::string& path);

} // namespace Vel
