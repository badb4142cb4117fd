// Writing the game's data tree: every image, font, sound, music track and the manifest.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Content {

// Writes the whole tree under `root`; false with a message on the first failure.
bool GenerateAll(const std::string& root, std::string& error);
// The manifest text for the four resource groups.
std::string ManifestXml();
// Sets every file's modification time under `root` from a hash of its bytes, so packing is
// repeatable while a changed file still gets a new time (the game's sound cache compares it).
bool StampTimes(const std::string& root, std::string& error);
// Draws the contact sheet pages into `dir`.
bool DrawContactSheet(const std::string& dir, std::string& error);

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error);
// Runs `count` jobs on two threads; the first error stops the remaining ones.
bool RunJobs(size_t count, bool (*job)(size_t index, void* context, std::string& error), void* context,
             std::string& error);

} // namespace Content
