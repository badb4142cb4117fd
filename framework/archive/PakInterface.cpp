// The archive layer: mapped "main.pak" members with C-library-shaped stream operations, and the
// plain file system for everything the archives do not hold.
#include "framework/archive/PakInterface.h"

#include <fcntl.h>
#include <glob.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <limits>

#include "framework/archive/PakFormat.h"

namespace Vel {

namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

std::string UpperBytes(const std::string& s)
{
    std::string out = s;
    for (char& c : out) c = char(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

// Plain files use '/' where the game's names use '\'.
std::string PlainPath(const char* name)
{
    std::string path = name;
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

bool IsReadMode(const char* mode)
{
    std::string m = UpperBytes(mode ? mode : "");
    return m == "R" || m == "RB" || m == "RT";
}

uint8_t MemberByte(const ArchiveEntry* entry, uint32_t pos)
{
    return entry->m_archive->m_base[uint64_t(entry->m_start) + pos] ^ kPakKey;
}

void CopyMemberBytes(const ArchiveEntry* entry, uint32_t pos, uint8_t* out, uint32_t n)
{
    const uint8_t* src = entry->m_archive->m_base + entry->m_start + pos;
    for (uint32_t i = 0; i < n; ++i) out[i] = src[i] ^ kPakKey;
}

uint32_t Remaining(const PakStream* stream)
{
    return stream->entry->m_size - uint32_t(stream->position);
}

} // namespace

struct PakFind {
    glob_t m_glob{};
    bool m_globActive = false;
    size_t m_globIndex = 0;
    std::string m_lastKey;
    bool m_memberWalkDone = false;
    std::string m_pattern;      // normalised, for members
    std::string m_plainPattern; // as given with '/' separators, for the file system
};

PakInterfaceBase*& PakInterfaceSlot()
{
    static PakInterfaceBase* slot = nullptr;
    return slot;
}

std::string NormalizePakPath(const std::string& nameIn)
{
    std::string name = nameIn;

    // Paths below the working directory become relative, so they find archive members.
    const bool absolute = (name.size() >= 2 && name[1] == ':') || (!name.empty() && name[0] == '/');
    char cwd[4096];
    if (absolute && getcwd(cwd, sizeof cwd)) {
        auto canon = [](std::string s) {
            s = UpperBytes(s);
            std::replace(s.begin(), s.end(), '/', '\\');
            return s;
        };
        std::string prefix = cwd;
        if (prefix.empty() || !IsSeparator(prefix.back())) prefix += '\\';
        if (name.size() >= prefix.size() && canon(name.substr(0, prefix.size())) == canon(prefix))
            name = name.substr(prefix.size());
    }

    std::string out;
    out.reserve(name.size());
    bool cutToEmpty = false; // a ".." removed everything: the separator after it is not written
    for (size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        if (IsSeparator(c)) {
            if (cutToEmpty) continue;
            if (out.empty() || out.back() != '\\') out.push_back('\\');
            continue;
        }
        cutToEmpty = false;
        if (c == '.' && i > 0 && IsSeparator(name[i - 1]) && i + 1 < name.size() && name[i + 1] == '.') {
            ++i; // both dots
            // out ends with the separator before the dots; drop the component before it.
            if (out.size() > 1) {
                const size_t prev = out.rfind('\\', out.size() - 2);
                out.resize(prev == std::string::npos ? 0 : prev + 1);
                cutToEmpty = out.empty();
            }
            continue;
        }
        out.push_back(char(std::toupper(static_cast<unsigned char>(c))));
    }
    return out;
}

PakInterface::PakInterface()
{
    if (!PakInterfaceSlot()) PakInterfaceSlot() = this;
}

PakInterface::~PakInterface()
{
    if (PakInterfaceSlot() == this) PakInterfaceSlot() = nullptr;
    // Streams may still point into the mappings of a short-lived instance (tests): the
    // mappings go with the instance, the process-wide one is never destroyed.
    for (MappedArchive* archive : m_archives) {
        if (archive->m_base) munmap(const_cast<uint8_t*>(archive->m_base), archive->m_size);
        if (archive->m_fd >= 0) close(archive->m_fd);
        delete archive;
    }
}

PakInterface& PakInterface::Instance()
{
    static PakInterface* instance = [] {
        auto* created = new PakInterface();
        PakInterfaceSlot() = created;
        return created;
    }();
    return *instance;
}

void PakInterface::ReleaseResidentPages()
{
    for (MappedArchive* archive : m_archives)
        if (archive->m_base)
            madvise(const_cast<uint8_t*>(archive->m_base), archive->m_size, MADV_DONTNEED);
}

bool PakInterface::RegisterArchive(const std::string& fileName)
{
    const int fd = open(PlainPath(fileName.c_str()).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size <= 0 ||
        uint64_t(st.st_size) > std::numeric_limits<uint32_t>::max()) {
        // Offsets and sizes in the format are 32-bit: a larger file cannot be addressed.
        close(fd);
        return false;
    }
    void* base = mmap(nullptr, size_t(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
    if (base == MAP_FAILED) {
        close(fd);
        return false;
    }
    auto* archive = new MappedArchive{fileName, fd, static_cast<const uint8_t*>(base), uint64_t(st.st_size)};

    // The directory is read through the member operations on a whole-file entry, which undo the
    // key like for any member. The entry is keyed by the normalised name so that Open finds it
    // whatever separators the caller used.
    ArchiveEntry self{archive, fileName, 0, 0, uint32_t(archive->m_size)};
    PakStream stream;
    stream.entry = &self;

    auto readU32 = [&](uint32_t& v) {
        uint8_t b[4];
        if (Read(b, 1, 4, &stream) != 4) return false;
        v = uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
        return true;
    };

    uint32_t magic = 0, version = 0;
    if (!readU32(magic) || magic != kPakMagic || !readU32(version) || version != kPakVersion) {
        munmap(base, archive->m_size);
        close(fd);
        delete archive;
        return false;
    }

    struct Listed {
        std::string name;
        uint32_t offset;
        uint32_t size;
        uint64_t time;
    };
    std::vector<Listed> listed;
    uint64_t running = 0;
    for (;;) {
        uint8_t flags = 0;
        if (Read(&flags, 1, 1, &stream) != 1 || (flags & kPakEndBit)) break;
        uint8_t nameLength = 0;
        if (Read(&nameLength, 1, 1, &stream) != 1) break;
        std::string name(nameLength, '\0');
        if (Read(name.data(), 1, nameLength, &stream) != nameLength) break;
        uint32_t size = 0;
        uint8_t time[8];
        if (!readU32(size) || Read(time, 1, 8, &stream) != 8) break; // a partial last entry
        uint64_t fileTime = 0;
        for (int i = 7; i >= 0; --i) fileTime = fileTime << 8 | time[i];
        // Offsets add up in 64 bits; past 32 bits nothing further can lie inside the file.
        listed.push_back({name, uint32_t(std::min<uint64_t>(running, UINT32_MAX)), size, fileTime});
        running += size;
        if (running > archive->m_size) running = uint64_t(archive->m_size) + 1;
    }
    const uint64_t dataStart = uint32_t(stream.position);

    m_archives.push_back(archive);
    ArchiveEntry& selfEntry = m_entries[NormalizePakPath(fileName)];
    selfEntry = ArchiveEntry{archive, fileName, 0, 0, uint32_t(archive->m_size)};

    uint64_t offset = 0;
    for (const Listed& item : listed) {
        const uint64_t start = dataStart + offset;
        offset += item.size;
        if (start + item.size > archive->m_size) continue; // data outside the file: dropped
        ArchiveEntry& entry = m_entries[UpperBytes(item.name)];
        entry = ArchiveEntry{archive, item.name, item.time, uint32_t(start), item.size};
    }
    return true;
}

const ArchiveEntry* PakInterface::FindEntry(const std::string& name) const
{
    auto it = m_entries.find(NormalizePakPath(name));
    return it == m_entries.end() ? nullptr : &it->second;
}

PakStream* PakInterface::Open(const char* name, const char* mode)
{
    if (!name || !mode) return nullptr;
    if (IsReadMode(mode)) {
        if (const ArchiveEntry* entry = FindEntry(name)) {
            auto* stream = new PakStream;
            stream->entry = entry;
            return stream;
        }
    }
    FILE* file = std::fopen(PlainPath(name).c_str(), mode);
    if (!file) return nullptr;
    auto* stream = new PakStream;
    stream->file = file;
    return stream;
}

int PakInterface::Close(PakStream* stream)
{
    if (!stream) return EOF;
    int result = 0;
    if (stream->file) result = std::fclose(stream->file);
    delete stream;
    return result;
}

int PakInterface::Seek(PakStream* stream, long offset, int origin)
{
    if (!stream) return -1;
    if (stream->file) return std::fseek(stream->file, offset, origin);
    int64_t base = 0;
    switch (origin) {
    case SEEK_SET: base = 0; break;
    case SEEK_CUR: base = stream->position; break;
    case SEEK_END: base = stream->entry->m_size; break;
    default: return -1;
    }
    // 64-bit arithmetic so that a huge offset clamps instead of wrapping.
    const int64_t size = stream->entry->m_size;
    int64_t pos = base;
    if (offset > 0) pos = offset > size - base ? size : base + offset;
    else if (offset < 0) pos = -(offset + 1) >= base ? 0 : base + offset; // offset + 1 avoids -LONG_MIN
    stream->position = int32_t(std::clamp<int64_t>(pos, 0, size));
    return 0;
}

int PakInterface::Tell(PakStream* stream)
{
    if (!stream) return -1;
    if (stream->file) return int(std::ftell(stream->file));
    return stream->position;
}

size_t PakInterface::Read(void* buffer, size_t elementSize, size_t count, PakStream* stream)
{
    if (!stream || !buffer) return 0;
    if (stream->file) return std::fread(buffer, elementSize, count, stream->file);
    if (elementSize == 0 || count == 0) return 0;
    const uint32_t remaining = Remaining(stream);
    const uint32_t n = count > remaining / elementSize ? remaining : uint32_t(elementSize * count);
    CopyMemberBytes(stream->entry, uint32_t(stream->position), static_cast<uint8_t*>(buffer), n);
    stream->position += int32_t(n);
    return n / elementSize;
}

int PakInterface::GetChar(PakStream* stream)
{
    if (!stream) return EOF;
    if (stream->file) return std::getc(stream->file);
    while (uint32_t(stream->position) < stream->entry->m_size) {
        const uint8_t b = MemberByte(stream->entry, uint32_t(stream->position++));
        if (b != '\r') return b;
    }
    return EOF;
}

int PakInterface::UngetChar(int ch, PakStream* stream)
{
    if (!stream) return EOF;
    if (stream->file) return std::ungetc(ch, stream->file);
    if (ch == EOF) return EOF; // stepping back would deliver the last byte twice
    stream->position = std::max(stream->position - 1, 0);
    return ch;
}

char* PakInterface::GetLine(char* buffer, int size, PakStream* stream)
{
    if (!stream || !buffer || size <= 0) return nullptr;
    if (stream->file) return std::fgets(buffer, size, stream->file);
    const ArchiveEntry* entry = stream->entry;
    if (uint32_t(stream->position) >= entry->m_size) return nullptr;
    int stored = 0;
    while (stored < size - 1 && uint32_t(stream->position) < entry->m_size) {
        const uint8_t b = MemberByte(entry, uint32_t(stream->position++));
        if (b == '\r') continue;
        buffer[stored++] = char(b);
        if (b == '\n') break;
    }
    if (stored == 0 && size > 1) return nullptr; // only carriage returns were left
    buffer[stored] = '\0';
    return buffer;
}

int PakInterface::AtEnd(PakStream* stream)
{
    if (!stream) return 1;
    if (stream->file) return std::feof(stream->file);
    return uint32_t(stream->position) >= stream->entry->m_size ? 1 : 0;
}

bool PakInterface::MatchMember(PakFind* find, PakFindData* findData)
{
    const std::string& pattern = find->m_pattern;
    const size_t star = pattern.find('*');
    if (star == std::string::npos) return false;
    const std::string head = pattern.substr(0, star);
    const std::string tail = pattern.substr(star + 1);
    auto it = find->m_lastKey.empty() ? m_entries.begin() : m_entries.upper_bound(find->m_lastKey);
    for (; it != m_entries.end(); ++it) {
        const std::string& key = it->first;
        if (key.compare(0, head.size(), head) != 0) continue;
        const bool anyTail = tail.empty() || tail == ".*";
        if (!anyTail && (key.size() < head.size() + tail.size() ||
                         key.compare(key.size() - tail.size(), tail.size(), tail) != 0))
            continue;
        const ArchiveEntry& entry = it->second;
        if (findData) {
            *findData = PakFindData{};
            const size_t lastTail = std::min(key.size() - head.size(), tail.size());
            if (key.find('\\', key.size() - lastTail) != std::string::npos && lastTail > 0)
                findData->m_attributes = 0x10;
            findData->m_creationTime = findData->m_lastAccessTime = findData->m_lastWriteTime = entry.m_fileTime;
            findData->m_sizeLow = entry.m_size;
            const size_t slash = entry.m_name.rfind('\\');
            findData->m_fileName = slash == std::string::npos ? entry.m_name : entry.m_name.substr(slash + 1);
        }
        find->m_lastKey = key;
        return true;
    }
    return false;
}

namespace {

bool NextGlob(PakFind* find, PakFindData* findData)
{
    while (find->m_globIndex < find->m_glob.gl_pathc) {
        const std::string path = find->m_glob.gl_pathv[find->m_globIndex++];
        struct stat st {};
        if (stat(path.c_str(), &st) != 0) continue;
        if (findData) {
            *findData = PakFindData{};
            findData->m_attributes = S_ISDIR(st.st_mode) ? 0x10 : 0;
            // FILETIME from Unix seconds: 100 ns units since 1601.
            const uint64_t t = (uint64_t(st.st_mtime) + 11644473600ull) * 10000000ull;
            findData->m_creationTime = findData->m_lastAccessTime = findData->m_lastWriteTime = t;
            findData->m_sizeLow = uint32_t(st.st_size);
            const size_t slash = path.rfind('/');
            findData->m_fileName = slash == std::string::npos ? path : path.substr(slash + 1);
        }
        return true;
    }
    return false;
}

bool StartGlob(PakFind* find, PakFindData* findData)
{
    find->m_memberWalkDone = true;
    if (glob(find->m_plainPattern.c_str(), 0, nullptr, &find->m_glob) != 0) {
        globfree(&find->m_glob);
        find->m_glob = glob_t{};
        return false;
    }
    find->m_globActive = true;
    return NextGlob(find, findData);
}

} // namespace

PakFind* PakInterface::FindFirstEntry(const char* pattern, PakFindData* findData)
{
    if (!pattern) return nullptr;
    auto* find = new PakFind;
    find->m_pattern = NormalizePakPath(pattern);
    find->m_plainPattern = PlainPath(pattern);
    if (MatchMember(find, findData) || StartGlob(find, findData)) return find;
    EndFind(find);
    return nullptr;
}

bool PakInterface::FindNextEntry(PakFind* find, PakFindData* findData)
{
    if (!find) return false;
    if (find->m_globActive) return NextGlob(find, findData);
    if (find->m_memberWalkDone) return false;
    if (MatchMember(find, findData)) return true;
    return StartGlob(find, findData);
}

bool PakInterface::EndFind(PakFind* find)
{
    if (!find) return false;
    if (find->m_globActive) globfree(&find->m_glob);
    delete find;
    return true;
}

bool PakReadWholeFile(const std::string& name, std::vector<uint8_t>& out)
{
    out.clear();
    PakStream* stream = PakOpen(name.c_str(), "rb");
    if (!stream) return false;
    // Sized up front: growing by chunks left songs and tables in blocks up to twice their size,
    // and copied them on every doubling.
    size_t expected = 0;
    if (PakSeek(stream, 0, SEEK_END) == 0) {
        const int size = PakTell(stream);
        if (size > 0) expected = size_t(size);
    }
    PakSeek(stream, 0, SEEK_SET);
    out.resize(expected);
    const size_t filled = expected > 0 ? PakRead(out.data(), 1, expected, stream) : 0;
    out.resize(filled);
    // A file that grew since it was measured is still read to its end.
    if (filled == expected) {
        uint8_t chunk[65536];
        for (size_t n; (n = PakRead(chunk, 1, sizeof chunk, stream)) > 0;)
            out.insert(out.end(), chunk, chunk + n);
    }
    PakClose(stream);
    return true;
}

} // namespace Vel

using Vel::PakInterfaceSlot;

// The one instance exists before main, like every reader expects; the C library serves when
// the slot is empty anyway.
static const bool kPakInterfaceCreated = (Vel::PakInterface::Instance(), true);

PakStream* PakOpen(const char* name, const char* mode)
{
    if (Vel::PakInterfaceBase* pak = PakInterfaceSlot()) return pak->Open(name, mode);
    if (!name || !mode) return nullptr;
    FILE* file = std::fopen(name, mode);
    if (!file) return nullptr;
    auto* stream = new PakStream;
    stream->file = file;
    return stream;
}

int PakClose(PakStream* stream)
{
    if (Vel::PakInterfaceBase* pak = PakInterfaceSlot()) return pak->Close(stream);
    if (!stream) return EOF;
    const int result = stream->file ? std::fclose(stream->file) : 0;
    delete stream;
    return result;
}

int PakSeek(PakStream* stream, long offset, int origin)
{
    if (Vel::PakInterfaceBase* pak = PakInterfaceSlot()) return pak->Seek(stream, offset, origin);
    return stream && stream->file ? std::fseek(stream->file, offset, origin) : -1;
}

int PakTell(PakStream* stream)
{
    if (Vel::PakInterfaceBase* pak = PakInterfaceSlot()) return pak->Tell(stream);
    return stream && stream->file ? int(std::ftell(stream->file)) : -1;
}

size_t PakRead(void* buffer, size_t elementSize, size_t count, PakStream* stream)
{
    if (Vel::PakInterfaceBase* pak = PakInterfaceSlot()) return pak->Read(buffer, elementSize, count, stream);
    return stream && stream->file ? std::fread(buffer, elementSize, count, stream->file) : 0;
}

int PakGetc(PakStream* stream)
{
    if (Vel::PakInterfaceBase* pak = PakInterfaceSlot()) return pak->GetChar(stream);
    return stream && stream->file ? std::getc(stream->file) : EOF;
}

int PakUngetc(int ch, PakStream* stream)
{
    if (Vel::PakInterfaceBase* pak = PakInterfaceSlot()) return pak->UngetChar(ch, stream);
    return stream && stream->file ? std::ungetc(ch, stream->file) : EOF;
}

char* PakGets(char* buffer, int size, PakStream* stream)
{
    if (Vel::PakInterfaceBase* pak = PakInterfaceSlot()) return pak->GetLine(buffer, size, stream);
    return stream && stream->file ? std::fgets(buffer, size, stream->file) : nullptr;
}

int PakEof(PakStream* stream)
{
    if (Vel::PakInterfaceBase* pak = PakInterfaceSlot()) return pak->AtEnd(stream);
    return stream && stream->file ? std::feof(stream->file) : 1;
}
