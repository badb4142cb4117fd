// The keyed text table ("data/resource.txt"): every text the game shows and the position of
// every button and label. An entry's index is its line number from 0 and never changes during
// a run, so screens may keep indices instead of keys.
#pragma once

#include "game/text/DataFile.h"

#include <array>
#include <string>
#include <string_view>

namespace Vel {

inline constexpr int kTextTableSlots = 650;
// One slot fewer than the array is usable: the 650th line ends the load.
inline constexpr int kMaxTextEntries = kTextTableSlots - 1;

struct TextEntry {
    std::string key;
    int x = 0; // pixels on the 800 x 600 screen
    int y = 0;
    std::string text; // "#" in the file becomes a line feed here
};

struct TextTable {
    std::array<TextEntry, kTextTableSlots> entries;
    int count = 0;
};

// One line of the file: key, x, y and text split at the first three commas ("#" already turned
// into line feeds). The key is not trimmed; a missing x or y reads as 0, a missing text as "";
// numbers beyond the int range are clamped.
TextEntry ParseTextLine(std::string_view line);

// Reads the file through the archive layer into `table`, replacing what it held. A missing
// file leaves the table empty; more than kMaxTextEntries lines fail with "KEY_MAX exceeded".
DataLoadResult LoadTextTable(TextTable& table, const std::string& path);

// Index of the first entry whose key equals `key` byte for byte (earlier lines shadow later
// duplicates), -1 when there is none or the key is empty.
int FindText(const TextTable& table, std::string_view key);

// As FindText, but a missing key is a broken installation: FatalError with
// "Could not find resource (<key>) in resource.txt file.".
int Lookup(const TextTable& table, std::string_view key);

} // namespace Vel
