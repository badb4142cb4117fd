// Full-screen drawing costs: opaque, alpha, additive, tinted, stretched, clipped and cel-by-cel
// blits, fills, lines and a line of text, with the plain per-pixel formulas and a memcpy of the
// same bytes as yardsticks.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>

#include "framework/fonts/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"

using Vel::Color;
using Vel::Graphics;
using Vel::MemoryImage;
using Vel::Rect;

namespace {

constexpr int kW = 800, kH = 600;

// Soft-edged discs, one per 100 x 100 square (opaque centres, translucent rims, clear between
// them), the shape of what the game draws.
MemoryImage Discs(int width, int height)
{
    std::vector<uint32_t> bits(size_t(width) * height);
    std::mt19937 rng(1);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int cx = x % 100 - 50, cy = y % 100 - 50;
            const int d2 = cx * cx + cy * cy;
            const int alpha = d2 < 30 * 30 ? 255 : d2 < 45 * 45 ? 255 - (d2 - 900) * 255 / 1125 : 0;
            bits[size_t(y) * width + x] = uint32_t(alpha) << 24 | (rng() & 0xFFFFFF);
        }
    }
    MemoryImage image;
    image.SetBits(bits.data(), width, height);
    return image;
}

// A screen-sized sprite sheet.
MemoryImage Sprites() { return Discs(kW, kH); }

// Every pixel translucent: nothing for the run-length paths to skip or copy.
MemoryImage AllTranslucent()
{
    std::vector<uint32_t> bits(size_t(kW) * kH);
    std::mt19937 rng(2);
    for (uint32_t& p : bits) p = uint32_t(1 + rng() % 254) << 24 | (rng() & 0xFFFFFF);
    MemoryImage image;
    image.SetBits(bits.data(), kW, kH);
    return image;
}

MemoryImage Screen()
{
    std::vector<uint32_t> bits(size_t(kW) * kH);
    std::mt19937 rng(3);
    for (uint32_t& p : bits) p = 0xFF000000u | (rng() & 0xFFFFFF);
    MemoryImage image;
    image.SetBits(bits.data(), kW, kH);
    return image;
}

// The normal-mode formula written plainly, with its divisions, one pixel at a time.
void PlainBlit(const uint32_t* src, uint32_t* dst, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        const uint32_t s = src[i], d = dst[i];
        const int sa = int(s >> 24);
        if (sa == 0) continue;
        if (sa == 255) {
            dst[i] = s;
            continue;
        }
        const int da = int(d >> 24);
        const int a = da + (255 - da) * sa / 255;
        const int w = sa * 255 / a;
        uint32_t out = uint32_t(a) << 24;
        for (int shift = 0; shift < 24; shift += 8) {
            const int sc = int(s >> shift & 255), dc = int(d >> shift & 255);
            out |= uint32_t((sc * w + dc * (256 - w)) >> 8) << shift;
        }
        dst[i] = out;
    }
}

void BM_AlphaBlit(benchmark::State& state, MemoryImage (*make)())
{
    MemoryImage src = make();
    MemoryImage dst = Screen();
    Graphics g(&dst);
    for (auto _ : state) {
        g.DrawImage(&src, 0, 0);
        benchmark::DoNotOptimize(dst.GetBits());
    }
    state.SetItemsProcessed(state.iterations() * kW * kH);
}
BENCHMARK_CAPTURE(BM_AlphaBlit, sprites, Sprites)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_AlphaBlit, all_translucent, AllTranslucent)->Unit(benchmark::kMicrosecond);
// An opaque picture takes the copying path: the yardstick is the memcpy below.
BENCHMARK_CAPTURE(BM_AlphaBlit, opaque, Screen)->Unit(benchmark::kMicrosecond);

void BM_PlainFormulaBlit(benchmark::State& state, MemoryImage (*make)())
{
    MemoryImage src = make();
    MemoryImage dst = Screen();
    for (auto _ : state) {
        PlainBlit(src.GetBits(), dst.GetBits(), size_t(kW) * kH);
        benchmark::DoNotOptimize(dst.GetBits());
    }
    state.SetItemsProcessed(state.iterations() * kW * kH);
}
BENCHMARK_CAPTURE(BM_PlainFormulaBlit, sprites, Sprites)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PlainFormulaBlit, all_translucent, AllTranslucent)->Unit(benchmark::kMicrosecond);

void BM_MemcpyScreen(benchmark::State& state)
{
    MemoryImage src = Sprites();
    MemoryImage dst = Screen();
    for (auto _ : state) {
        std::memcpy(dst.GetBits(), src.GetBits(), size_t(kW) * kH * 4);
        benchmark::DoNotOptimize(dst.GetBits());
    }
    state.SetItemsProcessed(state.iterations() * kW * kH);
}
BENCHMARK(BM_MemcpyScreen)->Unit(benchmark::kMicrosecond);

void BM_AdditiveBlit(benchmark::State& state)
{
    MemoryImage src = Sprites();
    MemoryImage dst = Screen();
    Graphics g(&dst);
    g.SetDrawMode(Vel::kDrawModeAdditive);
    for (auto _ : state) {
        g.DrawImage(&src, 0, 0);
        benchmark::DoNotOptimize(dst.GetBits());
    }
    state.SetItemsProcessed(state.iterations() * kW * kH);
}
BENCHMARK(BM_AdditiveBlit)->Unit(benchmark::kMicrosecond);

void BM_ModulatedBlit(benchmark::State& state)
{
    MemoryImage src = Sprites();
    MemoryImage dst = Screen();
    Graphics g(&dst);
    g.SetImageTint(true);
    g.SetColor(Color(255, 200, 100, 180));
    for (auto _ : state) {
        g.DrawImage(&src, 0, 0);
        benchmark::DoNotOptimize(dst.GetBits());
    }
    state.SetItemsProcessed(state.iterations() * kW * kH);
}
BENCHMARK(BM_ModulatedBlit)->Unit(benchmark::kMicrosecond);


// A quarter-size sheet doubled onto the whole screen, filtered and one source pixel per pixel.
void BM_StretchBlit(benchmark::State& state, bool fast)
{
    MemoryImage src = Discs(kW / 2, kH / 2);
    MemoryImage dst = Screen();
    Graphics g(&dst);
    g.SetFastStretch(fast);
    for (auto _ : state) {
        g.DrawImage(&src, Rect(0, 0, kW, kH), Rect(0, 0, kW / 2, kH / 2));
        benchmark::DoNotOptimize(dst.GetBits());
    }
    state.SetItemsProcessed(state.iterations() * kW * kH);
}
BENCHMARK_CAPTURE(BM_StretchBlit, filtered, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_StretchBlit, fast, true)->Unit(benchmark::kMicrosecond);

// An animation strip of 48 cels of 100 x 100 in one row, every cel drawn once so that together
// they tile the screen.
void BM_CelStrip(benchmark::State& state)
{
    constexpr int kCels = 48, kCel = 100;
    MemoryImage strip = Discs(kCels * kCel, kCel);
    strip.SetCelGrid(1, kCels);
    MemoryImage dst = Screen();
    Graphics g(&dst);
    for (auto _ : state) {
        for (int cel = 0; cel < kCels; ++cel)
            g.DrawCel(&strip, cel % (kW / kCel) * kCel, cel / (kW / kCel) * kCel, cel);
        benchmark::DoNotOptimize(dst.GetBits());
    }
    state.SetItemsProcessed(state.iterations() * kCels * kCel * kCel);
}
BENCHMARK(BM_CelStrip)->Unit(benchmark::kMicrosecond);

// The screen-sized sheet pushed right and down, past the clip rectangle and past the screen's
// edges: only the 600 x 450 where the clip and the image meet is drawn.
void BM_ClippedBlit(benchmark::State& state)
{
    MemoryImage src = Sprites();
    MemoryImage dst = Screen();
    Graphics g(&dst);
    g.SetClipRect(Rect(50, 50, 700, 500));
    for (auto _ : state) {
        g.DrawImage(&src, 150, 100);
        benchmark::DoNotOptimize(dst.GetBits());
    }
    state.SetItemsProcessed(state.iterations() * 600 * 450);
}
BENCHMARK(BM_ClippedBlit)->Unit(benchmark::kMicrosecond);

// A fan of 600 lines across the screen, 800 pixels each: as many pixels as the frame holds.
void BM_Line(benchmark::State& state, Color color, int mode)
{
    MemoryImage dst = Screen();
    Graphics g(&dst);
    g.SetColor(color);
    g.SetDrawMode(mode);
    for (auto _ : state) {
        for (int y = 0; y < kH; ++y)
            g.DrawLine(0, y, kW - 1, kH - 1 - y);
        benchmark::DoNotOptimize(dst.GetBits());
    }
    state.SetItemsProcessed(state.iterations() * kW * kH);
}
BENCHMARK_CAPTURE(BM_Line, opaque, Color(240, 200, 40), Vel::kDrawModeNormal)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Line, translucent, Color(240, 200, 40, 128), Vel::kDrawModeNormal)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Line, additive, Color(240, 200, 40, 128), Vel::kDrawModeAdditive)
    ->Unit(benchmark::kMicrosecond);

void BM_Fill(benchmark::State& state)
{
    MemoryImage dst = Screen();
    Graphics g(&dst);
    g.SetColor(Color(20, 40, 60, int(state.range(0))));
    for (auto _ : state) {
        g.FillRect(0, 0, kW, kH);
        benchmark::DoNotOptimize(dst.GetBits());
    }
    state.SetItemsProcessed(state.iterations() * kW * kH);
}
BENCHMARK(BM_Fill)->Arg(128)->Arg(255)->Unit(benchmark::kMicrosecond);

// A bitmap font the way image fonts draw: one tinted glyph cel per character from a strip
// of 96 anti-aliased 12 x 18 glyphs.
class StripFont : public Vel::Font {
public:
    StripFont()
    {
        m_ascent = 14;
        m_height = 18;
        // Each glyph: two soft-edged strokes on a clear background.
        std::vector<uint32_t> bits(size_t(96) * kGlyphW * kGlyphH);
        for (int g = 0; g < 96; ++g) {
            const int col = 2 + g % 7, row = 3 + g % 11;
            for (int y = 0; y < kGlyphH; ++y) {
                for (int x = 0; x < kGlyphW; ++x) {
                    const int d = std::min(std::abs(x - col), std::abs(y - row));
                    const uint32_t alpha = d == 0 ? 255 : d == 1 ? 110 : 0;
                    bits[size_t(y) * 96 * kGlyphW + g * kGlyphW + x] = alpha << 24 | 0xFFFFFF;
                }
            }
        }
        m_strip.SetBits(bits.data(), 96 * kGlyphW, kGlyphH);
    }
    int CharWidth(char) override { return kGlyphW - 2; }
    int StringWidth(const std::string& text) override { return int(text.size()) * (kGlyphW - 2); }
    void DrawString(Graphics* g, int x, int y, const std::string& text, const Color& color, const Rect&) override
    {
        g->PushState();
        g->SetImageTint(true);
        g->SetColor(color);
        for (char c : text) {
            const int index = (static_cast<unsigned char>(c) - 32) % 96;
            g->DrawImage(&m_strip, x, y - m_ascent, Rect(index * kGlyphW, 0, kGlyphW, kGlyphH));
            x += kGlyphW - 2;
        }
        g->PopState();
    }
    Font* Duplicate() override { return new StripFont(*this); }

private:
    static constexpr int kGlyphW = 12, kGlyphH = 18;
    MemoryImage m_strip;
};

void BM_TextLine(benchmark::State& state)
{
    MemoryImage dst = Screen();
    StripFont font;
    Graphics g(&dst);
    g.SetFont(&font);
    const std::string line = "The owl says: ^FFD000^well done^oldclr^, that was your best score yet!";
    for (auto _ : state) {
        g.SetColor(Color(250, 250, 250));
        benchmark::DoNotOptimize(g.DrawTextRun(line, 20, 300, 760, 0, true, 0, -1, Color(250, 250, 250)));
    }
}
BENCHMARK(BM_TextLine)->Unit(benchmark::kMicrosecond);

} // namespace
