// The smaller data lists: the names of the faces-and-names tests, the shopping items, the
// four-letter words and the credits.
#pragma once

#include "game/text/DataFile.h"

#include <array>
#include <string>

namespace Vel {

inline constexpr int kFirstNamesPerGroup = 25;
inline constexpr int kSurnameCount = 60;
inline constexpr int kNameLines = 2 * kFirstNamesPerGroup + kSurnameCount;

struct NameLists {
    std::array<std::string, kFirstNamesPerGroup> groupA;
    std::array<std::string, kFirstNamesPerGroup> groupB;
    std::array<std::string, kSurnameCount> surnames;
};

// A list with a fixed capacity, one item per line.
template <int Capacity>
struct BoundedList {
    static constexpr int kCapacity = Capacity;
    std::array<std::string, Capacity> items;
    int count = 0;
};

using ShoppingList = BoundedList<400>;
using Alpha4List = BoundedList<512>;
using CreditLines = BoundedList<64>;

// The four-letter-word tests take any four characters of a word.
inline constexpr int kMinAlpha4Length = 4;

// Exactly kNameLines lines: first names of group A, of group B, then surnames; lines after them
// are not read. A shorter file is refused (the tests need every name).
DataLoadResult LoadNames(NameLists& names, const std::string& path);
// Each refuses more lines than the list holds, naming the first line that does not fit.
DataLoadResult LoadShoppingList(ShoppingList& list, const std::string& path);
// Also refuses a word shorter than kMinAlpha4Length.
DataLoadResult LoadAlpha4List(Alpha4List& list, const std::string& path);
DataLoadResult LoadCredits(CreditLines& list, const std::string& path);

} // namespace Vel
