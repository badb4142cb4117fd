// Decoded sound samples shared by a slot and every instance playing it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Vel {

struct SampleData {
    int channels = 1; // 1 or 2, interleaved
    int rate = 22050; // frames per second
    std::vector<int16_t> samples;

    size_t Frames() const { return channels > 0 ? samples.size() / size_t(channels) : 0; }
    size_t Bytes() const { return samples.size() * sizeof(int16_t); }
};

} // namespace Vel
