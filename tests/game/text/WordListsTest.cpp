// The names, shopping, four-letter-word and credits lists.
#include "game/text/WordLists.h"

#include "tests/game/text/ScratchDir.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

using namespace Vel;

std::string NumberedLines(const std::string& stem, int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += stem + std::to_string(i) + "\n";
    return text;
}

TEST(WordListsTest, NamesFillTheirThreeGroupsInOrder)
{
    ScratchDir dir;
    auto names = std::make_unique<NameLists>();
    // The extra line after the 110th shows that reading stops there.
    std::string content = NumberedLines("NAME", kNameLines) + "EXTRA\n";
    DataLoadResult result = LoadNames(*names, dir.Write("names.txt", content));
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(names->groupA.front(), "NAME0");
    EXPECT_EQ(names->groupA.back(), "NAME24");
    EXPECT_EQ(names->groupB.front(), "NAME25");
    EXPECT_EQ(names->surnames.front(), "NAME50");
    EXPECT_EQ(names->surnames.back(), "NAME109");

    result = LoadNames(*names, dir.Write("short.txt", NumberedLines("NAME", kNameLines - 1)));
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find("109 lines, 110 needed"), std::string::npos) << result.error;
}

struct ListCase {
    const char* name;
    int capacity;
    std::function<DataLoadResult(const std::string&, int& count, std::string& last)> load;
};

template <typename List, DataLoadResult (*Loader)(List&, const std::string&)>
ListCase Case(const char* name)
{
    return {name, List::kCapacity, [](const std::string& path, int& count, std::string& last) {
                auto list = std::make_unique<List>();
                const DataLoadResult result = Loader(*list, path);
                count = list->count;
                last = count > 0 ? list->items[size_t(count - 1)] : "";
                return result;
            }};
}

TEST(WordListsTest, ListsHoldTheirCapacityAndKeepTheLastCharacter)
{
    const ListCase cases[] = {
        Case<ShoppingList, LoadShoppingList>("shopping"),
        Case<Alpha4List, LoadAlpha4List>("alpha4"),
        Case<CreditLines, LoadCredits>("credits"),
    };
    ScratchDir dir;
    for (const ListCase& c : cases) {
        SCOPED_TRACE(c.name);
        int count = 0;
        std::string last;
        // Full, and the last line without its line break keeps all its characters.
        std::string full = NumberedLines("ITEM", c.capacity);
        full.pop_back();
        DataLoadResult result = c.load(dir.Write("full.txt", full), count, last);
        ASSERT_TRUE(result.ok) << result.error;
        EXPECT_EQ(count, c.capacity);
        EXPECT_EQ(last, "ITEM" + std::to_string(c.capacity - 1));

        result = c.load(dir.Write("over.txt", NumberedLines("ITEM", c.capacity + 1)), count, last);
        EXPECT_FALSE(result.ok);
        EXPECT_NE(result.error.find("line " + std::to_string(c.capacity + 1) + ": more than"), std::string::npos)
            << result.error;

        result = c.load(dir.File("missing.txt"), count, last);
        EXPECT_TRUE(result.ok);
        EXPECT_FALSE(result.opened);
        EXPECT_EQ(count, 0);
    }
}

TEST(WordListsTest, Alpha4RefusesWordsShorterThanFour)
{
    ScratchDir dir;
    auto list = std::make_unique<Alpha4List>();
    const DataLoadResult result = LoadAlpha4List(*list, dir.Write("alpha4.txt", "ABLE\r\nACHE\nACT\n"));
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find("line 3: shorter than 4"), std::string::npos) << result.error;
}

} // namespace
