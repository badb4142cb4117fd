// Readers for the sound formats the manager loads (RIFF wave, the sound cache, Sun audio, Ogg
// Vorbis) and the writer of the sound cache. Every reader treats its input as untrusted: a
// malformed file is "no sound", never a crash or a read past its end.
#pragma once

#include "framework/sound/SampleData.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace Vel {

// A wave file as read: its samples, and the source it was made from when it is a cache file.
struct WaveFile {
    SampleData data;
    bool hasSource = false;
    std::string sourceName;  // at most 255 bytes
    uint64_t sourceTime = 0; // FILETIME of the source when the cache was written
};

// PCM only (8 or 16 bits, 1 or 2 channels); 22050 Hz 16-bit mono when there is no "fmt " chunk.
// Unknown chunks are skipped and an "xor " chunk's byte is undone on the samples.
std::optional<WaveFile> ReadWaveFile(const std::vector<uint8_t>& bytes);

// Sun audio (".snd" magic): 8-bit mu-law, 8-bit or 16-bit linear, 1 or 2 channels.
std::optional<SampleData> ReadAuFile(const std::vector<uint8_t>& bytes);

// Decodes a whole Ogg Vorbis file opened through the archive layer.
std::optional<SampleData> DecodeOggFile(const std::string& name);

// The sound cache: a RIFF wave with "dep " (source name and time) and "xor " chunks.
std::vector<uint8_t> MakeCacheFile(const SampleData& data, const std::string& sourceName,
                                   uint64_t sourceTime);

// The XOR byte the cache writer uses; readers always take it from the file.
constexpr uint8_t kCacheXorKey = 0x3C;

} // namespace Vel
