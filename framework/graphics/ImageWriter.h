// Saving an image as a PNG file, for screenshots and for tests that keep the screen of a failure.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Vel {

class MemoryImage;

// The PNG bytes of width x height ARGB pixels (alpha kept); empty when the size is not valid.
std::vector<uint8_t> EncodePng(const uint32_t* bits, int width, int height);

// Writes the image crash-safely (temporary file, then rename); false with `error` set on failure.
bool SavePng(MemoryImage& image, const std::string& path, std::string* error = nullptr);

} // namespace Vel
