// Line-by-line reading of the game's text data files through the archive layer, shared by the
// text table and the word lists, and the result every data loader returns.
#pragma once

#include <string>

struct PakStream;

namespace Vel {

// Longest line a data file may hold, line break not counted.
inline constexpr int kMaxDataLineLength = 254;

// What a loader reports. A file that cannot be opened is not an error (its list stays empty);
// broken content is, and `error` then names the file and the line. The game treats any error
// as fatal (FatalError); the loaders themselves never end the program.
struct DataLoadResult {
    bool ok = true;
    bool opened = false;
    std::string error;
};

// The game's start-up cannot go on without its data: a failed load ends it through FatalError
// with the loader's message.
void RequireLoaded(const DataLoadResult& result);

// "data_spanish/" for language 1, "data/" for every other value.
std::string DataDir(int language);
inline std::string DataPath(int language, const std::string& fileName) { return DataDir(language) + fileName; }

// Reads one line at a time, without its line break (LF, CR LF or a final lone CR), so a last
// line without a line break keeps all its characters, whether the file comes from the archive
// or from disk.
class DataFileReader {
public:
    enum class Status { Line, End, Error };

    explicit DataFileReader(const std::string& path);
    ~DataFileReader();
    DataFileReader(const DataFileReader&) = delete;
    DataFileReader& operator=(const DataFileReader&) = delete;

    bool IsOpen() const { return m_stream != nullptr; }
    // Line: `line` holds the next line. Error: the line breaks the format (too long, or holds
    // a NUL byte); Error() says which file and line.
    Status Next(std::string& line);
    // 1-based number of the line last returned.
    int LineNumber() const { return m_lineNumber; }
    const std::string& Path() const { return m_path; }
    const std::string& Error() const { return m_error; }

    // "<path> line <n>: <what>", the form of every content error.
    std::string Describe(const std::string& what) const;

private:
    std::string m_path;
    PakStream* m_stream = nullptr;
    int m_lineNumber = 0;
    std::string m_error;
};

} // namespace Vel
