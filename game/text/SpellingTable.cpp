// Loading the spelling list.
#include "game/text/SpellingTable.h"

#include <string_view>

namespace Vel {

LengthRun EntriesOfLength(const SpellingTable& table, int length)
{
    if (length < 0 || length > kMaxWordLength || table.firstIndex[size_t(length)] < 0)
        return {};
    const int first = table.firstIndex[size_t(length)];
    int end = table.count;
    for (int longer = length + 1; longer <= kMaxWordLength; ++longer) {
        if (table.firstIndex[size_t(longer)] >= 0) {
            end = table.firstIndex[size_t(longer)];
            break;
        }
    }
    return {first, end - first};
}

DataLoadResult LoadSpellingTable(SpellingTable& table, const std::string& path)
{
    for (int i = 0; i < table.count; ++i)
        table.entries[size_t(i)] = SpellingEntry{};
    table.count = 0;
    table.firstIndex.fill(-1);

    DataLoadResult result;
    DataFileReader reader(path);
    result.opened = reader.IsOpen();
    auto fail = [&](const std::string& error) {
        result.ok = false;
        result.error = error;
        return result;
    };

    std::string line;
    DataFileReader::Status status;
    while ((status = reader.Next(line)) == DataFileReader::Status::Line) {
        if (table.count == kMaxSpellingEntries)
            return fail("SPELLING_MAX exceeded");

        SpellingEntry entry;
        std::string_view rest = line;
        for (int field = 0; field < 3; ++field) {
            const size_t comma = rest.find(',');
            if (comma == std::string_view::npos)
                return fail(reader.Describe("needs four spellings separated by commas"));
            entry.spellings[size_t(field)] = rest.substr(0, comma);
            rest.remove_prefix(comma + 1);
        }
        entry.spellings[3] = rest;

        const size_t length = entry.spellings[0].size();
        if (length > size_t(kMaxWordLength))
            return fail(reader.Describe("correct spelling longer than " + std::to_string(kMaxWordLength) + " letters"));
        if (table.count > 0 && length < table.entries[size_t(table.count - 1)].spellings[0].size())
            return fail(reader.Describe("entry out of order (the list must be sorted by the length of the correct spelling)"));

        if (table.firstIndex[length] < 0)
            table.firstIndex[length] = table.count;
        table.entries[size_t(table.count++)] = std::move(entry);
    }
    if (status == DataFileReader::Status::Error)
        return fail(reader.Error());
    return result;
}

} // namespace Vel
