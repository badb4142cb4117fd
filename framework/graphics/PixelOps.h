// The pixel arithmetic of every software drawing operation, in exact division-free forms.
// Pixels are packed 0xAARRGGBB; the results equal the integer formulas bit for bit.
#pragma once

#include <cstdint>

namespace Vel::Pixel {

// x / 255 for 0 <= x <= 65534 (every product of two bytes).
constexpr uint32_t Div255(uint32_t x) { return (x + 1 + (x >> 8)) >> 8; }

// For destination alpha da and source alpha sa: the result alpha
// A = da + (255 - da) x sa / 255 in the low byte and the weight w = sa x 255 / A in the high byte.
const uint16_t* BlendTable();

inline uint32_t Alpha(uint32_t p) { return p >> 24; }

// Normal mode for a source alpha strictly between 0 and 255: no branch.
inline uint32_t BlendPartial(uint32_t s, uint32_t d, const uint16_t* table)
{
    const uint32_t e = table[(d >> 24) << 8 | (s >> 24)];
    const uint32_t w = e >> 8;
    const uint32_t iw = 256 - w;
    // Two channels per multiply: each lane's sum stays below 65536, so lanes never carry.
    const uint32_t rb = (((s & 0xFF00FF) * w + (d & 0xFF00FF) * iw) >> 8) & 0xFF00FF;
    const uint32_t g = (((s & 0xFF00) * w + (d & 0xFF00) * iw) >> 8) & 0xFF00;
    return (e & 0xFF) << 24 | rb | g;
}

// Normal mode: alpha 0 keeps d, alpha 255 replaces it.
inline uint32_t BlendNormal(uint32_t s, uint32_t d, const uint16_t* table)
{
    const uint32_t sa = s >> 24;
    if (sa == 0) return d;
    if (sa == 255) return s;
    return BlendPartial(s, d, table);
}

// What a source pixel adds in additive mode: channel x alpha / 256 per channel, alpha byte 0.
inline uint32_t AdditiveAmount(uint32_t s)
{
    const uint32_t sa = s >> 24;
    return ((((s & 0xFF00FF) * sa) >> 8) & 0xFF00FF) | ((((s & 0xFF00) * sa) >> 8) & 0xFF00);
}

// d plus an amount from AdditiveAmount, each channel saturating at 255; d's alpha stays.
inline uint32_t AddSaturate(uint32_t amount, uint32_t d)
{
    const uint32_t rb = (d & 0xFF00FF) + (amount & 0xFF00FF);
    const uint32_t g = (d & 0xFF00) + (amount & 0xFF00);
    const uint32_t rbOver = rb & 0x1000100;
    const uint32_t gOver = g & 0x10000;
    const uint32_t rbSat = (rb | (rbOver - (rbOver >> 8))) & 0xFF00FF;
    const uint32_t gSat = (g | (gOver - (gOver >> 8))) & 0xFF00;
    return (d & 0xFF000000) | rbSat | gSat;
}

inline uint32_t BlendAdditive(uint32_t s, uint32_t d) { return AddSaturate(AdditiveAmount(s), d); }

// Modulation by colour k (packed): each channel and the alpha become k x s / 255.
inline uint32_t Modulate(uint32_t s, uint32_t k)
{
    const uint32_t a = Div255((s >> 24) * (k >> 24));
    const uint32_t r = Div255(((s >> 16) & 0xFF) * ((k >> 16) & 0xFF));
    const uint32_t g = Div255(((s >> 8) & 0xFF) * ((k >> 8) & 0xFF));
    const uint32_t b = Div255((s & 0xFF) * (k & 0xFF));
    return a << 24 | r << 16 | g << 8 | b;
}

inline uint32_t Blend(uint32_t s, uint32_t d, int drawMode, const uint16_t* table)
{
    return drawMode == 1 ? BlendAdditive(s, d) : BlendNormal(s, d, table);
}

} // namespace Vel::Pixel
