// Checks the shipped data files (data/*.txt) against what the game's code needs of them: every
// text key the screens and the owl look up, texts that fit the owl's 255-byte buffer, format
// texts with exactly the conversions their callers pass, word lists in the order the searches
// rely on and large enough for the tests' random draws, and a famous-birthday list the greeting
// can read. Each failure names the file, the line and, for the text table, the key.
#include "game/text/Dictionary.h"
#include "game/text/SpellingTable.h"
#include "game/text/TextTable.h"
#include "game/text/WordLists.h"

#include "tests/game/text/ScratchDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace Vel;

const std::string kDataDir = std::string(QV_SOURCE_DIR) + "/data/";

// The owl copies a spoken text, with the player's name put in for "%s", into 256 bytes.
constexpr size_t kOwlTextBytes = 255;
constexpr size_t kLongestPlayerName = 31;

const char* const kStems[16] = {"LANGUAGE1", "MEMORY1", "MATH1", "ANALYSIS1", "LANGUAGE2", "MEMORY2",
                                "MATH2", "ANALYSIS2", "LANGUAGE3", "MEMORY3", "MATH3", "ANALYSIS3",
                                "LANGUAGE4", "MEMORY4", "MATH4", "ANALYSIS4"};
const char* const kCategories[4] = {"LANGUAGE", "MEMORY", "MATH", "ANALYSIS"};
// The tests a new player starts with never show a locked button.
const std::set<std::string> kNeverLocked = {"LANGUAGE4", "MEMORY2", "MATH1", "ANALYSIS1"};

// Collects every problem of one check so a single run lists them all.
class Problems {
public:
    void Add(const std::string& file, int line, const std::string& key, const std::string& what)
    {
        std::ostringstream out;
        out << file;
        if (line > 0)
            out << " line " << line;
        if (!key.empty())
            out << " key " << key;
        out << ": " << what;
        m_list.push_back(out.str());
    }
    bool Empty() const { return m_list.empty(); }
    std::string Report() const
    {
        std::string text;
        for (const std::string& item : m_list)
            text += item + "\n";
        return text;
    }

private:
    std::vector<std::string> m_list;
};

std::vector<std::string> RawLines(const std::string& name, Problems& problems)
{
    std::ifstream in(kDataDir + name, std::ios::binary);
    if (!in) {
        problems.Add(name, 0, "", "cannot be opened");
        return {};
    }
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.empty() || bytes.back() != '\n')
        problems.Add(name, 0, "", "the last line does not end with a line feed");
    std::vector<std::string> lines;
    std::string line;
    for (char c : bytes) {
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
        } else {
            line += c;
        }
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

// The loaders read lines of up to 254 characters; the fonts hold printable ASCII only.
void CheckLines(const std::string& name, const std::vector<std::string>& lines, Problems& problems)
{
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line.size() > size_t(kMaxDataLineLength))
            problems.Add(name, int(i + 1), "", std::to_string(line.size()) + " characters, more than 254");
        for (unsigned char c : line)
            if (c < 0x20 || c > 0x7e) {
                problems.Add(name, int(i + 1), "", "holds a byte outside printable ASCII");
                break;
            }
    }
}

TEST(DataFilesTest, EveryFileHasShortPrintableLinesEndingInLineFeeds)
{
    Problems problems;
    for (const char* name : {"resource.txt", "dictionary.txt", "names.txt", "shopping.txt", "alpha4.txt",
                             "spelling.txt", "credits.txt", "birthdays.txt"})
        CheckLines(name, RawLines(name, problems), problems);
    EXPECT_TRUE(problems.Empty()) << problems.Report();
}

// ---------------------------------------------------------------- text table

struct LoadedTable {
    std::unique_ptr<TextTable> table = std::make_unique<TextTable>();
    std::map<std::string, int> index; // key -> first entry

    std::optional<std::string> Text(const std::string& key) const
    {
        const auto found = index.find(key);
        if (found == index.end())
            return std::nullopt;
        return table->entries[size_t(found->second)].text;
    }
};

LoadedTable LoadTable()
{
    LoadedTable loaded;
    ScratchDir home; // a load error may touch the user data folder; keep it private
    const DataLoadResult result = LoadTextTable(*loaded.table, kDataDir + "resource.txt");
    EXPECT_TRUE(result.ok) << result.error;
    EXPECT_TRUE(result.opened);
    for (int i = 0; i < loaded.table->count; ++i)
        loaded.index.emplace(loaded.table->entries[size_t(i)].key, i);
    return loaded;
}

std::vector<std::string> RequiredKeys()
{
    std::vector<std::string> keys = {
        // Resolved once when the board starts.
        "DLG_H_QUIT", "DLG_T_QUIT", "DLG_H_RESETSCORES", "DLG_T_RESETSCORES", "DLG_H_MAINMENU",
        "DLG_T_MAINMENU", "DLG_H_PROFILEFULL", "DLG_T_PROFILEFULL", "DLG_H_PROFILENODELETE",
        "DLG_T_PROFILENODELETE", "DLG_H_PROFILEDELETE", "DLG_T_PROFILEDELETE", "RS_T_GRADE", "TU_TIMES_UP",
        "GR_READY", "GR_SET", "GR_GO", "ANALYSIS1_QUERY1", "ANALYSIS1_QUERY2", "ANALYSIS1_QUERY3",
        "ANALYSIS1_BLACK", "ANALYSIS1_RED", "ANALYSIS1_BLUE", "ANALYSIS1_GREEN", "GB_T_MEMORY3_SELECT",
        "RS_T_NEW_STAMP", "RS_T_UNLOCKED",
        // Menus, options, credits, dialogs, players.
        "DLG_B_YES", "DLG_B_NO", "DLG_B_OK", "MM_B_DAILYEXAM", "MM_B_PRACTICE", "MM_B_REPORTCARD",
        "MM_B_OPTIONS", "MM_B_QUIT", "MM_B_ENROL", "PS_H_TITLE", "PS_B_LANGUAGE", "PS_B_MEMORY", "PS_B_MATH",
        "PS_B_ANALYSIS", "PS_B_BACK", "OP_H_TITLE", "OP_T_MUSIC", "OP_T_SOUND", "OP_T_FULLSCREEN",
        "OP_T_VOICE", "OP_B_CREDITS", "OP_B_BACK", "GM_H_TITLE", "GM_B_MAINMENU", "GM_B_OPTIONS",
        "GM_B_CONTINUE", "CS_B_DONE", "PR_B_NEW", "PR_B_ACCEPT", "PR_B_DELETE", "PR_B_EDIT",
        "PR_T_SELECTPLAYER", "PRNEW_B_ACCEPT", "PRNEW_H_TITLE", "PRNEW_T_BIRTHDATE", "PRNEW_T_MM",
        "PRNEW_T_DD", "PRNEW_T_YYYY",
        // Instructions, tests, results, exam, report card, stamps, charts.
        "IS_B_STARTTEST", "IS_B_BACK", "IS_B_QUIT", "GB_B_MENU", "GB_B_LANGUAGE1_SUBMIT",
        "GB_B_LANGUAGE1_SKIP", "GB_T_LANGUAGE1_STARTSWITH", "GB_T_LANGUAGE1_ENDSWITH",
        "GB_T_LANGUAGE1_MUSTBE5CHARS", "GB_T_LANGUAGE1_NOTVALID", "GB_T_LANGUAGE1_NOTAWORD",
        "GB_T_LANGUAGE3_NOTVALID", "GB_T_LANGUAGE3_ALREADY", "GB_B_MEMORY1_MEMORIZED", "GB_B_MEMORY1_EXIT",
        "GB_B_MEMORY1_SUBMIT", "GB_B_MEMORY1_CONTINUE", "GB_B_MEMORY1_ALREADY", "GB_B_MEMORY1_NOTINLIST",
        "GB_B_MEMORY2_DONE", "GB_B_MEMORY3_DONE", "GB_B_MEMORY4_DONE", "GB_B_ANALYSIS2_DONE",
        "RS_B_CONTINUE", "RS_T_CORRECT", "RS_T_MISTAKES", "RS_T_ACCURACY", "DE_H_TITLE", "DE_B_STARTEXAM",
        "DE_B_BACK", "DER_H_TITLE", "DER_B_CONTINUE", "RC_H_TITLE", "RC_B_STAMPS", "RC_B_CHARTS", "RC_B_BACK",
        "STAMP_H_TITLE", "STAMP_B_BACK", "CHART_H_TITLE", "CHART_B_BACK", "CHART_B_DAILYEXAM",
        "CHART_B_PREV_MONTH", "CHART_B_NEXT_MONTH", "CHART_B_PREV_TEST", "CHART_B_NEXT_TEST",
        "CHART_B_COMPARE", "CHART_B_DONE", "CHART_B_TRYAGAIN",
        // What the owl says outside the numbered families.
        "OWL_INS_ALREADYPLAYED1", "OWL_INS_ALREADYPLAYED2", "OWL_INS_LANGUAGE1RECAP", "OWL_INS_LANGUAGE2RECAP",
        "OWL_INS_LANGUAGE3RECAP", "OWL_INS_MEMORY1RECAP", "OWL_INS_MEMORY4RECAP", "OWL_INS_MATH1RECAP",
        "OWL_INS_MATH2RECAP", "OWL_INS_MATH4RECAP", "OWL_INS_ANALYSIS4D", "OWL_DAILYEXAM1", "OWL_DAILYEXAM2",
        "OWL_DAILYEXAM3", "OWL_DAILYEXAMRESULTSCHART", "OWL_RC1", "OWL_RC2", "OWL_STAMP1", "OWL_START1",
        "OWL_START2", "OWL_WELCOME1A", "OWL_WELCOME1B", "OWL_WELCOME1C", "OWL_WELCOME1D", "OWL_BIRTHDAY1A",
        "OWL_BIRTHDAY1B", "OWL_LONGTIME90", "OWL_LONGTIME60", "OWL_LONGTIME30", "OWL_LONGTIME21",
        "OWL_LONGTIME14", "OWL_LONGTIME7", "OWL_LONGTIME3", "OWL_LONGTIME2", "OWL_WELCOMENIGHT3",
        "OWL_WELCOMEMORNING1", "OWL_WELCOMEMORNING2", "OWL_WELCOMELUNCH", "OWL_WELCOMEAFTERNOON",
        "OWL_WELCOMEDINNER", "OWL_WELCOMENIGHT1", "OWL_WELCOMENIGHT2", "OWL_EVERYDAY", "OWL_BIRTHDAYZEMLO",
        "OWL_CHRISTMAS", "OWL_HOLIDAYS1", "OWL_HOLIDAYS2", "OWL_HOLIDAYS3", "OWL_NEWYEAR"};
    auto numbered = [&keys](const std::string& prefix, int first, int last, int step, const std::string& suffix) {
        for (int n = first; n <= last; n += step)
            keys.push_back(prefix + std::to_string(n) + suffix);
    };
    numbered("JOKE", 1, 55, 1, "");
    numbered("JOKE", 1, 55, 1, "B");
    numbered("STAMP", 1, 10, 1, "_ABOUT");
    numbered("RESULTS", 0, 100, 10, "");
    numbered("FAMEBIRTHDAY", 1, 3, 1, "");
    numbered("OWL_RESULTS_", 1, 5, 1, "");
    numbered("OWL_DAILYEXAMRESULTS_", 1, 5, 1, "");
    numbered("OWL_RESULTS_STAMP", 1, 10, 1, "");
    numbered("MEMORY4_QUERY", 1, 8, 1, "");
    numbered("ANALYSIS3_QUERY", 1, 3, 1, "");
    numbered("GB_T_MATH3_Q", 1, 7, 1, "");
    for (const char* suffix : {"A", "B", "C", "D", "E", "F", "G"}) {
        keys.push_back(std::string("OWL_START1") + suffix);
        keys.push_back(std::string("OWL_START2") + suffix);
    }
    for (const char* month : {"JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"})
        keys.push_back(std::string("CHART_T_") + month);
    for (const char* category : kCategories)
        keys.push_back(std::string("OWL_UNLOCK_") + category + "B");
    for (const std::string stem : kStems) {
        for (const char* prefix : {"GB_H_", "IS_H_TITLE_", "DE_H_TITLE_", "RS_H_", "CHART_B_"})
            keys.push_back(prefix + stem + (std::string(prefix) == "GB_H_" ? "_TITLE" : ""));
        if (!kNeverLocked.count(stem)) {
            keys.push_back("CHART_B_" + stem + "LOCKED");
            keys.push_back("OWL_UNLOCK_" + stem);
        }
    }
    const char* const planPrefixes[4] = {"PLAN", "PMEM", "PMATH", "PANA"};
    for (int c = 0; c < 4; ++c) {
        const std::string prefix = planPrefixes[c];
        keys.push_back(prefix + "_B_BACK");
        keys.push_back(prefix + "_H_TITLE");
        for (int n = 1; n <= 4; ++n) {
            const std::string stem = kCategories[c] + std::to_string(n);
            keys.push_back(prefix + "_B_" + stem);
            keys.push_back(prefix + "_B_" + stem + "_RULES");
            if (!kNeverLocked.count(stem)) {
                keys.push_back(prefix + "_B_" + stem + "LOCKED");
                keys.push_back(prefix + "_B_" + stem + "_RULESLOCKED");
            }
        }
    }
    return keys;
}

// The owl reads each test's rules page by page; a page beyond the count is never shown.
int InstructionPages(const std::string& stem)
{
    if (stem == "LANGUAGE1")
        return 4;
    if (stem == "LANGUAGE3")
        return 2;
    return 3;
}

TEST(DataFilesTest, TextTableHoldsEveryKeyTheGameLooksUpOnce)
{
    const LoadedTable loaded = LoadTable();
    Problems problems;
    std::set<std::string> seen;
    for (int i = 0; i < loaded.table->count; ++i) {
        const std::string& key = loaded.table->entries[size_t(i)].key;
        if (key.empty() || key.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_") != std::string::npos)
            problems.Add("resource.txt", i + 1, key, "is not a key of capitals, digits and underscores");
        // A second line with the same key is shadowed by the first and never read.
        if (!seen.insert(key).second)
            problems.Add("resource.txt", i + 1, key, "repeats an earlier key");
    }
    for (const std::string& key : RequiredKeys())
        if (!loaded.index.count(key))
            problems.Add("resource.txt", 0, key, "is missing");
    for (const std::string stem : kStems) {
        const int pages = InstructionPages(stem);
        for (int page = 0; page < 5; ++page) {
            const std::string key = "OWL_INS_" + stem + char('A' + page);
            const bool recap = key == "OWL_INS_ANALYSIS4D"; // ANALYSIS4's recap shares the page pattern
            if (page < pages && !loaded.index.count(key))
                problems.Add("resource.txt", 0, key, "is missing (instruction page)");
            if (page >= pages && !recap && loaded.index.count(key))
                problems.Add("resource.txt", loaded.index.at(key) + 1, key,
                             "is a page the instructions never show (" + std::to_string(pages) + " pages)");
        }
    }
    EXPECT_LE(loaded.table->count, kMaxTextEntries);
    EXPECT_TRUE(problems.Empty()) << problems.Report();
}

bool IsOwlText(const std::string& key)
{
    static const std::set<std::string> inTest = {
        "GB_T_LANGUAGE1_MUSTBE5CHARS", "GB_T_LANGUAGE1_NOTVALID", "GB_T_LANGUAGE1_NOTAWORD",
        "GB_T_LANGUAGE3_NOTVALID", "GB_T_LANGUAGE3_ALREADY", "GB_B_MEMORY1_ALREADY", "GB_B_MEMORY1_NOTINLIST"};
    auto starts = [&key](const char* prefix) { return key.rfind(prefix, 0) == 0; };
    const bool stampAbout = starts("STAMP") && key.size() > 6 && key.compare(key.size() - 6, 6, "_ABOUT") == 0;
    return starts("OWL_") || starts("JOKE") || starts("FAMEBIRTHDAY") || starts("BIRTH") || stampAbout ||
           inTest.count(key);
}

// The printf conversions of a format text ("d" for "%d" or "%i", "s", "c"), or nullopt when it
// holds one the safe formatter cannot check ("%n", "*" widths, a lone "%" at the end).
std::optional<std::string> Conversions(const std::string& text)
{
    std::string found;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%')
            continue;
        if (++i >= text.size())
            return std::nullopt;
        if (text[i] == '%')
            continue;
        while (i < text.size() && std::strchr("-+ #0", text[i]))
            ++i;
        while (i < text.size() && (std::isdigit((unsigned char)text[i]) || text[i] == '.'))
            ++i;
        if (i >= text.size() || !std::strchr("dicsuxX", text[i]))
            return std::nullopt;
        found += text[i] == 'i' ? 'd' : text[i];
    }
    return found;
}

TEST(DataFilesTest, FormatTextsCarryExactlyTheConversionsTheirCallersPass)
{
    const LoadedTable loaded = LoadTable();
    std::map<std::string, std::string> expected = {
        {"RS_T_GRADE", "d"},       {"ANALYSIS1_QUERY1", "sc"}, {"ANALYSIS1_QUERY2", "s"},
        {"ANALYSIS1_QUERY3", "c"}, {"GB_T_MATH3_Q1", "d"},     {"GB_T_MATH3_Q2", "d"},
        {"GB_T_MATH3_Q3", "d"},    {"GB_T_MATH3_Q4", ""},      {"GB_T_MATH3_Q5", ""},
        {"GB_T_MATH3_Q6", "d"},    {"GB_T_MATH3_Q7", "d"}};
    for (const std::string stem : kStems)
        expected["DE_H_TITLE_" + stem] = "d";
    Problems problems;
    for (const auto& [key, conversions] : expected) {
        const std::optional<std::string> text = loaded.Text(key);
        if (!text)
            continue; // reported by the key check
        const std::optional<std::string> found = Conversions(*text);
        const int line = loaded.index.at(key) + 1;
        if (!found)
            problems.Add("resource.txt", line, key, "has a conversion the formatter cannot check");
        else if (*found != conversions)
            problems.Add("resource.txt", line, key, "has conversions \"" + *found + "\", wanted \"" + conversions + "\"");
    }
    EXPECT_TRUE(problems.Empty()) << problems.Report();
}

TEST(DataFilesTest, OwlTextsFitTheBalloonBufferWithTheLongestName)
{
    const LoadedTable loaded = LoadTable();
    Problems problems;
    for (int i = 0; i < loaded.table->count; ++i) {
        const TextEntry& entry = loaded.table->entries[size_t(i)];
        if (!IsOwlText(entry.key))
            continue;
        const std::string& text = entry.text;
        const size_t percent = text.find('%');
        // The owl formats a text only when it holds "%s", with the name as the one argument, so
        // any other percent sign would either show raw or read a missing argument.
        if (percent != std::string::npos &&
            (text.compare(percent, 2, "%s") != 0 || text.find('%', percent + 1) != std::string::npos))
            problems.Add("resource.txt", i + 1, entry.key, "may hold one \"%s\" and no other percent sign");
        const size_t bytes = text.size() + (percent == std::string::npos ? 0 : kLongestPlayerName - 2);
        if (bytes > kOwlTextBytes)
            problems.Add("resource.txt", i + 1, entry.key,
                         std::to_string(bytes) + " bytes with a 31-character name, more than 255");
        // The balloon reveals a colour code as 9 bytes at once; anything but a complete code
        // would step past the end of the text.
        for (size_t at = text.find('^'); at != std::string::npos; at = text.find('^', at + 8)) {
            const bool code = at + 7 < text.size() && text[at + 7] == '^' &&
                              std::all_of(text.begin() + long(at) + 1, text.begin() + long(at) + 7,
                                          [](char c) { return std::isxdigit((unsigned char)c); });
            if (!code) {
                problems.Add("resource.txt", i + 1, entry.key, "has a \"^\" that does not start a ^RRGGBB^ code");
                break;
            }
        }
    }
    EXPECT_TRUE(problems.Empty()) << problems.Report();
}

// The rules pages must say what the grading does: the clock and the count for full marks.
TEST(DataFilesTest, InstructionsStateEachTestsTimeAndFullMarks)
{
    struct Rules {
        const char* stem;
        std::vector<std::string> phrases;
    };
    const Rules rules[] = {
        {"LANGUAGE1", {"90 seconds", "15 ", "SKIP", "at least 5 letters"}},
        {"LANGUAGE2", {"90 seconds", "30 right", "every 6 right"}},
        {"LANGUAGE3", {"90 seconds", "20 words"}},
        {"LANGUAGE4", {"90 seconds", "55 more", "minus"}},
        {"MEMORY1", {"90 seconds", "120 seconds", "21"}},
        {"MEMORY2", {"90 seconds", "25 right", "every 5 right"}},
        {"MEMORY3", {"60 seconds", "20 right", "every 5 right"}},
        {"MEMORY4", {"90 seconds", "30 right", "every 6 right"}},
        {"MATH1", {"60 seconds", "36 right", "every 6 right"}},
        {"MATH2", {"60 seconds", "25 right", "every 6 right", "circle 1", "triangle 3", "square 4", "hexagon 6",
                   "star 10"}},
        {"MATH3", {"60 seconds", "25 right"}},
        {"MATH4", {"60 seconds", "30 right", "every 6 right"}},
        {"ANALYSIS1", {"60 seconds", "20 right"}},
        {"ANALYSIS2", {"90 seconds", "30 right", "every 3 right"}},
        {"ANALYSIS3", {"90 seconds", "40 right", "every 3 grids"}},
        {"ANALYSIS4", {"60 seconds", "50 right"}},
    };
    const LoadedTable loaded = LoadTable();
    Problems problems;
    for (const Rules& rule : rules) {
        std::string pages;
        for (int page = 0; page < InstructionPages(rule.stem); ++page)
            pages += loaded.Text(std::string("OWL_INS_") + rule.stem + char('A' + page)).value_or("") + " ";
        for (const std::string& phrase : rule.phrases)
            if (pages.find(phrase) == std::string::npos)
                problems.Add("resource.txt", 0, std::string("OWL_INS_") + rule.stem + "A..",
                             "the pages do not say \"" + phrase + "\"");
    }
    EXPECT_TRUE(problems.Empty()) << problems.Report();
}

std::string Lower(std::string text)
{
    for (char& c : text)
        c = char(std::tolower((unsigned char)c));
    return text;
}

TEST(DataFilesTest, ColourAndCardTextsNameWhatIsDrawn)
{
    const LoadedTable loaded = LoadTable();
    Problems problems;
    // The colour-word tests draw index 2 in pink (255, 105, 180), whatever its key says.
    const std::pair<const char*, const char*> colours[] = {
        {"ANALYSIS1_BLACK", "black"}, {"ANALYSIS1_RED", "red"}, {"ANALYSIS1_BLUE", "pink"}, {"ANALYSIS1_GREEN", "green"}};
    for (const auto& [key, drawn] : colours)
        if (Lower(loaded.Text(key).value_or("")) != drawn)
            problems.Add("resource.txt", 0, key, std::string("must name the colour drawn, ") + drawn);

    // The card art: kind k is a shape in a colour, so that each query's pair of kinds shares
    // exactly one property.
    const std::pair<std::string, std::string> kinds[8] = {
        {"red", "square"},  {"green", "star"},    {"blue", "circle"}, {"yellow", "triangle"},
        {"red", "circle"},  {"green", "triangle"}, {"blue", "square"}, {"yellow", "star"}};
    const std::pair<int, int> queries[8] = {{0, 4}, {1, 5}, {2, 6}, {3, 7}, {0, 6}, {1, 7}, {3, 5}, {2, 4}};
    const std::vector<std::string> words = {"red", "green", "blue", "yellow", "square", "star", "circle", "triangle"};
    for (int q = 0; q < 8; ++q) {
        const auto [a, b] = queries[q];
        const std::string shared = kinds[a].first == kinds[b].first ? kinds[a].first : kinds[a].second;
        ASSERT_TRUE(kinds[a].first == kinds[b].first || kinds[a].second == kinds[b].second);
        const std::string key = "MEMORY4_QUERY" + std::to_string(q + 1);
        const std::string text = Lower(loaded.Text(key).value_or(""));
        for (const std::string& word : words) {
            const bool named = text.find(word) != std::string::npos;
            if (named != (word == shared))
                problems.Add("resource.txt", 0, key, "must ask about \"" + shared + "\" only (kinds " +
                                                         std::to_string(a) + " and " + std::to_string(b) + ")");
        }
    }
    EXPECT_TRUE(problems.Empty()) << problems.Report();
}

// Button cel sizes of the art (one cel of each style's image); the owl's balloon is 584 x 172.
struct Size {
    int w, h;
};
Size StyleSize(int style)
{
    switch (style) {
    case 0: case 1: return {256, 60};
    case 2: case 3: return {160, 48};
    case 4: case 5: return {160, 48};
    default: return {112, 48}; // 9, 10: the chart buttons
    }
}

struct Rect {
    int left, top, right, bottom; // exclusive right and bottom
    bool Overlaps(const Rect& o) const { return left < o.right && o.left < right && top < o.bottom && o.top < bottom; }
};

struct Screen {
    const char* name;
    std::vector<std::pair<std::string, int>> buttons; // key, style
    std::vector<Rect> fixed;                          // areas the screen draws or hit-tests itself
};

std::vector<Screen> Screens()
{
    const Rect twoByTwo{205, 417, 594, 590}, textField{48, 396, 728, 492}, chartArea{68, 80, 772, 522};
    std::vector<Screen> screens = {
        {"main menu", {{"MM_B_DAILYEXAM", 0}, {"MM_B_PRACTICE", 0}, {"MM_B_REPORTCARD", 0}, {"MM_B_OPTIONS", 2},
                       {"MM_B_QUIT", 2}, {"MM_B_ENROL", 2}}, {{8, 8, 592, 180}}},
        {"practice", {{"PS_B_LANGUAGE", 0}, {"PS_B_MEMORY", 0}, {"PS_B_MATH", 0}, {"PS_B_ANALYSIS", 0},
                      {"PS_B_BACK", 2}}, {}},
        {"instructions", {{"IS_B_STARTTEST", 1}, {"IS_B_BACK", 2}}, {{8, 72, 592, 244}}},
        {"exam instructions", {{"IS_B_STARTTEST", 1}, {"IS_B_QUIT", 2}}, {{8, 72, 592, 244}}},
        {"options", {{"OP_B_CREDITS", 2}, {"OP_B_BACK", 2}},
         {{376, 171, 520, 204}, {376, 213, 520, 246}, {468, 260, 505, 297}, {468, 299, 505, 336}}},
        {"game menu", {{"GM_B_MAINMENU", 2}, {"GM_B_OPTIONS", 2}, {"GM_B_CONTINUE", 2}}, {}},
        {"yes/no dialog", {{"DLG_B_YES", 2}, {"DLG_B_NO", 2}}, {{210, 248, 570, 348}}},
        {"OK dialog", {{"DLG_B_OK", 2}}, {{210, 248, 570, 348}}},
        {"credits", {{"CS_B_DONE", 2}}, {}},
        {"players", {{"PR_B_NEW", 2}, {"PR_B_ACCEPT", 2}, {"PR_B_DELETE", 2}, {"PR_B_EDIT", 2}}, {{256, 180, 512, 372}}},
        {"new player", {{"PRNEW_B_ACCEPT", 2}}, {{192, 124, 593, 221}, {180, 306, 613, 403}}},
        {"word ends", {{"GB_B_MENU", 2}, {"GB_B_LANGUAGE1_SUBMIT", 2}, {"GB_B_LANGUAGE1_SKIP", 2}}, {textField}},
        {"eight letters", {{"GB_B_MENU", 2}, {"GB_B_LANGUAGE1_SUBMIT", 2}}, {textField}},
        {"shopping memorise", {{"GB_B_MEMORY1_MEMORIZED", 2}}, {}},
        {"shopping recall", {{"GB_B_MEMORY1_EXIT", 2}, {"GB_B_MEMORY1_SUBMIT", 2}}, {{48, 326, 728, 422}}},
        {"shopping review", {{"GB_B_MEMORY1_CONTINUE", 2}}, {}},
        {"faces memorise", {{"GB_B_MENU", 2}, {"GB_B_MEMORY2_DONE", 2}}, {}},
        {"number memorise", {{"GB_B_MENU", 2}, {"GB_B_MEMORY3_DONE", 2}}, {}},
        {"cards memorise", {{"GB_B_MENU", 2}, {"GB_B_MEMORY4_DONE", 2}}, {{28, 76, 768, 516}}},
        {"face target", {{"GB_B_MENU", 2}, {"GB_B_ANALYSIS2_DONE", 2}}, {}},
        {"answer boxes", {{"GB_B_MENU", 2}}, {twoByTwo}},
        {"results", {{"RS_B_CONTINUE", 2}}, {{626, 90, 754, 218}}},
        {"exam start", {{"DE_B_STARTEXAM", 0}, {"DE_B_BACK", 2}}, {{8, 72, 592, 244}}},
        {"exam results", {{"DER_B_CONTINUE", 2}}, {}},
        {"report card", {{"RC_B_STAMPS", 0}, {"RC_B_CHARTS", 0}, {"RC_B_BACK", 2}}, {{8, 72, 592, 244}}},
        {"stamps", {{"STAMP_B_BACK", 2}}, {{48, 256, 752, 529}}},
        {"chart", {{"CHART_B_BACK", 2}, {"CHART_B_PREV_MONTH", 9}, {"CHART_B_NEXT_MONTH", 9}, {"CHART_B_PREV_TEST", 9},
                   {"CHART_B_NEXT_TEST", 9}, {"CHART_B_COMPARE", 9}}, {chartArea}},
        {"chart after a result", {{"CHART_B_DONE", 9}, {"CHART_B_TRYAGAIN", 9}}, {chartArea}},
    };
    const char* const planPrefixes[4] = {"PLAN", "PMEM", "PMATH", "PANA"};
    for (int c = 0; c < 4; ++c)
        for (const bool locked : {false, true}) {
            Screen plan{"test list", {}, {}};
            for (int n = 1; n <= 4; ++n) {
                const std::string stem = kCategories[c] + std::to_string(n);
                const bool useLocked = locked && !kNeverLocked.count(stem);
                plan.buttons.push_back({std::string(planPrefixes[c]) + "_B_" + stem + (useLocked ? "LOCKED" : ""), 0});
                plan.buttons.push_back({std::string(planPrefixes[c]) + "_B_" + stem + (useLocked ? "_RULESLOCKED" : "_RULES"), 4});
            }
            plan.buttons.push_back({std::string(planPrefixes[c]) + "_B_BACK", 2});
            screens.push_back(plan);
        }
    for (const bool locked : {false, true}) {
        Screen charts{"chart choice", {{"CHART_B_BACK", 2}, {"CHART_B_DAILYEXAM", 2}}, {}};
        for (const std::string stem : kStems)
            charts.buttons.push_back({"CHART_B_" + stem + (locked && !kNeverLocked.count(stem) ? "LOCKED" : ""), 2});
        screens.push_back(charts);
    }
    return screens;
}

TEST(DataFilesTest, ButtonsOfAScreenStayOnScreenAndApart)
{
    const LoadedTable loaded = LoadTable();
    Problems problems;
    for (const Screen& screen : Screens()) {
        std::vector<std::pair<std::string, Rect>> placed;
        for (const auto& [key, style] : screen.buttons) {
            const auto found = loaded.index.find(key);
            if (found == loaded.index.end())
                continue; // reported by the key check
            const TextEntry& entry = loaded.table->entries[size_t(found->second)];
            const Size size = StyleSize(style);
            const Rect rect{entry.x, entry.y, entry.x + size.w, entry.y + size.h};
            const int line = found->second + 1;
            if (rect.left < 0 || rect.top < 0 || rect.right > 800 || rect.bottom > 600)
                problems.Add("resource.txt", line, key, std::string("leaves the screen (") + screen.name + ")");
            if (entry.text.empty() || entry.text.find('\n') != std::string::npos)
                problems.Add("resource.txt", line, key, "a caption is one line of text");
            for (const auto& [otherKey, other] : placed)
                if (rect.Overlaps(other))
                    problems.Add("resource.txt", line, key, "overlaps " + otherKey + " (" + screen.name + ")");
            for (const Rect& area : screen.fixed)
                if (rect.Overlaps(area))
                    problems.Add("resource.txt", line, key, std::string("covers what the ") + screen.name + " screen draws");
            placed.push_back({key, rect});
        }
    }
    // Labels are drawn at their baseline, so the first line must sit below the top edge.
    for (int i = 0; i < loaded.table->count; ++i) {
        const TextEntry& entry = loaded.table->entries[size_t(i)];
        const bool label = entry.key.find("_H_") != std::string::npos || entry.key.find("_T_") != std::string::npos;
        if (label && (entry.x != 0 || entry.y != 0) && (entry.x < 0 || entry.x >= 800 || entry.y < 24 || entry.y >= 600))
            problems.Add("resource.txt", i + 1, entry.key, "label position is off the screen");
    }
    EXPECT_TRUE(problems.Empty()) << problems.Report();
}

// ---------------------------------------------------------------- word lists

bool UpperLetters(const std::string& word, bool spaces = false)
{
    if (word.empty() || word.front() == ' ' || word.back() == ' ' || word.find("  ") != std::string::npos)
        return false;
    return std::all_of(word.begin(), word.end(), [spaces](char c) { return (c >= 'A' && c <= 'Z') || (spaces && c == ' '); });
}

struct Dictionaries {
    std::unique_ptr<Dictionary> dictionary = std::make_unique<Dictionary>();
    Dictionaries()
    {
        ScratchDir home;
        const DataLoadResult result = LoadDictionary(*dictionary, kDataDir + "dictionary.txt");
        EXPECT_TRUE(result.ok) << result.error;
    }
};

TEST(DataFilesTest, DictionaryRunsByLengthInByteOrderAndFeedsTheDraws)
{
    const Dictionaries loaded;
    const Dictionary& dictionary = *loaded.dictionary;
    Problems problems;
    ASSERT_GT(dictionary.count, 0);
    EXPECT_LE(dictionary.count, kDictionaryCapacity);
    int total = 0;
    for (int length = 1; length <= kMaxWordLength; ++length) {
        const LengthRun run = WordsOfLength(dictionary, length);
        total += run.count;
        for (int i = run.first; i < run.first + run.count; ++i) {
            const std::string word(WordAt(dictionary, i));
            if (int(word.size()) != length)
                problems.Add("dictionary.txt", i + 1, "", word + " sits among the " + std::to_string(length) + "-letter words");
            if (!UpperLetters(word))
                problems.Add("dictionary.txt", i + 1, "", word + " is not upper-case A to Z");
            if (i > run.first && !(WordAt(dictionary, i - 1) < WordAt(dictionary, i)))
                problems.Add("dictionary.txt", i + 1, "", word + " is out of byte order or repeated");
            if (!IsWord(dictionary, word))
                problems.Add("dictionary.txt", i + 1, "", word + " cannot be found by the search");
        }
    }
    EXPECT_EQ(total, dictionary.count) << "words outside the length runs 1..30";
    // LANGUAGE3 builds its letters from 3- and 4-letter words; LANGUAGE1 keeps drawing 6-letter
    // words until it finds a (first, last) pair not among the last 99.
    EXPECT_GT(WordsOfLength(dictionary, 3).count, 0);
    EXPECT_GT(WordsOfLength(dictionary, 4).count, 0);
    const LengthRun six = WordsOfLength(dictionary, 6);
    std::set<std::pair<char, char>> pairs;
    for (int i = six.first; i < six.first + six.count; ++i) {
        const std::string_view word = WordAt(dictionary, i);
        pairs.insert({word.front(), word.back()});
    }
    EXPECT_GE(pairs.size(), 100u);
    EXPECT_TRUE(problems.Empty()) << problems.Report();
}

TEST(DataFilesTest, SpellingChoicesHaveOneRealWordAndThreeDistinctMisspellings)
{
    const Dictionaries loaded;
    ScratchDir home;
    auto table = std::make_unique<SpellingTable>();
    const DataLoadResult result = LoadSpellingTable(*table, kDataDir + "spelling.txt");
    ASSERT_TRUE(result.ok) << result.error;
    Problems problems;
    for (int i = 0; i < table->count; ++i) {
        const auto& spellings = table->entries[size_t(i)].spellings;
        const std::set<std::string> distinct(spellings.begin(), spellings.end());
        const std::string key = spellings[0];
        if (distinct.size() != 4)
            problems.Add("spelling.txt", i + 1, key, "two spellings are alike, so the test could not tell which is right");
        for (int s = 0; s < 4; ++s) {
            if (!UpperLetters(spellings[size_t(s)]))
                problems.Add("spelling.txt", i + 1, key, "\"" + spellings[size_t(s)] + "\" is not upper-case A to Z");
            const bool word = IsWord(*loaded.dictionary, spellings[size_t(s)]);
            if (s == 0 && !word)
                problems.Add("spelling.txt", i + 1, key, "the correct spelling is not in the dictionary");
            if (s > 0 && word)
                problems.Add("spelling.txt", i + 1, key, "\"" + spellings[size_t(s)] + "\" is a real word");
        }
    }
    // LANGUAGE2 asks lengths 7 to 14 and never repeats the last six entries within a length.
    for (int length = 7; length <= 14; ++length)
        if (EntriesOfLength(*table, length).count < 20)
            problems.Add("spelling.txt", 0, "", "fewer than 20 entries of length " + std::to_string(length));
    EXPECT_TRUE(problems.Empty()) << problems.Report();
}

TEST(DataFilesTest, SmallListsFitTheirScreensAndTheDraws)
{
    const Dictionaries loaded;
    ScratchDir home;
    Problems problems;

    auto names = std::make_unique<NameLists>();
    DataLoadResult result = LoadNames(*names, kDataDir + "names.txt");
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(RawLines("names.txt", problems).size(), size_t(kNameLines)) << "lines past the 110th are never read";
    std::set<std::string> firstNames(names->groupA.begin(), names->groupA.end());
    firstNames.insert(names->groupB.begin(), names->groupB.end());
    const std::set<std::string> surnames(names->surnames.begin(), names->surnames.end());
    // ANALYSIS2 makes 70 people with different full names out of these.
    EXPECT_GE(firstNames.size() * surnames.size(), 70u);
    EXPECT_EQ(firstNames.size(), size_t(2 * kFirstNamesPerGroup)) << "a first name repeats";
    EXPECT_EQ(surnames.size(), size_t(kSurnameCount)) << "a surname repeats";
    size_t longestFirst = 0, longestSurname = 0;
    for (const std::string& name : firstNames)
        longestFirst = std::max(longestFirst, name.size());
    for (const std::string& name : surnames)
        longestSurname = std::max(longestSurname, name.size());
    // A name is centred under a 170-pixel face, with faces 265 pixels apart.
    EXPECT_LE(longestFirst + 1 + longestSurname, 16u);

    auto shopping = std::make_unique<ShoppingList>();
    result = LoadShoppingList(*shopping, kDataDir + "shopping.txt");
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_GE(shopping->count, 150); // MEMORY1 draws 21 different items
    std::set<std::string> items;
    for (int i = 0; i < shopping->count; ++i) {
        const std::string& item = shopping->items[size_t(i)];
        // The answer field only takes letters and spaces and turns them to capitals, so any
        // other character would make the item impossible to type back.
        if (!UpperLetters(item, true))
            problems.Add("shopping.txt", i + 1, "", item + " cannot be typed into the answer field");
        if (item.size() > 14)
            problems.Add("shopping.txt", i + 1, "", item + " is too wide for a memorise column");
        if (!items.insert(item).second)
            problems.Add("shopping.txt", i + 1, "", item + " repeats");
    }

    auto alpha4 = std::make_unique<Alpha4List>();
    result = LoadAlpha4List(*alpha4, kDataDir + "alpha4.txt");
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_GE(alpha4->count, 200); // LANGUAGE4 draws up to 16 different words
    for (int i = 0; i < alpha4->count; ++i) {
        const std::string& word = alpha4->items[size_t(i)];
        if (word.size() != 4 || !UpperLetters(word) || !IsWord(*loaded.dictionary, word))
            problems.Add("alpha4.txt", i + 1, "", word + " is not a four-letter dictionary word");
        // LANGUAGE4 takes list order as the order to click in.
        if (i > 0 && !(alpha4->items[size_t(i - 1)] < word))
            problems.Add("alpha4.txt", i + 1, "", word + " breaks the alphabetical order");
    }

    auto credits = std::make_unique<CreditLines>();
    result = LoadCredits(*credits, kDataDir + "credits.txt");
    EXPECT_TRUE(result.ok) << result.error;
    EXPECT_GT(credits->count, 0);
    EXPECT_TRUE(problems.Empty()) << problems.Report();
}

// ---------------------------------------------------------------- famous birthdays

// Reads a number as the greeting does: optional blanks and sign, then digits; 0 when none.
int LeadingNumber(const std::string& text)
{
    size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    return std::atoi(text.c_str() + i);
}

TEST(DataFilesTest, BirthdaysAreValidDatesGroupedByDayAndFitTheGreeting)
{
    Problems problems;
    const std::vector<std::string> lines = RawLines("birthdays.txt", problems);
    EXPECT_LE(lines.size(), 739u) << "the 740th entry stops the game";
    const LoadedTable loaded = LoadTable();
    // The greeting is FAMEBIRTHDAY1 or 2, the description in red, a line break, FAMEBIRTHDAY3,
    // the year and one final character, all in the owl's 255 bytes.
    const size_t opening = std::max(loaded.Text("FAMEBIRTHDAY1").value_or("").size(),
                                    loaded.Text("FAMEBIRTHDAY2").value_or("").size());
    const std::string closing = loaded.Text("FAMEBIRTHDAY3").value_or("");
    if (closing.empty() || closing.back() != ' ')
        problems.Add("resource.txt", 0, "FAMEBIRTHDAY3", "must end with a blank: the year follows it directly");
    const int monthDays[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    std::set<std::pair<int, int>> finished; // dates whose run of lines has ended
    std::pair<int, int> previous{-1, -1};
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        const int number = int(i + 1);
        const size_t comma = line.find(',');
        const bool shaped = comma == 10 && line[2] == '/' && line[5] == '/' &&
                            std::all_of(line.begin(), line.begin() + 10, [](char c) { return std::isdigit((unsigned char)c) || c == '/'; });
        if (!shaped) {
            problems.Add("birthdays.txt", number, "", "is not \"DD/MM/YYYY,description\"");
            continue;
        }
        const int day = LeadingNumber(line.substr(0, 2));
        const int month = LeadingNumber(line.substr(3, 2)) - 1;
        const int year = LeadingNumber(line.substr(6, 4));
        const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
        if (month < 0 || month > 11 || day < 1 || day > monthDays[month] || (month == 1 && day == 29 && !leap))
            problems.Add("birthdays.txt", number, "", "is not a date of the calendar");
        const std::string description = line.substr(comma + 1);
        if (description.empty() || description.find_first_of("%^#") != std::string::npos)
            problems.Add("birthdays.txt", number, "", "description is empty or holds %, ^ or #");
        if (opening + 8 + description.size() + 9 + closing.size() + 4 + 1 > kOwlTextBytes)
            problems.Add("birthdays.txt", number, "", "the greeting would pass 255 bytes");
        // The greeting picks among the entries from the first one of today's date onwards.
        const std::pair<int, int> date{month, day};
        if (date != previous) {
            if (finished.count(date))
                problems.Add("birthdays.txt", number, "", "this date already appeared on earlier lines");
            finished.insert(previous);
            previous = date;
        }
    }
    EXPECT_TRUE(problems.Empty()) << problems.Report();
}

} // namespace
