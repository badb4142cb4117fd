// The dictionary the typed-word tests check against: words sorted by length, then byte order,
// with the index of the first word of each length.
#pragma once

#include "game/text/DataFile.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace Vel {

inline constexpr int kDictionaryCapacity = 173600;
inline constexpr int kMaxWordLength = 30;

struct Dictionary {
    // All words back to back; word i is letters[starts[i], starts[i + 1]). One block instead of
    // 173,600 strings keeps the list small and its load fast.
    std::string letters;
    std::vector<uint32_t> starts{0};
    int count = 0;
    // Index of the first word of each length 0..kMaxWordLength, -1 when there is none.
    std::array<int, kMaxWordLength + 1> firstIndex;

    Dictionary() { firstIndex.fill(-1); }
};

// A run of list entries that share one length: [first, first + count).
struct LengthRun {
    int first = -1;
    int count = 0;
};

std::string_view WordAt(const Dictionary& dictionary, int index);
// The words of exactly `length` letters; count 0 for a length with none or out of range.
LengthRun WordsOfLength(const Dictionary& dictionary, int length);

// Binary search among the words of the word's own length. Empty words, words longer than
// kMaxWordLength and lengths without words are never found.
bool IsWord(const Dictionary& dictionary, std::string_view word);

// One word per line. Refused with an error naming the line: a word longer than kMaxWordLength,
// a word out of order (the search relies on the order), more than kDictionaryCapacity words.
DataLoadResult LoadDictionary(Dictionary& dictionary, const std::string& path);

} // namespace Vel
