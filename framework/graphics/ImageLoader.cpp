// Image file readers over the archive layer. Every reader checks sizes against the bytes it has
// and the dimension cap before allocating, and gives nothing for anything it cannot read whole.
#include "framework/graphics/ImageLoader.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h> // after <cstdio>: it needs FILE
#include <png.h>

#include "framework/archive/PakInterface.h"
#include "framework/graphics/DDImage.h"

namespace Vel {

namespace {

// One slot more than the pixels, so the image that takes the buffer over can add its guard
// word without copying.
void AllocatePixels(ImageData& image, size_t count)
{
    image.bits.reserve(count + 1);
    image.bits.resize(count);
}

bool DimensionsOk(uint64_t w, uint64_t h)
{
    return w >= 1 && h >= 1 && w <= uint64_t(kMaxImageDimension) && h <= uint64_t(kMaxImageDimension);
}

uint32_t Le16(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8; }

// ---- GIF ----------------------------------------------------------------------------------

class GifReader {
public:
    GifReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    std::optional<ImageData> Decode()
    {
        if (m_size < 13 || (std::memcmp(m_data, "GIF87", 5) != 0 && std::memcmp(m_data, "GIF89", 5) != 0))
            return std::nullopt;
        m_pos = 6;
        m_pos += 4; // logical screen size: the first image's own size is what we deliver
        const uint8_t packed = m_data[m_pos];
        m_pos += 3;
        uint32_t globalTable[256];
        int globalCount = 0;
        if (packed & 0x80) {
            globalCount = 1 << ((packed & 7) + 1);
            if (!ReadTable(globalTable, globalCount)) return std::nullopt;
        }
        int transparent = -1;
        while (m_pos < m_size) {
            const uint8_t block = m_data[m_pos++];
            if (block == 0x3B) return std::nullopt; // trailer before any image
            if (block == 0x21) {
                if (m_pos >= m_size) return std::nullopt;
                const uint8_t label = m_data[m_pos++];
                if (label == 0xF9 && m_pos + 5 <= m_size && m_data[m_pos] >= 4) {
                    const uint8_t flags = m_data[m_pos + 1];
                    transparent = (flags & 1) ? m_data[m_pos + 4] : -1;
                }
                if (!SkipSubBlocks()) return std::nullopt;
                continue;
            }
            if (block != 0x2C) return std::nullopt;
            return DecodeImage(globalTable, globalCount, transparent);
        }
        return std::nullopt;
    }

private:
    bool ReadTable(uint32_t* table, int count)
    {
        if (m_pos + size_t(count) * 3 > m_size) return false;
        for (int i = 0; i < count; ++i, m_pos += 3)
            table[i] = 0xFF000000u | uint32_t(m_data[m_pos]) << 16 | uint32_t(m_data[m_pos + 1]) << 8 | m_data[m_pos + 2];
        return true;
    }

    bool SkipSubBlocks()
    {
        for (;;) {
            if (m_pos >= m_size) return false;
            const uint8_t n = m_data[m_pos++];
            if (n == 0) return true;
            m_pos += n;
        }
    }

    std::optional<ImageData> DecodeImage(const uint32_t* globalTable, int globalCount, int transparent)
    {
        if (m_pos + 9 > m_size) return std::nullopt;
        const uint32_t w = Le16(m_data + m_pos + 4), h = Le16(m_data + m_pos + 6);
        const uint8_t packed = m_data[m_pos + 8];
        m_pos += 9;
        if (!DimensionsOk(w, h)) return std::nullopt;
        uint32_t localTable[256];
        const uint32_t* table = globalTable;
        int count = globalCount;
        if (packed & 0x80) {
            count = 1 << ((packed & 7) + 1);
            if (!ReadTable(localTable, count)) return std::nullopt;
            table = localTable;
        }
        if (count == 0) return std::nullopt; // no colour table at all
        const bool interlaced = (packed & 0x40) != 0;

        if (m_pos >= m_size) return std::nullopt;
        const int minCodeSize = m_data[m_pos++];
        if (minCodeSize < 1 || minCodeSize > 8) return std::nullopt;

        // The LZW data, gathered from its sub-blocks.
        std::vector<uint8_t> lzw;
        for (;;) {
            if (m_pos >= m_size) return std::nullopt;
            const uint8_t n = m_data[m_pos++];
            if (n == 0) break;
            if (m_pos + n > m_size) return std::nullopt;
            lzw.insert(lzw.end(), m_data + m_pos, m_data + m_pos + n);
            m_pos += n;
        }

        const size_t total = size_t(w) * h;
        std::vector<uint8_t> indices;
        // Grows with the data actually decoded, not with what the header claims.
        indices.reserve(std::min(total, lzw.size() * 8));
        if (!Lzw(lzw, minCodeSize, total, indices)) return std::nullopt;

        ImageData image;
        image.width = int(w);
        image.height = int(h);
        AllocatePixels(image, total);
        // Interlaced rows come in four passes: every 8th from 0, every 8th from 4, every 4th
        // from 2, every 2nd from 1.
        static const int kStart[4] = {0, 4, 2, 1}, kStep[4] = {8, 8, 4, 2};
        size_t src = 0;
        for (int pass = 0; pass < (interlaced ? 4 : 1); ++pass) {
            const int start = interlaced ? kStart[pass] : 0, step = interlaced ? kStep[pass] : 1;
            for (uint32_t y = uint32_t(start); y < h; y += uint32_t(step)) {
                for (uint32_t x = 0; x < w; ++x) {
                    const uint8_t index = indices[src++];
                    if (index >= count) return std::nullopt; // index past the colour table
                    uint32_t p = table[index];
                    if (index == transparent) p &= 0x00FFFFFF;
                    image.bits[size_t(y) * w + x] = p;
                }
            }
        }
        return image;
    }

    // Decodes until `total` indices are out; false on a code past the next free code or data
    // that ends early.
    static bool Lzw(const std::vector<uint8_t>& data, int minCodeSize, size_t total, std::vector<uint8_t>& out)
    {
        constexpr int kMaxCodes = 4096;
        static thread_local uint16_t prefix[kMaxCodes];
        static thread_local uint8_t suffix[kMaxCodes];
        static thread_local uint8_t firstChar[kMaxCodes];
        uint8_t stack[kMaxCodes];

        const int clear = 1 << minCodeSize, end = clear + 1;
        for (int i = 0; i < clear; ++i) {
            suffix[i] = uint8_t(i);
            firstChar[i] = uint8_t(i);
        }
        int codeSize = minCodeSize + 1;
        int next = clear + 2;
        int old = -1;
        uint32_t bitBuffer = 0;
        int bitCount = 0;
        size_t bytePos = 0;

        while (out.size() < total) {
            while (bitCount < codeSize) {
                if (bytePos >= data.size()) return false; // truncated
                bitBuffer |= uint32_t(data[bytePos++]) << bitCount;
                bitCount += 8;
            }
            const int code = int(bitBuffer & ((1u << codeSize) - 1));
            bitBuffer >>= codeSize;
            bitCount -= codeSize;

            if (code == clear) {
                codeSize = minCodeSize + 1;
                next = clear + 2;
                old = -1;
                continue;
            }
            if (code == end) return false; // ended before the image was complete
            if (old < 0) {
                if (code >= clear) return false;
                out.push_back(uint8_t(code));
                old = code;
                continue;
            }
            int cur;
            uint8_t first;
            int depth = 0;
            if (code < next) {
                cur = code;
                first = firstChar[code];
            } else if (code == next) {
                first = firstChar[old];
                stack[depth++] = first; // the new string is old's plus its first character
                cur = old;
            } else {
                return false; // a code past the next free code
            }
            while (cur >= clear) {
                if (depth >= kMaxCodes) return false;
                stack[depth++] = suffix[cur];
                cur = prefix[cur];
            }
            stack[depth++] = uint8_t(cur);
            while (depth > 0 && out.size() < total) out.push_back(stack[--depth]);

            if (next < kMaxCodes) {
                prefix[next] = uint16_t(old);
                suffix[next] = first;
                firstChar[next] = firstChar[old];
                ++next;
                if (next == (1 << codeSize) && codeSize < 12) ++codeSize;
            }
            old = code;
        }
        return true;
    }

    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

// ---- PNG ----------------------------------------------------------------------------------

struct PngSource {
    const uint8_t* data = nullptr; // memory source
    size_t size = 0;
    size_t pos = 0;
    PakStream* stream = nullptr; // or a file through the archive layer
};

void PngRead(png_structp png, png_bytep out, png_size_t length)
{
    auto* src = static_cast<PngSource*>(png_get_io_ptr(png));
    if (src->stream) {
        if (PakRead(out, 1, length, src->stream) != length) png_error(png, "Read Error");
        return;
    }
    if (length > src->size - src->pos) png_error(png, "Read Error");
    std::memcpy(out, src->data + src->pos, length);
    src->pos += length;
}

void PngError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void PngWarning(png_structp, png_const_charp) {}

std::optional<ImageData> DecodePngFrom(PngSource& source)
{
    ImageData image;
    std::vector<png_bytep> rows;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, PngError, PngWarning);
    if (!png) return std::nullopt;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return std::nullopt;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return std::nullopt;
    }
    png_set_read_fn(png, &source, PngRead);
    png_set_user_limits(png, kMaxImageDimension, kMaxImageDimension);
    png_read_info(png, info);
    png_uint_32 w = 0, h = 0;
    int depth = 0, colorType = 0, interlace = 0;
    png_get_IHDR(png, info, &w, &h, &depth, &colorType, &interlace, nullptr, nullptr);
    if (depth == 16 || !DimensionsOk(w, h)) {
        png_destroy_read_struct(&png, &info, nullptr);
        return std::nullopt;
    }
    if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (colorType == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_set_bgr(png); // blue, green, red, alpha bytes: one little-endian 0xAARRGGBB word
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != size_t(w) * 4) {
        png_destroy_read_struct(&png, &info, nullptr);
        return std::nullopt;
    }
    image.width = int(w);
    image.height = int(h);
    AllocatePixels(image, size_t(w) * h);
    rows.resize(h);
    for (png_uint_32 y = 0; y < h; ++y) rows[y] = reinterpret_cast<png_bytep>(image.bits.data() + size_t(y) * w);
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    // The words were filled byte-wise in B, G, R, A order: on a big-endian machine swap them.
    if constexpr (std::endian::native == std::endian::big)
        for (uint32_t& p : image.bits) p = __builtin_bswap32(p);
    return image;
}

// ---- JPEG ---------------------------------------------------------------------------------

struct JpegError {
    jpeg_error_mgr mgr;
    jmp_buf jump;
};

void JpegFail(j_common_ptr cinfo) { std::longjmp(reinterpret_cast<JpegError*>(cinfo->err)->jump, 1); }

// A warning means damaged or truncated data, which libjpeg would paper over with grey.
void JpegMessage(j_common_ptr cinfo, int level)
{
    if (level < 0) JpegFail(cinfo);
}

// ---- the search -----------------------------------------------------------------------------

enum class Reader { kTga, kJpeg, kPng, kGif };
struct ReaderExt {
    Reader reader;
    const char* ext;
};
constexpr ReaderExt kReaders[] = {{Reader::kTga, ".tga"}, {Reader::kJpeg, ".jpg"}, {Reader::kPng, ".png"},
                                  {Reader::kGif, ".gif"}};

bool EqualsIgnoringCase(const std::string& a, const char* b)
{
    if (a.size() != std::strlen(b)) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::optional<ImageData> ReadWith(Reader reader, const std::string& file)
{
    if (reader == Reader::kPng) return ReadPngFile(file);
    std::vector<uint8_t> bytes;
    if (!PakReadWholeFile(file, bytes)) return std::nullopt;
    switch (reader) {
    case Reader::kTga: return DecodeTga(bytes.data(), bytes.size());
    case Reader::kJpeg: return DecodeJpeg(bytes.data(), bytes.size());
    case Reader::kGif: return DecodeGif(bytes.data(), bytes.size());
    case Reader::kPng: break;
    }
    return std::nullopt;
}

// Step 2 of the search: the readers in order, or only the one named by the extension.
std::optional<ImageData> ReadAnyFormat(const std::string& path)
{
    const size_t dot = path.rfind('.');
    const size_t sep = path.find_last_of("/\\");
    const bool hasExt = dot != std::string::npos && (sep == std::string::npos || dot > sep);
    if (hasExt) {
        const std::string ext = path.substr(dot);
        for (const ReaderExt& r : kReaders)
            if (EqualsIgnoringCase(ext, r.ext)) return ReadWith(r.reader, path);
        return std::nullopt; // JPEG 2000 and anything else
    }
    for (const ReaderExt& r : kReaders)
        if (auto image = ReadWith(r.reader, path + r.ext)) return image;
    return std::nullopt;
}

} // namespace

std::optional<ImageData> DecodeTga(const uint8_t* data, size_t size)
{
    if (!data || size < 18) return std::nullopt;
    const uint8_t idLength = data[0], colorMapType = data[1], imageType = data[2];
    const uint32_t w = Le16(data + 12), h = Le16(data + 14);
    const uint8_t depth = data[16], descriptor = data[17];
    // Uncompressed true colour, 32 bits, top-left origin with 8 alpha bits: nothing else.
    if (colorMapType != 0 || imageType != 2 || depth != 32 || descriptor != 0x28 || !DimensionsOk(w, h))
        return std::nullopt;
    const uint64_t offset = 18 + uint64_t(idLength);
    const uint64_t bytes = uint64_t(w) * h * 4;
    if (offset + bytes > size) return std::nullopt;
    ImageData image;
    image.width = int(w);
    image.height = int(h);
    AllocatePixels(image, size_t(w) * h);
    const uint8_t* p = data + offset;
    for (uint32_t& px : image.bits) {
        px = uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
        p += 4;
    }
    return image;
}

std::optional<ImageData> DecodeGif(const uint8_t* data, size_t size)
{
    if (!data) return std::nullopt;
    return GifReader(data, size).Decode();
}

std::optional<ImageData> DecodePng(const uint8_t* data, size_t size)
{
    if (!data) return std::nullopt;
    PngSource source;
    source.data = data;
    source.size = size;
    return DecodePngFrom(source);
}

std::optional<ImageData> ReadPngFile(const std::string& path)
{
    PakStream* stream = PakOpen(path.c_str(), "rb");
    if (!stream) return std::nullopt;
    PngSource source;
    source.stream = stream;
    auto image = DecodePngFrom(source);
    PakClose(stream);
    return image;
}

std::optional<ImageData> DecodeJpeg(const uint8_t* data, size_t size)
{
    if (!data || size == 0) return std::nullopt;
    // Everything with a destructor lives outside the jump's reach.
    ImageData image;
    std::vector<uint8_t> row;
    jpeg_decompress_struct cinfo;
    JpegError error;
    cinfo.err = jpeg_std_error(&error.mgr);
    error.mgr.error_exit = JpegFail;
    error.mgr.emit_message = JpegMessage;
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return std::nullopt;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(&cinfo, TRUE);
    const bool grey = cinfo.num_components == 1;
    if (!grey && cinfo.jpeg_color_space != JCS_YCbCr && cinfo.jpeg_color_space != JCS_RGB) {
        jpeg_destroy_decompress(&cinfo); // CMYK and the like
        return std::nullopt;
    }
    cinfo.out_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    if (!DimensionsOk(cinfo.image_width, cinfo.image_height)) {
        jpeg_destroy_decompress(&cinfo);
        return std::nullopt;
    }
    jpeg_start_decompress(&cinfo);
    const uint32_t w = cinfo.output_width, h = cinfo.output_height;
    const int comps = cinfo.output_components;
    image.width = int(w);
    image.height = int(h);
    AllocatePixels(image, size_t(w) * h);
    row.resize(size_t(w) * comps);
    while (cinfo.output_scanline < h) {
        JSAMPROW rowPtr = row.data();
        const uint32_t y = cinfo.output_scanline;
        if (jpeg_read_scanlines(&cinfo, &rowPtr, 1) != 1) break;
        uint32_t* out = image.bits.data() + size_t(y) * w;
        for (uint32_t x = 0; x < w; ++x) {
            const uint8_t* p = row.data() + size_t(x) * comps;
            out[x] = grey ? 0xFF000000u | uint32_t(p[0]) * 0x010101u
                          : 0xFF000000u | uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
        }
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return image;
}

std::optional<ImageData> LoadImageFile(const std::string& path, bool lookForAlpha, uint32_t alphaColor)
{
    std::optional<ImageData> image = ReadAnyFormat(path);
    if (!lookForAlpha) return image;

    const size_t sep = path.find_last_of("/\\");
    const std::string prefixed =
        sep == std::string::npos ? "_" + path : path.substr(0, sep + 1) + "_" + path.substr(sep + 1);
    std::optional<ImageData> alpha = ReadAnyFormat(prefixed);
    if (!alpha) alpha = ReadAnyFormat(path + "_");
    if (!alpha) return image;

    if (image) {
        if (image->width == alpha->width && image->height == alpha->height)
            for (size_t i = 0; i < image->bits.size(); ++i)
                image->bits[i] = (image->bits[i] & 0x00FFFFFF) | (alpha->bits[i] & 0xFF) << 24;
        return image;
    }
    for (uint32_t& p : alpha->bits) p = (p & 0xFF) << 24 | (alphaColor & 0xFFFFFF);
    return alpha;
}

std::unique_ptr<DDImage> LoadDDImage(const std::string& path, ImageRegistry* registry, bool lookForAlpha,
                                     uint32_t alphaColor)
{
    std::optional<ImageData> data = LoadImageFile(path, lookForAlpha, alphaColor);
    return data ? MakeDDImage(std::move(*data), path, registry) : nullptr;
}

std::unique_ptr<DDImage> MakeDDImage(ImageData&& data, const std::string& path, ImageRegistry* registry)
{
    auto image = std::make_unique<DDImage>(registry);
    if (!image->TakeBits(std::move(data.bits), data.width, data.height)) return nullptr;
    image->m_filePath = path;
    image->RecomputeAlphaFlags();
    return image;
}

} // namespace Vel
