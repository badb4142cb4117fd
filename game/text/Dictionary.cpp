// Loading and searching the dictionary.
#include "game/text/Dictionary.h"

namespace Vel {
namespace {

// Length first, then byte order: the order of the file.
bool InOrder(std::string_view before, std::string_view after)
{
    if (before.size() != after.size())
        return before.size() < after.size();
    return before <= after;
}

} // namespace

std::string_view WordAt(const Dictionary& dictionary, int index)
{
    if (index < 0 || index >= dictionary.count)
        return {};
    const uint32_t start = dictionary.starts[size_t(index)];
    return std::string_view(dictionary.letters).substr(start, dictionary.starts[size_t(index) + 1] - start);
}

LengthRun WordsOfLength(const Dictionary& dictionary, int length)
{
    if (length < 0 || length > kMaxWordLength || dictionary.firstIndex[size_t(length)] < 0)
        return {};
    const int first = dictionary.firstIndex[size_t(length)];
    int end = dictionary.count;
    for (int longer = length + 1; longer <= kMaxWordLength; ++longer) {
        if (dictionary.firstIndex[size_t(longer)] >= 0) {
            end = dictionary.firstIndex[size_t(longer)];
            break;
        }
    }
    return {first, end - first};
}

bool IsWord(const Dictionary& dictionary, std::string_view word)
{
    if (word.empty() || word.size() > size_t(kMaxWordLength))
        return false;
    const LengthRun run = WordsOfLength(dictionary, int(word.size()));
    int lo = run.first;
    int hi = run.first + run.count - 1;
    while (lo <= hi) {
        const int mid = lo + (hi - lo) / 2;
        // Equal lengths, so plain byte order decides.
        const int order = WordAt(dictionary, mid).compare(word);
        if (order == 0)
            return true;
        if (order < 0)
            lo = mid + 1;
        else
            hi = mid - 1;
    }
    return false;
}

DataLoadResult LoadDictionary(Dictionary& dictionary, const std::string& path)
{
    dictionary = Dictionary{};
    DataLoadResult result;
    DataFileReader reader(path);
    result.opened = reader.IsOpen();

    std::string word;
    DataFileReader::Status status;
    while ((status = reader.Next(word)) == DataFileReader::Status::Line) {
        std::string problem;
        if (dictionary.count == kDictionaryCapacity)
            problem = "more than " + std::to_string(kDictionaryCapacity) + " words";
        else if (word.size() > size_t(kMaxWordLength))
            problem = "word longer than " + std::to_string(kMaxWordLength) + " letters";
        else if (dictionary.count > 0 && !InOrder(WordAt(dictionary, dictionary.count - 1), word))
            problem = "word out of order (the list must be sorted by length, then byte order)";
        if (!problem.empty()) {
            result.ok = false;
            result.error = reader.Describe(problem);
            return result;
        }
        int& first = dictionary.firstIndex[word.size()];
        if (first < 0)
            first = dictionary.count;
        dictionary.letters += word;
        dictionary.starts.push_back(uint32_t(dictionary.letters.size()));
        ++dictionary.count;
    }
    if (status == DataFileReader::Status::Error) {
        result.ok = false;
        result.error = reader.Error();
    }
    return result;
}

} // namespace Vel
