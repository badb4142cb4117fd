// Read access to the game's data: members of "main.pak" first, the plain file system otherwise.
// Every reader of program data goes through the free Pak... functions below.
#pragma once

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace Vel {
struct ArchiveEntry;
}

// An open file: an archive member (entry set) or a plain file (file set), never both.
struct PakStream {
    const Vel::ArchiveEntry* entry = nullptr;
    int32_t position = 0;
    FILE* file = nullptr;
};

// Shaped like the C library's stream functions; see PakInterface for the member semantics.
// A null stream gives the function's failure value (EOF, 0 or null) instead of a crash.
PakStream* PakOpen(const char* name, const char* mode);
int PakClose(PakStream* stream);
int PakSeek(PakStream* stream, long offset, int origin);
int PakTell(PakStream* stream);
size_t PakRead(void* buffer, size_t elementSize, size_t count, PakStream* stream);
int PakGetc(PakStream* stream);
int PakUngetc(int ch, PakStream* stream);
char* PakGets(char* buffer, int size, PakStream* stream);
int PakEof(PakStream* stream);

namespace Vel {

// Reads a whole file through the archive layer; false when it cannot be opened.
bool PakReadWholeFile(const std::string& name, std::vector<uint8_t>& out);

// One mapped archive file; mapped read-only until the process ends.
struct MappedArchive {
    std::string m_fileName;
    int m_fd = -1;
    const uint8_t* m_base = nullptr;
    uint64_t m_size = 0;
};

struct ArchiveEntry {
    const MappedArchive* m_archive = nullptr;
    std::string m_name;      // as stored, letter case kept
    uint64_t m_fileTime = 0; // FILETIME: 100 ns units since 1 January 1601 UTC
    uint32_t m_start = 0;    // within the archive file
    uint32_t m_size = 0;
};

// What a search reports about one match.
struct PakFindData {
    uint32_t m_attributes = 0; // 0x10 for a folder
    uint64_t m_creationTime = 0;
    uint64_t m_lastAccessTime = 0;
    uint64_t m_lastWriteTime = 0;
    uint32_t m_sizeLow = 0;
    std::string m_fileName; // without its folder
};

struct PakFind; // a search under way

class PakInterfaceBase {
public:
    virtual ~PakInterfaceBase() = default;
    virtual PakStream* Open(const char* name, const char* mode) = 0;
    virtual int Close(PakStream* stream) = 0;
    virtual int Seek(PakStream* stream, long offset, int origin) = 0;
    virtual int Tell(PakStream* stream) = 0;
    virtual size_t Read(void* buffer, size_t elementSize, size_t count, PakStream* stream) = 0;
    virtual int GetChar(PakStream* stream) = 0;
    virtual int UngetChar(int ch, PakStream* stream) = 0;
    virtual char* GetLine(char* buffer, int size, PakStream* stream) = 0;
    virtual int AtEnd(PakStream* stream) = 0;
    // Null when nothing matches.
    virtual PakFind* FindFirstEntry(const char* pattern, PakFindData* findData) = 0;
    virtual bool FindNextEntry(PakFind* find, PakFindData* findData) = 0;
    virtual bool EndFind(PakFind* find) = 0;
};

// The process-wide slot every reader looks up; null until the first PakInterface exists.
PakInterfaceBase*& PakInterfaceSlot();

// Names become upper case with '\' separators, runs of separators collapse and ".." components
// are resolved: images/Foo.png, IMAGES\foo.PNG and images//sub/../Foo.png are one name.
std::string NormalizePakPath(const std::string& name);

class PakInterface : public PakInterfaceBase {
public:
    // Publishes itself in the slot when the slot is still empty.
    PakInterface();
    PakInterface(const PakInterface&) = delete;
    PakInterface& operator=(const PakInterface&) = delete;
    ~PakInterface() override;

    // The instance in the slot, created on first use; never destroyed.
    static PakInterface& Instance();

    // Maps the archive and enters its members; false (nothing entered) when the file is missing,
    // unreadable, or has a wrong magic or version. Entries whose data would lie outside the file
    // are dropped, as is an entry cut off by the end of the file.
    bool RegisterArchive(const std::string& fileName);

    PakStream* Open(const char* name, const char* mode) override;
    int Close(PakStream* stream) override;
    int Seek(PakStream* stream, long offset, int origin) override;
    int Tell(PakStream* stream) override;
    // Whole elements only: the bytes of a partial last element are copied but not counted.
    size_t Read(void* buffer, size_t elementSize, size_t count, PakStream* stream) override;
    // Carriage returns are skipped; -1 at the end.
    int GetChar(PakStream* stream) override;
    // Steps back one byte (never below 0); the next read delivers the member's own byte there.
    // EOF (-1) changes nothing.
    int UngetChar(int ch, PakStream* stream) override;
    // Up to size - 1 bytes, carriage returns dropped, the line feed kept; null at the end.
    char* GetLine(char* buffer, int size, PakStream* stream) override;
    // True as soon as the last byte of a member has been consumed.
    int AtEnd(PakStream* stream) override;
    // Members first ('*' patterns only), then plain files.
    PakFind* FindFirstEntry(const char* pattern, PakFindData* findData) override;
    bool FindNextEntry(PakFind* find, PakFindData* findData) override;
    bool EndFind(PakFind* find) override;

    // Gives the pages of the mapped archives back to the system; later reads fetch them again
    // from the file. For after loading, when the decoded data is all that is needed.
    void ReleaseResidentPages();

    // The entry for a name (normalised first); null when the archives do not hold it.
    const ArchiveEntry* FindEntry(const std::string& name) const;
    size_t EntryCount() const { return m_entries.size(); }

private:
    bool MatchMember(PakFind* find, PakFindData* findData);

    std::vector<MappedArchive*> m_archives;
    std::map<std::string, ArchiveEntry> m_entries; // key: stored name upper-cased
};

} // namespace Vel
