// The image readers on small files written here (TGA, GIF with a real LZW encoder, PNG and JPEG
// through their libraries), damaged copies of them, and the alpha-image search.
#include "framework/graphics/ImageLoader.h"
#include "framework/graphics/ImagePrefetcher.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>

#include <jpeglib.h> // after <cstdio>
#include <png.h>

#include "framework/archive/PakFormat.h"
#include "framework/archive/PakInterface.h"
#include "framework/graphics/DDImage.h"
#include "framework/graphics/ImageWriter.h"
#include "framework/graphics/MemoryImage.h"

namespace fs = std::filesystem;
using Vel::ImageData;

namespace {

using Bytes = std::vector<uint8_t>;

// A 6 x 5 test picture with transparent, partial and opaque pixels, 0xAARRGGBB.
std::vector<uint32_t> Picture(int w = 6, int h = 5)
{
    std::vector<uint32_t> bits(size_t(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            bits[size_t(y) * w + x] = uint32_t((x * 50) % 256) << 24 | uint32_t(x * 40) << 16 | uint32_t(y * 60) << 8 |
                                      uint32_t((x + y) * 20);
    return bits;
}

void Put16(Bytes& out, uint32_t v)
{
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

Bytes Tga(int w, int h, const std::vector<uint32_t>& bits, int depth = 32, uint8_t descriptor = 0x28,
          uint8_t type = 2, std::string id = "")
{
    Bytes out = {uint8_t(id.size()), 0, type};
    out.resize(12, 0);
    Put16(out, uint32_t(w));
    Put16(out, uint32_t(h));
    out.push_back(uint8_t(depth));
    out.push_back(descriptor);
    out.insert(out.end(), id.begin(), id.end());
    for (uint32_t p : bits) {
        out.push_back(uint8_t(p));
        out.push_back(uint8_t(p >> 8));
        out.push_back(uint8_t(p >> 16));
        if (depth == 32) out.push_back(uint8_t(p >> 24));
    }
    return out;
}

// GIF: variable-width LZW codes, least significant bit first.
struct BitWriter {
    Bytes bytes;
    uint32_t acc = 0;
    int count = 0;
    void Put(int code, int size)
    {
        acc |= uint32_t(code) << count;
        count += size;
        while (count >= 8) {
            bytes.push_back(uint8_t(acc));
            acc >>= 8;
            count -= 8;
        }
    }
    Bytes Finish()
    {
        if (count > 0) bytes.push_back(uint8_t(acc));
        return bytes;
    }
};

Bytes LzwEncode(const std::vector<uint8_t>& indices, int minCodeSize)
{
    const int clear = 1 << minCodeSize;
    BitWriter out;
    std::map<int, int> dict;
    int next = clear + 2, codeSize = minCodeSize + 1;
    out.Put(clear, codeSize);
    int prefix = indices[0];
    for (size_t i = 1; i < indices.size(); ++i) {
        const int key = prefix << 8 | indices[i];
        if (auto it = dict.find(key); it != dict.end()) {
            prefix = it->second;
            continue;
        }
        out.Put(prefix, codeSize);
        dict[key] = next++;
        if (next > (1 << codeSize) && codeSize < 12) ++codeSize;
        if (next == 4096) {
            out.Put(clear, codeSize);
            dict.clear();
            next = clear + 2;
            codeSize = minCodeSize + 1;
        }
        prefix = indices[i];
    }
    out.Put(prefix, codeSize);
    out.Put(clear + 1, codeSize);
    return out.Finish();
}

struct GifFixture {
    int w = 0, h = 0;
    std::vector<uint32_t> palette; // 0xRRGGBB, a power of two entries
    std::vector<uint8_t> indices;  // row by row
    int transparent = -1;
    bool interlaced = false;
    bool localTable = false;
    Bytes lzwOverride; // replaces the encoded data when set
};

Bytes Gif(const GifFixture& fixture)
{
    Bytes out = {'G', 'I', 'F', '8', '9', 'a'};
    Put16(out, uint32_t(fixture.w));
    Put16(out, uint32_t(fixture.h));
    int bits = 1;
    while ((1 << bits) < int(fixture.palette.size())) ++bits;
    auto table = [&] {
        for (uint32_t c : fixture.palette) {
            out.push_back(uint8_t(c >> 16));
            out.push_back(uint8_t(c >> 8));
            out.push_back(uint8_t(c));
        }
    };
    const bool global = !fixture.palette.empty() && !fixture.localTable;
    out.push_back(uint8_t((global ? 0x80 : 0) | (bits - 1)));
    out.push_back(0);
    out.push_back(0);
    if (global) table();
    const std::string comment = "made by the test";
    out.insert(out.end(), {0x21, 0xFE, uint8_t(comment.size())});
    out.insert(out.end(), comment.begin(), comment.end());
    out.push_back(0);
    if (fixture.transparent >= 0) out.insert(out.end(), {0x21, 0xF9, 4, 1, 0, 0, uint8_t(fixture.transparent), 0});
    out.push_back(0x2C);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, uint32_t(fixture.w));
    Put16(out, uint32_t(fixture.h));
    out.push_back(uint8_t((fixture.localTable ? 0x80 | (bits - 1) : 0) | (fixture.interlaced ? 0x40 : 0)));
    if (fixture.localTable) table();
    const int minCodeSize = std::max(2, bits);
    out.push_back(uint8_t(minCodeSize));
    std::vector<uint8_t> order = fixture.indices;
    if (fixture.interlaced) {
        order.clear();
        for (auto [start, step] : {std::pair{0, 8}, {4, 8}, {2, 4}, {1, 2}})
            for (int y = start; y < fixture.h; y += step)
                order.insert(order.end(), fixture.indices.begin() + y * fixture.w, fixture.indices.begin() + (y + 1) * fixture.w);
    }
    const Bytes lzw = fixture.lzwOverride.empty() ? LzwEncode(order, minCodeSize) : fixture.lzwOverride;
    for (size_t i = 0; i < lzw.size(); i += 255) {
        const size_t n = std::min<size_t>(255, lzw.size() - i);
        out.push_back(uint8_t(n));
        out.insert(out.end(), lzw.begin() + long(i), lzw.begin() + long(i + n));
    }
    out.push_back(0);
    out.push_back(0x3B);
    return out;
}

// Runs of one colour make the encoder use long strings and the code-equals-next case; with
// `noisy`, two rows in three are pseudo-random, so a 200 x 160 image fills the 4096-code table.
GifFixture StripedGif(int w, int h, bool noisy = false)
{
    GifFixture fixture;
    fixture.w = w;
    fixture.h = h;
    fixture.palette = {0xFF0000, 0x00FF00, 0x0000FF, 0x101010};
    uint32_t state = 1;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            state = state * 214013u + 2531011u;
            fixture.indices.push_back(uint8_t(noisy && y % 3 ? (state >> 16) % 4 : ((x / 5) + (y / 3)) % 4));
        }
    }
    return fixture;
}

Bytes Png(int w, int h, const std::vector<uint32_t>& bits, int colorType = PNG_COLOR_TYPE_RGBA, int depth = 8)
{
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(
        png, &out,
        [](png_structp p, png_bytep data, png_size_t n) {
            auto* o = static_cast<Bytes*>(png_get_io_ptr(p));
            o->insert(o->end(), data, data + n);
        },
        nullptr);
    png_set_IHDR(png, info, uint32_t(w), uint32_t(h), depth, colorType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_color palette[4] = {{10, 20, 30}, {200, 100, 50}, {0, 0, 0}, {255, 255, 255}};
    if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_PLTE(png, info, palette, 4);
    png_write_info(png, info);
    const int channels = colorType == PNG_COLOR_TYPE_RGBA ? 4 : colorType == PNG_COLOR_TYPE_GRAY ? 1 : colorType == PNG_COLOR_TYPE_PALETTE ? 1 : 3;
    std::vector<uint8_t> row(size_t(w) * channels * (depth / 8));
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const uint32_t p = bits[size_t(y) * w + x];
            uint8_t* o = row.data() + size_t(x) * channels * (depth / 8);
            if (colorType == PNG_COLOR_TYPE_RGBA) {
                o[0] = uint8_t(p >> 16), o[1] = uint8_t(p >> 8), o[2] = uint8_t(p), o[3] = uint8_t(p >> 24);
            } else if (colorType == PNG_COLOR_TYPE_GRAY) {
                o[0] = uint8_t(p);
            } else if (colorType == PNG_COLOR_TYPE_PALETTE) {
                o[0] = uint8_t(p % 4);
            } else {
                for (int c = 0; c < 3 * (depth / 8); ++c) o[c] = uint8_t(p >> (c % 3 * 8));
            }
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

Bytes Jpeg(int w, int h, bool grey, uint32_t colour)
{
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* mem = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &mem, &size);
    cinfo.image_width = JDIMENSION(w);
    cinfo.image_height = JDIMENSION(h);
    cinfo.input_components = grey ? 1 : 3;
    cinfo.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 95, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> row(size_t(w) * 3);
    for (int x = 0; x < w; ++x) {
        row[size_t(x) * (grey ? 1 : 3)] = uint8_t(colour >> 16);
        if (!grey) row[size_t(x) * 3 + 1] = uint8_t(colour >> 8), row[size_t(x) * 3 + 2] = uint8_t(colour);
    }
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&cinfo, &r, 1);
    }
    jpeg_finish_compress(&cinfo);
    Bytes out(mem, mem + size);
    jpeg_destroy_compress(&cinfo);
    free(mem);
    return out;
}

std::vector<uint32_t> Expected(const GifFixture& fixture)
{
    std::vector<uint32_t> bits;
    for (uint8_t i : fixture.indices) bits.push_back((int(i) == fixture.transparent ? 0 : 0xFF000000u) | fixture.palette[i]);
    return bits;
}

bool Near(uint32_t a, uint32_t b, int tolerance)
{
    for (int shift = 0; shift < 32; shift += 8)
        if (std::abs(int(a >> shift & 255) - int(b >> shift & 255)) > tolerance) return false;
    return true;
}

class ImageFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() /
                ("img_test_" + std::to_string(getpid()) + "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }
    std::string Write(const std::string& name, const Bytes& bytes)
    {
        const fs::path path = m_dir / name;
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return path.string();
    }
    std::string Path(const std::string& name) const { return (m_dir / name).string(); }
    fs::path m_dir;
};

} // namespace

TEST(ImageDecodeTest, EachReaderDecodesItsFixture)
{
    const std::vector<uint32_t> picture = Picture();

    const Bytes tga = Tga(6, 5, picture, 32, 0x28, 2, "id bytes are skipped");
    auto fromTga = Vel::DecodeTga(tga.data(), tga.size());
    ASSERT_TRUE(fromTga);
    EXPECT_EQ(fromTga->bits, picture);

    const Bytes png = Png(6, 5, picture);
    auto fromPng = Vel::DecodePng(png.data(), png.size());
    ASSERT_TRUE(fromPng);
    EXPECT_EQ(fromPng->width, 6);
    EXPECT_EQ(fromPng->bits, picture);

    // Palette and grey PNGs come out as opaque colour.
    const Bytes palettePng = Png(6, 5, picture, PNG_COLOR_TYPE_PALETTE);
    auto fromPalette = Vel::DecodePng(palettePng.data(), palettePng.size());
    ASSERT_TRUE(fromPalette);
    const uint32_t paletteArgb[4] = {0xFF0A141E, 0xFFC86432, 0xFF000000, 0xFFFFFFFF};
    for (size_t i = 0; i < picture.size(); ++i) ASSERT_EQ(fromPalette->bits[i], paletteArgb[picture[i] % 4]) << i;
    const Bytes greyPng = Png(6, 5, picture, PNG_COLOR_TYPE_GRAY);
    auto fromGrey = Vel::DecodePng(greyPng.data(), greyPng.size());
    ASSERT_TRUE(fromGrey);
    for (size_t i = 0; i < picture.size(); ++i) ASSERT_EQ(fromGrey->bits[i], 0xFF000000u | (picture[i] & 0xFF) * 0x010101u);

    for (bool grey : {false, true}) {
        const Bytes jpeg = Jpeg(16, 8, grey, 0xC86432);
        auto fromJpeg = Vel::DecodeJpeg(jpeg.data(), jpeg.size());
        ASSERT_TRUE(fromJpeg) << grey;
        EXPECT_EQ(fromJpeg->width, 16);
        EXPECT_EQ(fromJpeg->height, 8);
        const uint32_t want = grey ? 0xFFC8C8C8 : 0xFFC86432;
        for (uint32_t p : fromJpeg->bits) ASSERT_TRUE(Near(p, want, 4)) << std::hex << p;
    }

    GifFixture plain = StripedGif(37, 23);
    GifFixture interlaced = plain;
    interlaced.interlaced = true;
    interlaced.localTable = true;
    interlaced.transparent = 2;
    GifFixture large = StripedGif(200, 160, true);
    for (const GifFixture* fixture : {&plain, &interlaced, &large}) {
        const Bytes gif = Gif(*fixture);
        auto fromGif = Vel::DecodeGif(gif.data(), gif.size());
        ASSERT_TRUE(fromGif);
        EXPECT_EQ(fromGif->bits, Expected(*fixture));
    }
}

TEST(ImageDecodeTest, DamagedFilesGiveNoImage)
{
    const std::vector<uint32_t> picture = Picture();
    const Bytes png = Png(6, 5, picture);
    const Bytes jpeg = Jpeg(64, 64, false, 0x336699);
    const Bytes gif = Gif(StripedGif(37, 23));

    GifFixture badCode = StripedGif(4, 4);
    BitWriter lzw; // clear, one literal, then a code far past the next free one
    lzw.Put(4, 3), lzw.Put(1, 3), lzw.Put(7, 3), lzw.Put(5, 3);
    badCode.lzwOverride = lzw.Finish();
    GifFixture badIndex;
    badIndex.w = 2, badIndex.h = 2;
    badIndex.palette = {0x000000, 0xFFFFFF}; // two entries, but the data uses index 3
    badIndex.indices = {0, 1, 3, 0};
    GifFixture noTable = badIndex;
    noTable.palette.clear();
    noTable.indices = {0, 0, 0, 0};

    struct Case {
        const char* what;
        Bytes bytes;
        std::optional<ImageData> (*decode)(const uint8_t*, size_t);
    };
    const std::vector<Case> cases = {
        {"TGA 24-bit", Tga(6, 5, picture, 24, 0x20), Vel::DecodeTga},
        {"TGA bottom-up", Tga(6, 5, picture, 32, 0x08), Vel::DecodeTga},
        {"TGA run-length type", Tga(6, 5, picture, 32, 0x28, 10), Vel::DecodeTga},
        {"TGA header larger than its data", Tga(60, 50, picture), Vel::DecodeTga},
        {"TGA above the size cap", Tga(20000, 1, {}), Vel::DecodeTga},
        {"TGA shorter than a header", Bytes(10, 0), Vel::DecodeTga},
        {"PNG cut in half", Bytes(png.begin(), png.begin() + long(png.size() / 2)), Vel::DecodePng},
        {"PNG 16-bit", Png(2, 2, {1, 2, 3, 4}, PNG_COLOR_TYPE_RGB, 16), Vel::DecodePng},
        {"not a PNG", Bytes(100, 'x'), Vel::DecodePng},
        {"JPEG cut in half", Bytes(jpeg.begin(), jpeg.begin() + long(jpeg.size() / 2)), Vel::DecodeJpeg},
        {"not a JPEG", Bytes(100, 'x'), Vel::DecodeJpeg},
        {"GIF code past the next free code", Gif(badCode), Vel::DecodeGif},
        {"GIF index past its colour table", Gif(badIndex), Vel::DecodeGif},
        {"GIF without a colour table", Gif(noTable), Vel::DecodeGif},
        {"GIF cut in half", Bytes(gif.begin(), gif.begin() + long(gif.size() / 2)), Vel::DecodeGif},
        {"GIF wrong signature", Bytes{'G', 'I', 'F', '9', '0', 'a', 1, 0, 1, 0, 0, 0, 0}, Vel::DecodeGif},
    };
    for (const Case& c : cases) EXPECT_FALSE(c.decode(c.bytes.data(), c.bytes.size())) << c.what;
}

TEST_F(ImageFileTest, SearchOrderExtensionsAndAlphaImages)
{
    const std::vector<uint32_t> picture = Picture();
    std::vector<uint32_t> other = picture;
    for (uint32_t& p : other) p ^= 0x00FFFFFF;
    Write("both.tga", Tga(6, 5, picture));
    Write("both.png", Png(6, 5, other));

    auto found = Vel::LoadImageFile(Path("both"), false);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->bits, picture); // TGA comes before PNG
    found = Vel::LoadImageFile(Path("both.png"), false);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->bits, other); // an explicit extension picks its reader only
    Write("upper.PNG", Png(6, 5, other));
    EXPECT_TRUE(Vel::LoadImageFile(Path("upper.PNG"), false)); // matched ignoring case
    EXPECT_FALSE(Vel::LoadImageFile(Path("both.j2k"), false));
    EXPECT_FALSE(Vel::LoadImageFile(Path("missing"), true));

    // The alpha image's blue channel becomes the alpha of a colour image of the same size.
    std::vector<uint32_t> mask(picture.size());
    for (size_t i = 0; i < mask.size(); ++i) mask[i] = 0xFF000000u | 0x123400u | uint32_t(i * 7);
    Write("merged.png", Png(6, 5, picture));
    Write("_merged.gif", [&] {
        GifFixture fixture;
        fixture.w = 6, fixture.h = 5;
        for (int i = 0; i < 32; ++i) fixture.palette.push_back(0x123400u | uint32_t(i * 7));
        for (size_t i = 0; i < mask.size(); ++i) fixture.indices.push_back(uint8_t(i));
        return Gif(fixture);
    }());
    auto merged = Vel::LoadImageFile(Path("merged"));
    ASSERT_TRUE(merged);
    for (size_t i = 0; i < picture.size(); ++i) ASSERT_EQ(merged->bits[i], (picture[i] & 0xFFFFFF) | (mask[i] & 0xFF) << 24);

    // Alone, it makes an image of the alpha colour with that alpha; "name_" is the second place.
    Write("solo_.tga", Tga(6, 5, mask));
    auto alone = Vel::LoadImageFile(Path("solo"));
    ASSERT_TRUE(alone);
    for (size_t i = 0; i < mask.size(); ++i) ASSERT_EQ(alone->bits[i], (mask[i] & 0xFF) << 24 | 0xFFFFFF);
    auto tinted = Vel::LoadImageFile(Path("solo"), true, 0x102030);
    ASSERT_TRUE(tinted);
    EXPECT_EQ(tinted->bits[1], (mask[1] & 0xFF) << 24 | 0x102030);

    // An alpha image of another size is ignored.
    Write("sized.tga", Tga(6, 5, picture));
    Write("_sized.tga", Tga(2, 2, {0, 0, 0, 0}));
    auto sized = Vel::LoadImageFile(Path("sized"));
    ASSERT_TRUE(sized);
    EXPECT_EQ(sized->bits, picture);

    auto image = Vel::LoadDDImage(Path("merged"), nullptr);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->m_filePath, Path("merged"));
    EXPECT_TRUE(image->m_hasTrans);
}

TEST_F(ImageFileTest, ImagesLoadFromTheArchive)
{
    // Member data are stored XOR-ed with the key, after a directory of one entry.
    const std::vector<uint32_t> picture = Picture();
    const Bytes png = Png(6, 5, picture);
    const std::string member = "imagetest_" + std::to_string(getpid()) + "\\Sprite.png";
    Bytes pak;
    for (uint32_t v : {Vel::kPakMagic, Vel::kPakVersion})
        for (int i = 0; i < 4; ++i) pak.push_back(uint8_t(v >> (8 * i)));
    pak.push_back(0);
    pak.push_back(uint8_t(member.size()));
    pak.insert(pak.end(), member.begin(), member.end());
    for (int i = 0; i < 4; ++i) pak.push_back(uint8_t(png.size() >> (8 * i)));
    pak.resize(pak.size() + 8, 0);
    pak.push_back(Vel::kPakEndOfDirectory);
    pak.insert(pak.end(), png.begin(), png.end());
    for (uint8_t& b : pak) b ^= Vel::kPakKey;
    ASSERT_TRUE(Vel::PakInterface::Instance().RegisterArchive(Write("images.pak", pak)));

    auto image = Vel::LoadImageFile("ImageTest_" + std::to_string(getpid()) + "/sprite");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->bits, picture);
}

TEST(ImageDecodeTest, RandomlyDamagedFilesNeverGiveInconsistentImages)
{
    const std::vector<uint32_t> picture = Picture();
    struct Format {
        const char* name;
        Bytes bytes;
        std::optional<ImageData> (*decode)(const uint8_t*, size_t);
    };
    const std::vector<Format> formats = {
        {"TGA", Tga(6, 5, picture), Vel::DecodeTga},
        {"PNG", Png(6, 5, picture), Vel::DecodePng},
        {"JPEG", Jpeg(16, 16, false, 0x808080), Vel::DecodeJpeg},
        {"GIF", Gif(StripedGif(20, 20)), Vel::DecodeGif},
    };
    std::mt19937 rng(99);
    for (const Format& f : formats) {
        for (int round = 0; round < 300; ++round) {
            Bytes damaged = f.bytes;
            const int flips = 1 + int(rng() % 4);
            for (int i = 0; i < flips; ++i) damaged[rng() % damaged.size()] ^= uint8_t(1 + rng() % 255);
            if (round % 3 == 0) damaged.resize(rng() % damaged.size());
            auto image = f.decode(damaged.data(), damaged.size());
            if (!image) continue;
            ASSERT_GE(image->width, 1) << f.name;
            ASSERT_LE(image->width, Vel::kMaxImageDimension) << f.name;
            ASSERT_LE(image->height, Vel::kMaxImageDimension) << f.name;
            ASSERT_EQ(image->bits.size(), size_t(image->width) * size_t(image->height)) << f.name;
        }
    }
}

TEST_F(ImageFileTest, SavedPngsReadBackExactly)
{
    const std::vector<uint32_t> picture = Picture(9, 4);
    Vel::MemoryImage image;
    image.SetBits(picture.data(), 9, 4);
    std::string error;
    ASSERT_TRUE(Vel::SavePng(image, Path("shot.png"), &error)) << error;
    auto back = Vel::LoadImageFile(Path("shot.png"), false);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->bits, picture);

    Vel::MemoryImage empty;
    EXPECT_FALSE(Vel::SavePng(empty, Path("empty.png"), &error));
    EXPECT_FALSE(Vel::SavePng(image, Path("no/such/folder/shot.png"), &error));
    EXPECT_FALSE(error.empty());
}

TEST_F(ImageFileTest, PrefetchedFilesMatchTheirOwnReadAndSkippedOnesAreGivenUp)
{
    std::vector<Vel::ImagePrefetcher::Request> requests;
    std::vector<std::vector<uint32_t>> pictures;
    for (int i = 0; i < 6; ++i) {
        pictures.push_back(std::vector<uint32_t>(12, 0xFF000000u | uint32_t(i * 0x010203)));
        requests.push_back({Write("p" + std::to_string(i) + ".tga", Tga(4, 3, pictures.back())), 0xFFFFFF});
    }
    requests.push_back({Path("missing"), 0xFFFFFF});
    {
        Vel::ImagePrefetcher prefetch(requests, 2);
        auto first = prefetch.Take(requests[0].path, 0xFFFFFF);
        ASSERT_TRUE(first);
        EXPECT_EQ(first->bits, pictures[0]);
        EXPECT_FALSE(prefetch.Take(requests[1].path, 0x123456)); // another alpha colour: not this request
        auto fourth = prefetch.Take(requests[3].path, 0xFFFFFF); // the loader skipped two
        ASSERT_TRUE(fourth);
        EXPECT_EQ(fourth->bits, pictures[3]);
        EXPECT_FALSE(prefetch.Take(requests[2].path, 0xFFFFFF)); // given up: the caller reads it itself
        EXPECT_FALSE(prefetch.Take(Path("never-asked.tga"), 0xFFFFFF));
        EXPECT_FALSE(prefetch.Take(requests[6].path, 0xFFFFFF)); // unreadable: the caller meets the error
    }
    // Destroyed with requests still ahead, it stops without waiting for a taker.
    Vel::ImagePrefetcher abandoned(requests, 1);
}
