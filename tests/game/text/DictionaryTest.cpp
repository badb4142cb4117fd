// The dictionary: its length runs, the search within a length, and the files it refuses.
#include "game/text/Dictionary.h"

#include "tests/game/text/ScratchDir.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using namespace Vel;

// Sorted by length, then byte order; no 4-letter words; the longest are 12 letters.
const std::vector<std::string> kWords = {
    "AN", "AT", "ACE", "ANT", "BAT", "CAT", "ZOO", "ABBEY", "BRAIN", "CLOCK", "QUOTA",
    "ABSTRACTIONS", "BLACKSMITHED", "CONSTRUCTION", "MEMORABILITY", "ZYXWVUTSRQPO",
};

std::string Join(const std::vector<std::string>& words, const char* lineBreak)
{
    std::string text;
    for (const std::string& w : words)
        text += w + lineBreak;
    return text;
}

class DictionaryTest : public testing::Test {
protected:
    DataLoadResult Load(const std::string& content)
    {
        return LoadDictionary(*m_dictionary, m_dir.Write("dictionary.txt", content));
    }

    ScratchDir m_dir;
    std::unique_ptr<Dictionary> m_dictionary = std::make_unique<Dictionary>();
};

TEST_F(DictionaryTest, FindsEveryWordWithLineFeedsCrLfOrNoFinalBreak)
{
    std::string noFinalBreak = Join(kWords, "\n");
    noFinalBreak.pop_back(); // the last word, one of the longest, ends the file
    for (const std::string& content : {Join(kWords, "\n"), Join(kWords, "\r\n"), noFinalBreak}) {
        ASSERT_TRUE(Load(content).ok);
        ASSERT_EQ(m_dictionary->count, int(kWords.size()));
        for (const std::string& word : kWords)
            EXPECT_TRUE(IsWord(*m_dictionary, word)) << word;
    }
}

TEST_F(DictionaryTest, RejectsWhatIsNotInItsLengthRun)
{
    ASSERT_TRUE(Load(Join(kWords, "\n")).ok);
    const char* notWords[] = {
        "",                                 // the empty word
        "ABCD",                             // a length without words
        "AAAAAAAAAAAA", "ZZZZZZZZZZZZ",     // before the first and after the last 12-letter word
        "BRAINS", "BRAI", "ANTS",           // a word plus or minus a letter
        "CONSTRUCTIOM",                     // between two 12-letter words
        "cat",                              // byte for byte: case matters
        "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA",  // 31 letters, past the length table
    };
    for (const char* word : notWords)
        EXPECT_FALSE(IsWord(*m_dictionary, word)) << word;

    const struct {
        int length;
        int first;
        int count;
    } runs[] = {{2, 0, 2}, {3, 2, 5}, {4, -1, 0}, {5, 7, 4}, {12, 11, 5}, {13, -1, 0}, {31, -1, 0}, {-1, -1, 0}};
    for (const auto& r : runs) {
        const LengthRun run = WordsOfLength(*m_dictionary, r.length);
        EXPECT_EQ(run.first, r.first) << r.length;
        EXPECT_EQ(run.count, r.count) << r.length;
    }
}

TEST_F(DictionaryTest, RefusesBrokenFilesNamingTheLine)
{
    const struct {
        const char* name;
        std::string content;
        const char* error;
    } cases[] = {
        {"word past 30 letters", "AB\nABC\n" + std::string(31, 'A') + "\n", "line 3: word longer than 30 letters"},
        {"shorter after longer", "ABC\nAB\n", "line 2: word out of order"},
        {"out of byte order", "AB\nBC\nBB\n", "line 3: word out of order"},
        {"line too long", std::string(300, 'A') + "\n", "line 1: line too long"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const DataLoadResult result = Load(c.content);
        EXPECT_FALSE(result.ok);
        EXPECT_NE(result.error.find(c.error), std::string::npos) << result.error;
    }
}

TEST_F(DictionaryTest, HoldsAtMostItsCapacity)
{
    // Distinct 5-letter words in byte order: base-26 counting.
    std::string content;
    for (int i = 0; i <= kDictionaryCapacity; ++i) {
        std::string word(5, 'A');
        for (int n = i, p = 4; p >= 0; --p, n /= 26)
            word[size_t(p)] = char('A' + n % 26);
        content += word + "\n";
        if (i == kDictionaryCapacity - 1) {
            ASSERT_TRUE(Load(content).ok);
            EXPECT_EQ(m_dictionary->count, kDictionaryCapacity);
            EXPECT_TRUE(IsWord(*m_dictionary, word));
        }
    }
    const DataLoadResult result = Load(content);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find("line 173601: more than 173600 words"), std::string::npos) << result.error;
}

TEST_F(DictionaryTest, MissingFileGivesAnEmptyDictionary)
{
    ASSERT_TRUE(Load("AB\n").ok);
    const DataLoadResult result = LoadDictionary(*m_dictionary, m_dir.File("none.txt"));
    EXPECT_TRUE(result.ok);
    EXPECT_FALSE(result.opened);
    EXPECT_EQ(m_dictionary->count, 0);
    EXPECT_FALSE(IsWord(*m_dictionary, "AB"));
}

} // namespace
