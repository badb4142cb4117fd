// Packs a folder into the archive format the game reads; deterministic, so two builds of the
// same folder give the same bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace PakTool {

struct PakMember {
    std::string name; // relative, '\' separators
    std::vector<uint8_t> data;
};

// Every time stamp in a built archive: 1 January 2000 00:00 UTC as a FILETIME. A fixed value keeps
// builds byte-identical; nothing in the game reads the time stamps.
constexpr uint64_t kFixedFileTime = 125911584000000000ull;

// The archive bytes for `members` in the given order; false with `error` set when a name is
// longer than 255 bytes or a member or the archive would exceed 32-bit offsets.
bool EncodePak(const std::vector<PakMember>& members, std::vector<uint8_t>& out, std::string& error);

// Every regular file below `folder` (names relative to it, sorted byte-wise), skipping `exclude`
// (the output file when it lies inside the folder).
bool CollectFolder(const std::string& folder, const std::string& exclude,
                   std::vector<PakMember>& members, std::string& error);

// CollectFolder + EncodePak + a write through a temporary file renamed into place.
bool BuildPak(const std::string& folder, const std::string& outputFile, std::string& error);

} // namespace PakTool
