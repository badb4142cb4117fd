// The archive directory and member reads: an archive of arbitrary bytes is registered, then
// every member it yields is opened and read through each access function.
#include "framework/archive/PakFormat.h"
#include "framework/archive/PakInterface.h"
#include "tests/fuzz/FuzzSupport.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The key is applied here so the fuzzer mutates the plain directory rather than noise.
    std::vector<uint8_t> bytes(data, data + size);
    for (uint8_t& b : bytes)
        b ^= Vel::kPakKey;
    const std::string path = Fuzz::WriteScratch(bytes.data(), bytes.size(), "fuzz.pak");

    Vel::PakInterface pak;
    if (!pak.RegisterArchive(path))
        return 0;
    Vel::PakFindData found;
    Vel::PakFind* find = pak.FindFirstEntry("*", &found);
    std::vector<std::string> names;
    for (bool more = find != nullptr; more && names.size() < 4096; more = pak.FindNextEntry(find, &found))
        names.push_back(found.m_fileName);
    if (find)
        pak.EndFind(find);

    for (const auto& name : names) {
        const Vel::ArchiveEntry* entry = pak.FindEntry(name);
        if (!entry)
            continue;
        if (uint64_t(entry->m_start) + entry->m_size > entry->m_archive->m_size)
            __builtin_trap(); // a member reaching past the file must have been dropped
        PakStream* stream = pak.Open(name.c_str(), "rb");
        if (!stream)
            continue;
        char line[64];
        while (pak.GetLine(line, sizeof line, stream)) {
        }
        pak.Seek(stream, 0, SEEK_SET);
        std::vector<uint8_t> all(entry->m_size + 1);
        if (pak.Read(all.data(), 1, all.size(), stream) > entry->m_size)
            __builtin_trap();
        pak.Seek(stream, -1, SEEK_END);
        pak.UngetChar(pak.GetChar(stream), stream);
        pak.Seek(stream, 1 << 30, SEEK_CUR);
        (void)pak.GetChar(stream);
        pak.Close(stream);
    }
    return 0;
}
