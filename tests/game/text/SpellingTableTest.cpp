// The spelling list: its four fields, the runs by length and its limits.
#include "game/text/SpellingTable.h"

#include "game/text/ErrorLog.h"
#include "tests/game/text/ScratchDir.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace Vel;

class SpellingTableTest : public testing::Test {
protected:
    DataLoadResult Load(const std::string& content)
    {
        return LoadSpellingTable(*m_table, m_dir.Write("spelling.txt", content));
    }

    ScratchDir m_dir;
    std::unique_ptr<SpellingTable> m_table = std::make_unique<SpellingTable>();
};

TEST_F(SpellingTableTest, SplitsFourSpellingsAndGroupsByLength)
{
    ASSERT_TRUE(Load("ACCEPTS,EXCEPTS,ACEPTS,AXCEPTS\n"
                     "BALANCE,BALENCE,BALLANCE,BALANSE\r\n"
                     "CALENDAR,CALENDER,CALANDER,KALENDAR\n"
                     "DEFINITE,DEFINATE,DEFFINITE,DEFINITE, OR NOT\n"
                     "EMBARRASS,EMBARASS,EMBARRAS,EMBAROSS")
                    .ok);
    ASSERT_EQ(m_table->count, 5);
    EXPECT_EQ(m_table->entries[1].spellings[3], "BALANSE");                // CR LF dropped
    EXPECT_EQ(m_table->entries[3].spellings[3], "DEFINITE, OR NOT");       // the rest of the line
    EXPECT_EQ(m_table->entries[4].spellings[3], "EMBAROSS");               // no final line break
    const struct {
        int length;
        int first;
        int count;
    } runs[] = {{7, 0, 2}, {8, 2, 2}, {9, 4, 1}, {10, -1, 0}, {6, -1, 0}};
    for (const auto& r : runs) {
        const LengthRun run = EntriesOfLength(*m_table, r.length);
        EXPECT_EQ(run.first, r.first) << r.length;
        EXPECT_EQ(run.count, r.count) << r.length;
    }
}

std::string Entries(int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += "WORD" + std::to_string(1000 + i) + ",A,B,C\n"; // all 8 letters long
    return text;
}

TEST_F(SpellingTableTest, Holds394Entries)
{
    DataLoadResult result = Load(Entries(kMaxSpellingEntries));
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(m_table->count, 394);
    EXPECT_EQ(EntriesOfLength(*m_table, 8).count, 394);

    result = Load(Entries(kMaxSpellingEntries + 1));
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, "SPELLING_MAX exceeded");
}

TEST(SpellingTableDeathTest, The395thEntryEndsTheGameWithTheMessageLogged)
{
    ScratchDir dir;
    auto table = std::make_unique<SpellingTable>();
    const std::string path = dir.Write("spelling.txt", Entries(kMaxSpellingEntries + 1));
    EXPECT_EXIT(RequireLoaded(LoadSpellingTable(*table, path)), testing::ExitedWithCode(kFatalExitCode), "");
    EXPECT_EQ(ScratchDir::Read(ErrorLogPath()), "SPELLING_MAX exceeded");
}

TEST_F(SpellingTableTest, RefusesBrokenEntriesNamingTheLine)
{
    const struct {
        const char* name;
        std::string content;
        const char* error;
    } cases[] = {
        {"three spellings", "ABC,ABD,ABE,ABF\nABCD,ABCE,ABCF\n", "line 2: needs four spellings"},
        {"empty line", "ABC,ABD,ABE,ABF\n\n", "line 2: needs four spellings"},
        {"correct spelling past 30", std::string(31, 'A') + ",B,C,D\n", "line 1: correct spelling longer than 30"},
        {"shorter after longer", "ABCD,A,B,C\nABC,A,B,C\n", "line 2: entry out of order"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const DataLoadResult result = Load(c.content);
        EXPECT_FALSE(result.ok);
        EXPECT_NE(result.error.find(c.error), std::string::npos) << result.error;
    }
}

} // namespace
