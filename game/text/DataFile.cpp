// The data-file line reader.
#include "game/text/DataFile.h"

#include "framework/archive/PakInterface.h"
#include "game/text/ErrorLog.h"

#include <cstring>

namespace Vel {
namespace {

// Room for a line of the longest allowed length with CR LF and the terminator, and more, so an
// overlong line is seen as such instead of being split into two lines.
constexpr int kReadBufferSize = 512;

} // namespace

void RequireLoaded(const DataLoadResult& result)
{
    if (!result.ok)
        FatalError(result.error);
}

std::string DataDir(int language) { return language == 1 ? "data_spanish/" : "data/"; }

DataFileReader::DataFileReader(const std::string& path)
    : m_path(path)
    , m_stream(PakOpen(path.c_str(), "r"))
{
}

DataFileReader::~DataFileReader()
{
    if (m_stream)
        PakClose(m_stream);
}

std::string DataFileReader::Describe(const std::string& what) const
{
    return m_path + " line " + std::to_string(m_lineNumber) + ": " + what;
}

DataFileReader::Status DataFileReader::Next(std::string& line)
{
    if (!m_stream || !m_error.empty())
        return m_error.empty() ? Status::End : Status::Error;

    char buffer[kReadBufferSize];
    if (!PakGets(buffer, kReadBufferSize, m_stream))
        return Status::End;
    ++m_lineNumber;

    size_t length = strnlen(buffer, kReadBufferSize);
    const bool endsWithLineFeed = length > 0 && buffer[length - 1] == '\n';
    if (!endsWithLineFeed) {
        // Without a line feed the read stopped at the buffer's end, at the file's end, or at a
        // NUL byte inside the line (the line's real length is then unknown).
        if (length == size_t(kReadBufferSize - 1)) {
            m_error = Describe("line too long (more than " + std::to_string(kMaxDataLineLength) + " characters)");
            return Status::Error;
        }
        if (!PakEof(m_stream)) {
            m_error = Describe("the line holds a NUL byte");
            return Status::Error;
        }
    }
    if (endsWithLineFeed)
        --length;
    if (length > 0 && buffer[length - 1] == '\r')
        --length;
    if (length > size_t(kMaxDataLineLength)) {
        m_error = Describe("line too long (more than " + std::to_string(kMaxDataLineLength) + " characters)");
        return Status::Error;
    }
    line.assign(buffer, length);
    return Status::Line;
}

} // namespace Vel
