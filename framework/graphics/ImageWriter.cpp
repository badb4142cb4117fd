// PNG encoding through libpng into memory, written with the platform's crash-safe writer.
#include "framework/graphics/ImageWriter.h"

#include <png.h>

#include "framework/graphics/MemoryImage.h"
#include "platform/Files.h"

namespace Vel {

namespace {

void AppendBytes(png_structp png, png_bytep data, png_size_t length)
{
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void FlushNothing(png_structp) {}

} // namespace

std::vector<uint8_t> EncodePng(const uint32_t* bits, int width, int height)
{
    std::vector<uint8_t> out;
    std::vector<uint8_t> row;
    if (!bits || width < 1 || height < 1 || width > kMaxImageDimension || height > kMaxImageDimension) return out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return out;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        out.clear();
        return out;
    }
    png_set_write_fn(png, &out, AppendBytes, FlushNothing);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    row.resize(size_t(width) * 4);
    for (int y = 0; y < height; ++y) {
        const uint32_t* src = bits + size_t(y) * width;
        for (int x = 0; x < width; ++x) {
            row[size_t(x) * 4 + 0] = uint8_t(src[x] >> 16);
            row[size_t(x) * 4 + 1] = uint8_t(src[x] >> 8);
            row[size_t(x) * 4 + 2] = uint8_t(src[x]);
            row[size_t(x) * 4 + 3] = uint8_t(src[x] >> 24);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

bool SavePng(MemoryImage& image, const std::string& path, std::string* error)
{
    const std::vector<uint8_t> bytes = EncodePng(image.GetBits(), image.GetWidth(), image.GetHeight());
    if (bytes.empty()) {
        if (error) *error = "cannot encode an empty image";
        return false;
    }
    const Plat::WriteResult result = Plat::WriteFileAtomically(path, bytes.data(), bytes.size());
    if (!result.ok && error) *error = result.error;
    return result.ok;
}

} // namespace Vel
