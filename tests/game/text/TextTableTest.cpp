// The text table: line format, capacity, bad lines, lookups and the error log.
#include "game/text/TextTable.h"

#include "framework/archive/PakInterface.h"
#include "game/text/ErrorLog.h"
#include "tests/game/text/ScratchDir.h"
#include "tests/game/text/TinyPak.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <stdexcept>

namespace {

using namespace Vel;

struct ParseCase {
    const char* line;
    const char* key;
    int x;
    int y;
    const char* text;
};

TEST(TextTableTest, ParsesKeyPositionAndText)
{
    const ParseCase cases[] = {
        {"MM_B_PLAY,100,200,Play now", "MM_B_PLAY", 100, 200, "Play now"},
        {"K,1,2,Yes, no, maybe", "K", 1, 2, "Yes, no, maybe"}, // only three commas separate
        {"K ,1,2,t", "K ", 1, 2, "t"},                         // the key is not trimmed
        {"K,  +12,\t-3,t", "K", 12, -3, "t"},
        {"K,abc,7px,t", "K", 0, 7, "t"}, // leading digits count, other text reads 0
        {"K,99999999999999999999,-99999999999999999999,t", "K", INT_MAX, INT_MIN, "t"},
        {"K,5,6,", "K", 5, 6, ""},
        {"K,5,6", "K", 5, 6, ""}, // missing separators: missing parts are 0 and ""
        {"K,5", "K", 5, 0, ""},
        {"K", "K", 0, 0, ""},
        {"", "", 0, 0, ""},
    };
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(c.line);
        const TextEntry entry = ParseTextLine(c.line);
        EXPECT_EQ(entry.key, c.key);
        EXPECT_EQ(entry.x, c.x);
        EXPECT_EQ(entry.y, c.y);
        EXPECT_EQ(entry.text, c.text);
    }
}

// The same bytes must give the same table from disk and from the archive.
const char kEdgeFile[] = "GREETING,10,20,Hello, friend#Welcome back\n"
                         "SPACED ,1,1,blank before the comma\n"
                         "DUP,1,1,first\n"
                         "DUP,2,2,second\n"
                         "\n"
                         "CRLF,30,40,text\r\n"
                         "LAST,5,6,no line feed";

void ExpectEdgeTable(const TextTable& table)
{
    ASSERT_EQ(table.count, 7);
    EXPECT_EQ(table.entries[Lookup(table, "GREETING")].text, "Hello, friend\nWelcome back");
    EXPECT_EQ(FindText(table, "SPACED"), -1);
    EXPECT_EQ(FindText(table, "SPACED "), 1);
    EXPECT_EQ(Lookup(table, "DUP"), 2);
    EXPECT_EQ(table.entries[2].text, "first");
    EXPECT_EQ(table.entries[4].key, ""); // an empty line keeps its slot, so indices stay line numbers
    const TextEntry& crlf = table.entries[Lookup(table, "CRLF")];
    EXPECT_EQ(crlf.x, 30);
    EXPECT_EQ(crlf.y, 40);
    EXPECT_EQ(crlf.text, "text");
    EXPECT_EQ(table.entries[Lookup(table, "LAST")].text, "no line feed");
}

TEST(TextTableTest, LoadsEdgeCasesFromDisk)
{
    ScratchDir dir;
    auto table = std::make_unique<TextTable>();
    const DataLoadResult result = LoadTextTable(*table, dir.Write("resource.txt", kEdgeFile));
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_TRUE(result.opened);
    ExpectEdgeTable(*table);
}

TEST(TextTableTest, LoadsEdgeCasesFromArchive)
{
    ScratchDir dir;
    // The archive stays registered for the rest of the program, so its member has a name no
    // other test reads.
    ASSERT_TRUE(PakInterface::Instance().RegisterArchive(
        dir.Write("text.pak", TinyPak("text-table-test\\resource.txt", kEdgeFile))));
    auto table = std::make_unique<TextTable>();
    // No such file on disk: this can only come from the archive.
    const DataLoadResult result = LoadTextTable(*table, "text-table-test/resource.txt");
    ASSERT_TRUE(result.ok) << result.error;
    ExpectEdgeTable(*table);
}

std::string Lines(int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += "KEY" + std::to_string(i) + ",0,0,text\n";
    return text;
}

TEST(TextTableTest, HoldsAtMost649Entries)
{
    ScratchDir dir;
    auto table = std::make_unique<TextTable>();
    DataLoadResult result = LoadTextTable(*table, dir.Write("full.txt", Lines(kMaxTextEntries)));
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(table->count, 649);
    EXPECT_EQ(Lookup(*table, "KEY648"), 648);

    result = LoadTextTable(*table, dir.Write("over.txt", Lines(kMaxTextEntries + 1)));
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, "KEY_MAX exceeded");
    EXPECT_LE(table->count, kMaxTextEntries);
}

struct LengthCase {
    const char* name;
    std::string third; // the third line of the file
    bool loads;
    bool last = false; // the third line ends the file
};

TEST(TextTableTest, RefusesLinesLongerThanTheReader)
{
    const std::string k254 = "K,0,0," + std::string(248, 'x');
    const LengthCase cases[] = {
        {"254 characters", k254 + "\n", true},
        {"254 characters and CR LF", k254 + "\r\n", true},
        {"254 characters, end of file", k254, true, true},
        {"255 characters", k254 + "x\n", false},
        {"255 characters and CR LF", k254 + "x\r\n", false},
        {"far longer than the buffer", "K," + std::string(2000, 'x') + "\n", false},
    };
    ScratchDir dir;
    for (const LengthCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.Write("long.txt", "A,0,0,a\nB,0,0,b\n" + c.third + (c.last ? "" : "AFTER,0,0,x\n"));
        auto table = std::make_unique<TextTable>();
        const DataLoadResult result = LoadTextTable(*table, path);
        EXPECT_EQ(result.ok, c.loads) << result.error;
        if (c.loads) {
            EXPECT_EQ(table->entries[2].text, std::string(248, 'x'));
        } else {
            EXPECT_NE(result.error.find("line too long"), std::string::npos) << result.error;
            EXPECT_NE(result.error.find(path + " line 3"), std::string::npos) << result.error;
            EXPECT_EQ(FindText(*table, "AFTER"), -1);
        }
    }
}

TEST(TextTableTest, MissingFileLeavesTableEmpty)
{
    ScratchDir dir;
    auto table = std::make_unique<TextTable>();
    table->count = 3;
    const DataLoadResult result = LoadTextTable(*table, dir.File("no-such-file.txt"));
    EXPECT_TRUE(result.ok);
    EXPECT_FALSE(result.opened);
    EXPECT_EQ(table->count, 0);
}

struct FatalExit : std::runtime_error {
    explicit FatalExit(int code) : std::runtime_error("fatal"), exitCode(code) {}
    int exitCode;
};

[[noreturn]] void ThrowOnExit(int code) { throw FatalExit(code); }

TEST(TextTableTest, MissingKeyStopsWithTheKeyInTheErrorLog)
{
    ScratchDir dir;
    auto table = std::make_unique<TextTable>();
    ASSERT_TRUE(LoadTextTable(*table, dir.Write("resource.txt", "DLG_H_QUIT,0,0,Quit?\n")).ok);
    const FatalExitHandler previous = SetFatalExitHandler(ThrowOnExit);
    const struct {
        const char* key;
        const char* logged;
    } cases[] = {
        {"DLG_T_QUIT", "Could not find resource (DLG_T_QUIT) in resource.txt file."},
        {"", "Could not find resource () in resource.txt file."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        try {
            Lookup(*table, c.key);
            ADD_FAILURE() << "Lookup returned for a missing key";
        } catch (const FatalExit& e) {
            EXPECT_EQ(e.exitCode, kFatalExitCode);
        }
        EXPECT_EQ(ScratchDir::Read(ErrorLogPath()), c.logged);
    }
    SetFatalExitHandler(previous);
}

TEST(FatalErrorDeathTest, WritesOnlyTheMessageAndExitsNonZero)
{
    ScratchDir dir; // the forked child writes into this folder too
    dir.Write("userdata/error.log", "an older, longer message");
    EXPECT_EXIT(FatalError("SPELLING_MAX exceeded"), testing::ExitedWithCode(kFatalExitCode), "SPELLING_MAX exceeded");
    EXPECT_EQ(ScratchDir::Read(ErrorLogPath()), "SPELLING_MAX exceeded");
}

TEST(FatalErrorDeathTest, CreatesTheMissingUserDataFolder)
{
    ScratchDir dir;
    ASSERT_FALSE(std::filesystem::exists(dir.Path() / "userdata"));
    EXPECT_EXIT(FatalError("KEY_MAX exceeded"), testing::ExitedWithCode(kFatalExitCode), "");
    EXPECT_EQ(ScratchDir::Read(ErrorLogPath()), "KEY_MAX exceeded");
}

} // namespace
