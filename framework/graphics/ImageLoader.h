// Reading image files (TGA, JPEG, PNG, GIF) through the archive layer into 32-bit ARGB pixels,
// with the separate alpha-image search.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Vel {

class DDImage;
class ImageRegistry;

// Decoded pixels, packed 0xAARRGGBB, row by row, top row first.
struct ImageData {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> bits;
};

// Tries the readers in the order TGA, JPEG, PNG, GIF (only the matching one when `path` has an
// extension). With `lookForAlpha`, "_" before the file name and then "_" after the whole name
// are tried as an alpha image whose blue channel becomes the alpha; an alpha image alone gives
// pixels of `alphaColor` (0xRRGGBB) with that alpha. Nothing when no image could be read.
std::optional<ImageData> LoadImageFile(const std::string& path, bool lookForAlpha = true,
                                       uint32_t alphaColor = 0xFFFFFF);

// LoadImageFile into a new display image registered with `registry` (null: none); its
// m_filePath is `path` and its alpha flags are computed.
std::unique_ptr<DDImage> LoadDDImage(const std::string& path, ImageRegistry* registry,
                                     bool lookForAlpha = true, uint32_t alphaColor = 0xFFFFFF);
// The same for pixels already read from `path`; null when they are not a valid image.
std::unique_ptr<DDImage> MakeDDImage(ImageData&& data, const std::string& path, ImageRegistry* registry);

// The single readers over file bytes; each gives nothing for anything unreadable.
std::optional<ImageData> DecodeTga(const uint8_t* data, size_t size);
std::optional<ImageData> DecodeGif(const uint8_t* data, size_t size);
std::optional<ImageData> DecodeJpeg(const uint8_t* data, size_t size);
std::optional<ImageData> DecodePng(const uint8_t* data, size_t size);
// The PNG reader on an open archive-layer file (libpng pulls bytes through PakRead).
std::optional<ImageData> ReadPngFile(const std::string& path);

} // namespace Vel
