// Loading the names, shopping, four-letter-word and credits lists.
#include "game/text/WordLists.h"

namespace Vel {
namespace {

template <int Capacity>
DataLoadResult LoadLines(BoundedList<Capacity>& list, const std::string& path, size_t minLength)
{
    for (int i = 0; i < list.count; ++i)
        list.items[size_t(i)].clear();
    list.count = 0;

    DataLoadResult result;
    DataFileReader reader(path);
    result.opened = reader.IsOpen();
    std::string line;
    DataFileReader::Status status;
    while ((status = reader.Next(line)) == DataFileReader::Status::Line) {
        std::string problem;
        if (list.count == Capacity)
            problem = "more than " + std::to_string(Capacity) + " lines";
        else if (line.size() < minLength)
            problem = "shorter than " + std::to_string(minLength) + " characters";
        if (!problem.empty()) {
            result.ok = false;
            result.error = reader.Describe(problem);
            return result;
        }
        list.items[size_t(list.count++)] = line;
    }
    if (status == DataFileReader::Status::Error) {
        result.ok = false;
        result.error = reader.Error();
    }
    return result;
}

} // namespace

DataLoadResult LoadNames(NameLists& names, const std::string& path)
{
    names = NameLists{};
    DataLoadResult result;
    DataFileReader reader(path);
    result.opened = reader.IsOpen();
    if (!reader.IsOpen())
        return result;

    std::string line;
    for (int i = 0; i < kNameLines; ++i) {
        const DataFileReader::Status status = reader.Next(line);
        if (status != DataFileReader::Status::Line) {
            result.ok = false;
            result.error = status == DataFileReader::Status::Error
                ? reader.Error()
                : reader.Path() + ": " + std::to_string(i) + " lines, " + std::to_string(kNameLines)
                      + " needed (" + std::to_string(kFirstNamesPerGroup) + " + " + std::to_string(kFirstNamesPerGroup)
                      + " first names, " + std::to_string(kSurnameCount) + " surnames)";
            return result;
        }
        if (i < kFirstNamesPerGroup)
            names.groupA[size_t(i)] = line;
        else if (i < 2 * kFirstNamesPerGroup)
            names.groupB[size_t(i - kFirstNamesPerGroup)] = line;
        else
            names.surnames[size_t(i - 2 * kFirstNamesPerGroup)] = line;
    }
    return result;
}

DataLoadResult LoadShoppingList(ShoppingList& list, const std::string& path) { return LoadLines(list, path, 0); }
DataLoadResult LoadAlpha4List(Alpha4List& list, const std::string& path) { return LoadLines(list, path, kMinAlpha4Length); }
DataLoadResult LoadCredits(CreditLines& list, const std::string& path) { return LoadLines(list, path, 0); }

} // namespace Vel
