// The blending of every drawing path against the integer formulas written out plainly here.
#include <gtest/gtest.h>

#include <random>

#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"

using Vel::Color;
using Vel::Graphics;
using Vel::MemoryImage;
using Vel::Rect;

namespace {

struct Px {
    int r, g, b, a;
};
Px Unpack(uint32_t p) { return {int(p >> 16 & 255), int(p >> 8 & 255), int(p & 255), int(p >> 24)}; }
uint32_t Pack(Px p) { return uint32_t(p.a) << 24 | uint32_t(p.r) << 16 | uint32_t(p.g) << 8 | uint32_t(p.b); }

// The formulas as stated, one channel at a time, with real divisions.
Px RefModulate(Px s, Px k)
{
    return {k.r * s.r / 255, k.g * s.g / 255, k.b * s.b / 255, k.a * s.a / 255};
}
Px RefNormal(Px s, Px d)
{
    if (s.a == 0) return d;
    if (s.a == 255) return s;
    const int A = d.a + (255 - d.a) * s.a / 255;
    const int w = s.a * 255 / A;
    return {(s.r * w + d.r * (256 - w)) >> 8, (s.g * w + d.g * (256 - w)) >> 8, (s.b * w + d.b * (256 - w)) >> 8, A};
}
Px RefAdditive(Px s, Px d)
{
    return {std::min(255, d.r + s.r * s.a / 256), std::min(255, d.g + s.g * s.a / 256),
            std::min(255, d.b + s.b * s.a / 256), d.a};
}

MemoryImage Solid(int w, int h, uint32_t p)
{
    std::vector<uint32_t> bits(size_t(w) * h, p);
    MemoryImage image;
    image.SetBits(bits.data(), w, h);
    return image;
}

uint32_t At(MemoryImage& image, int x, int y) { return image.GetBits()[y * image.GetWidth() + x]; }

// Source rows mix every alpha value at random with runs longer than the 255-pixel run cap.
MemoryImage MixedSource(int w, int h, std::mt19937& rng)
{
    std::vector<uint32_t> bits(size_t(w) * h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            uint32_t p = rng();
            if (y % 4 == 1) p = (p & 0xFFFFFF) | (x < 300 ? 0xFF000000u : 0u); // long opaque, then clear
            if (y % 4 == 2 && (x / 7) % 2) p &= 0x00FFFFFF;                   // short transparent runs
            bits[size_t(y) * w + x] = p;
        }
    }
    MemoryImage image;
    image.SetBits(bits.data(), w, h);
    return image;
}

} // namespace

TEST(PixelTest, WorkedExamplesOfEachFormula)
{
    struct Case {
        const char* what;
        int mode;
        Color tint; // white: no modulation
        uint32_t src, dst, expected;
    };
    const Case cases[] = {
        // w = 128 * 255 / 255 = 128; r = (200 * 128 + 10 * 128) >> 8 = 105 ...
        {"half over opaque", 0, Color::White(), 0x80C86432, 0xFF0A141E, 0xFF693C28},
        // A = 0 + 255 * 128 / 255 = 128, w = 128 * 255 / 128 = 255; r = (200 * 255 + 10) >> 8 = 199 ...
        {"half over clear", 0, Color::White(), 0x80C86432, 0x000A141E, 0x80C76331},
        {"opaque replaces", 0, Color::White(), 0xFFC86432, 0x400A141E, 0xFFC86432},
        {"clear keeps", 0, Color::White(), 0x00C86432, 0x400A141E, 0x400A141E},
        // r = 100 + 200 * 128 / 256 = 200, g = 200 + 50, b = 250 + 25 saturates; alpha stays.
        {"additive", 1, Color::White(), 0x80C86432, 0x4D64C8FA, 0x4DC8FAFF},
        // source' = (128 * 200 / 255, 100, 0, 128) = (100, 100, 0, 128), then w = 128.
        {"modulated", 0, Color(128, 255, 0, 128), 0xFFC86432, 0xFF0A141E, 0xFF373C0F},
    };
    for (const Case& c : cases) {
        MemoryImage src = Solid(1, 1, c.src), dst = Solid(1, 1, c.dst);
        Graphics g(&dst);
        g.SetDrawMode(c.mode);
        g.SetColor(c.tint);
        g.SetImageTint(!(c.tint == Color::White()));
        g.DrawImage(&src, 0, 0);
        EXPECT_EQ(At(dst, 0, 0), c.expected) << c.what;
    }
}

TEST(PixelTest, BlitsMatchThePlainFormulasOnEveryPixel)
{
    std::mt19937 rng(7);
    MemoryImage src = MixedSource(600, 24, rng);
    const Color tints[] = {Color::White(), Color(255, 128, 3, 200), Color(90, 255, 255, 255), Color(0, 0, 0, 1)};
    for (int mode : {0, 1}) {
        for (const Color& tint : tints) {
            std::vector<uint32_t> base(600 * 24);
            for (uint32_t& p : base) p = rng();
            MemoryImage dst;
            dst.SetBits(base.data(), 600, 24);
            Graphics g(&dst);
            g.SetDrawMode(mode);
            g.SetColor(tint);
            g.SetImageTint(true);
            g.DrawImage(&src, 0, 0);
            const Px k{tint.red, tint.green, tint.blue, tint.alpha};
            int wrong = 0;
            for (size_t i = 0; i < base.size(); ++i) {
                Px s = Unpack(src.GetBits()[i]);
                if (!(tint == Color::White())) s = RefModulate(s, k);
                const Px d = Unpack(base[i]);
                const uint32_t want = Pack(mode == 0 ? RefNormal(s, d) : RefAdditive(s, d));
                wrong += dst.GetBits()[i] != want;
            }
            EXPECT_EQ(wrong, 0) << "mode " << mode << " tint " << std::hex << tint.ToPacked();
            EXPECT_TRUE(dst.CheckGuard());
        }
    }
}

TEST(PixelTest, FillsFollowTheFormulasAndTheAlphaEnds)
{
    std::mt19937 rng(11);
    std::vector<uint32_t> base(64 * 8);
    for (uint32_t& p : base) p = rng();
    const Color fills[] = {Color(10, 200, 30, 0), Color(10, 200, 30, 255), Color(250, 1, 128, 77), Color(3, 3, 3, 254)};
    for (int mode : {0, 1}) {
        for (const Color& fill : fills) {
            MemoryImage dst;
            dst.SetBits(base.data(), 64, 8);
            Graphics g(&dst);
            g.SetColor(fill);
            g.SetDrawMode(mode);
            g.FillRect(-5, -5, 100, 100);
            const Px s{fill.red, fill.green, fill.blue, fill.alpha};
            for (size_t i = 0; i < base.size(); ++i) {
                const Px d = Unpack(base[i]);
                // Alpha 0 draws nothing in either mode; alpha 255 writes the colour unchanged.
                const uint32_t want = fill.alpha == 0 ? base[i]
                                      : mode == 0     ? Pack(RefNormal(s, d))
                                                      : Pack(RefAdditive(s, d));
                ASSERT_EQ(dst.GetBits()[i], want) << "mode " << mode << " alpha " << fill.alpha << " at " << i;
            }
        }
    }
}

TEST(PixelTest, StretchedAndMirroredBlitsBlendTheSameWay)
{
    std::mt19937 rng(3);
    MemoryImage src = MixedSource(300, 8, rng);
    std::vector<uint32_t> base(300 * 8);
    for (uint32_t& p : base) p = rng();

    MemoryImage mirrored;
    mirrored.SetBits(base.data(), 300, 8);
    Graphics(&mirrored).DrawImageMirror(&src, 0, 0, Rect(0, 0, 300, 8));
    MemoryImage stretched;
    stretched.SetBits(base.data(), 300, 8);
    Graphics gs(&stretched);
    gs.SetFastStretch(true);
    gs.DrawImage(&src, Rect(0, 0, 300, 16), Rect(0, 0, 300, 8)); // twice as tall: rows repeat
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 300; ++x) {
            const Px d = Unpack(base[y * 300 + x]);
            ASSERT_EQ(At(mirrored, x, y), Pack(RefNormal(Unpack(At(src, 299 - x, y)), d))) << x << "," << y;
            ASSERT_EQ(At(stretched, x, y), Pack(RefNormal(Unpack(At(src, x, y / 2)), d))) << x << "," << y;
        }
    }
}

TEST(PixelTest, EveryPairOfSourceAndDestinationAlphaBlendsExactly)
{
    // Row y has destination alpha y, column x source alpha x; the channels vary too.
    std::vector<uint32_t> src(256 * 256), dst(256 * 256);
    for (uint32_t y = 0; y < 256; ++y) {
        for (uint32_t x = 0; x < 256; ++x) {
            src[y * 256 + x] = x << 24 | (255 - y) << 16 | (x ^ y) << 8 | ((x * 7) & 255);
            dst[y * 256 + x] = y << 24 | x << 16 | ((x * y) & 255) << 8 | (255 - x);
        }
    }
    for (int mode : {0, 1}) {
        MemoryImage s, d;
        s.SetBits(src.data(), 256, 256);
        d.SetBits(dst.data(), 256, 256);
        Graphics g(&d);
        g.SetDrawMode(mode);
        g.DrawImage(&s, 0, 0);
        int wrong = 0;
        for (size_t i = 0; i < src.size(); ++i) {
            const Px want = mode == 0 ? RefNormal(Unpack(src[i]), Unpack(dst[i])) : RefAdditive(Unpack(src[i]), Unpack(dst[i]));
            wrong += d.GetBits()[i] != Pack(want);
        }
        EXPECT_EQ(wrong, 0) << "mode " << mode;
    }
}
