// The archive builder's work: collect a folder, encode it, write it crash-safely.
#include "tools/pak/PakBuilder.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <system_error>

#include "framework/archive/PakFormat.h"

namespace fs = std::filesystem;

namespace PakTool {

namespace {

void PutU32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

void PutU64(std::vector<uint8_t>& out, uint64_t v)
{
    for (int i = 0; i < 8; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

} // namespace

bool EncodePak(const std::vector<PakMember>& members, std::vector<uint8_t>& out, std::string& error)
{
    out.clear();
    PutU32(out, Vel::kPakMagic);
    PutU32(out, Vel::kPakVersion);
    uint64_t total = 0;
    for (const PakMember& m : members) {
        if (m.name.empty() || m.name.size() > 255) {
            error = "member name must be 1 to 255 bytes: \"" + m.name + "\"";
            return false;
        }
        if (m.data.size() > std::numeric_limits<uint32_t>::max()) {
            error = "member too large for the archive format: " + m.name;
            return false;
        }
        out.push_back(0); // flags: an entry
        out.push_back(uint8_t(m.name.size()));
        out.insert(out.end(), m.name.begin(), m.name.end());
        PutU32(out, uint32_t(m.data.size()));
        PutU64(out, kFixedFileTime);
        total += m.data.size();
    }
    out.push_back(Vel::kPakEndOfDirectory);
    if (out.size() + total > std::numeric_limits<uint32_t>::max()) {
        error = "archive would exceed 4 GiB, which its 32-bit offsets cannot address";
        return false;
    }
    for (const PakMember& m : members) out.insert(out.end(), m.data.begin(), m.data.end());
    for (uint8_t& b : out) b ^= Vel::kPakKey;
    return true;
}

bool CollectFolder(const std::string& folder, const std::string& exclude,
                   std::vector<PakMember>& members, std::string& error)
{
    members.clear();
    std::error_code ec;
    const fs::path root = fs::canonical(folder, ec);
    if (ec || !fs::is_directory(root)) {
        error = "not a folder: " + folder;
        return false;
    }
    const fs::path excluded = exclude.empty() ? fs::path() : fs::weakly_canonical(exclude, ec);

    std::vector<fs::path> files;
    for (auto it = fs::recursive_directory_iterator(root, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        if (it->is_regular_file() && fs::weakly_canonical(it->path()) != excluded) files.push_back(it->path());
    }
    if (ec) {
        error = "cannot list " + folder + ": " + ec.message();
        return false;
    }

    for (const fs::path& file : files) {
        std::string name = fs::relative(file, root).generic_string();
        std::replace(name.begin(), name.end(), '/', '\\');
        std::ifstream in(file, std::ios::binary);
        std::vector<uint8_t> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (!in.good() && !in.eof()) {
            error = "cannot read " + file.string();
            return false;
        }
        members.push_back({std::move(name), std::move(data)});
    }
    std::sort(members.begin(), members.end(), [](const PakMember& a, const PakMember& b) { return a.name < b.name; });
    return true;
}

bool BuildPak(const std::string& folder, const std::string& outputFile, std::string& error)
{
    std::vector<PakMember> members;
    std::vector<uint8_t> bytes;
    if (!CollectFolder(folder, outputFile, members, error) || !EncodePak(members, bytes, error)) return false;

    const std::string temp = outputFile + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        out.flush();
        if (!out) {
            error = "cannot write " + temp;
            std::remove(temp.c_str());
            return false;
        }
    }
    std::error_code ec;
    fs::rename(temp, outputFile, ec);
    if (ec) {
        error = "cannot replace " + outputFile + ": " + ec.message();
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

} // namespace PakTool
