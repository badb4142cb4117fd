// Loading and looking up the text table.
#include "game/text/TextTable.h"

#include "game/text/ErrorLog.h"

#include <algorithm>
#include <climits>

namespace Vel {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// Leading blanks, an optional sign, then decimal digits; anything else reads as 0. Clamped to
// the int range rather than wrapping, so a typo of many digits cannot turn into a negative x.
int ParseNumber(std::string_view field)
{
    size_t i = 0;
    while (i < field.size() && IsBlank(field[i]))
        ++i;
    bool negative = false;
    if (i < field.size() && (field[i] == '+' || field[i] == '-'))
        negative = field[i++] == '-';
    long long value = 0;
    for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i) {
        value = value * 10 + (field[i] - '0');
        if (value > (long long)INT_MAX + 1)
            value = (long long)INT_MAX + 1;
    }
    if (negative)
        return int(-value);
    return int(std::min(value, (long long)INT_MAX));
}

// Splits off the text up to the next comma; without one, the rest is the field and nothing
// remains.
std::string_view NextField(std::string_view& rest, bool& found)
{
    const size_t comma = rest.find(',');
    found = comma != std::string_view::npos;
    std::string_view field = rest.substr(0, found ? comma : rest.size());
    rest = found ? rest.substr(comma + 1) : std::string_view{};
    return field;
}

} // namespace

TextEntry ParseTextLine(std::string_view line)
{
    TextEntry entry;
    std::string_view rest = line;
    bool more = false;
    entry.key = NextField(rest, more);
    if (!more)
        return entry;
    entry.x = ParseNumber(NextField(rest, more));
    if (!more)
        return entry;
    entry.y = ParseNumber(NextField(rest, more));
    if (!more)
        return entry;
    entry.text = rest;
    return entry;
}

DataLoadResult LoadTextTable(TextTable& table, const std::string& path)
{
    for (int i = 0; i < table.count; ++i)
        table.entries[i] = TextEntry{};
    table.count = 0;

    DataLoadResult result;
    DataFileReader reader(path);
    result.opened = reader.IsOpen();
    std::string line;
    DataFileReader::Status status;
    while ((status = reader.Next(line)) == DataFileReader::Status::Line) {
        if (table.count == kMaxTextEntries) {
            result.ok = false;
            result.error = "KEY_MAX exceeded";
            return result;
        }
        std::replace(line.begin(), line.end(), '#', '\n');
        table.entries[table.count++] = ParseTextLine(line);
    }
    if (status == DataFileReader::Status::Error) {
        result.ok = false;
        result.error = reader.Error();
    }
    return result;
}

int FindText(const TextTable& table, std::string_view key)
{
    if (key.empty())
        return -1;
    for (int i = 0; i < table.count; ++i)
        if (table.entries[i].key == key)
            return i;
    return -1;
}

int Lookup(const TextTable& table, std::string_view key)
{
    const int index = FindText(table, key);
    if (index < 0)
        FatalError("Could not find resource (" + std::string(key) + ") in resource.txt file.");
    return index;
}

} // namespace Vel
