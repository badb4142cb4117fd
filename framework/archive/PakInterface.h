// Read access to the game's data: members of "main.pak" first, the plain file system otherwise.
// Every reader of program data goes through the free Pak... functions below.
#pragma once

#include <cstdint>
#include <cstdio>
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

} // namespace Vel
