// Four pixels at a time with SSE2: the same exact results as PixelOps.h. The weight
// w = sa x 255 / A comes from a float division, which is exact here: the quotient of two
// integers below 65536 is never close enough to the next integer to round up to it.
#pragma once

#if defined(__SSE2__)
#include <emmintrin.h>

#include <cstdint>

#define VEL_PIXEL_SIMD 1

namespace Vel::Pixel {

inline __m128i Load4(const uint32_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
inline void Store4(uint32_t* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }

inline __m128i Select(__m128i mask, __m128i a, __m128i b)
{
    return _mm_or_si128(_mm_and_si128(mask, a), _mm_andnot_si128(mask, b));
}

// x / 255 on 16-bit lanes holding at most 65025.
inline __m128i Div255x8(__m128i x)
{
    return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(x, _mm_set1_epi16(1)), _mm_srli_epi16(x, 8)), 8);
}

// One value per pixel (32-bit lanes, below 65536) spread over the pixel's four 16-bit channel
// lanes: pixels 0 and 1 in `lo`, 2 and 3 in `hi`.
inline void Spread(__m128i v, __m128i& lo, __m128i& hi)
{
    const __m128i both = _mm_or_si128(v, _mm_slli_epi32(v, 16));
    lo = _mm_unpacklo_epi32(both, both);
    hi = _mm_unpackhi_epi32(both, both);
}

inline __m128i BlendNormal4(__m128i s, __m128i d)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i c255 = _mm_set1_epi32(255);
    const __m128i sa = _mm_srli_epi32(s, 24);
    const __m128i da = _mm_srli_epi32(d, 24);
    __m128i a, w;
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(da, c255)) == 0xFFFF) {
        // Opaque destinations (the screen): A = 255 and w = sa, no division needed.
        a = c255;
        w = sa;
    } else {
        // A = da + (255 - da) x sa / 255; the products fit the low 16 bits of each lane.
        a = _mm_add_epi32(da, Div255x8(_mm_mullo_epi16(_mm_sub_epi32(c255, da), sa)));
        const __m128 num = _mm_cvtepi32_ps(_mm_mullo_epi16(sa, c255));
        const __m128 den = _mm_cvtepi32_ps(_mm_max_epi16(a, _mm_set1_epi32(1)));
        w = _mm_cvttps_epi32(_mm_div_ps(num, den));
    }
    __m128i wlo, whi;
    Spread(w, wlo, whi);
    const __m128i c256 = _mm_set1_epi16(256);
    const __m128i slo = _mm_unpacklo_epi8(s, zero), shi = _mm_unpackhi_epi8(s, zero);
    const __m128i dlo = _mm_unpacklo_epi8(d, zero), dhi = _mm_unpackhi_epi8(d, zero);
    // s x w + d x (256 - w) stays below 65536 in every lane.
    const __m128i rlo = _mm_srli_epi16(
        _mm_add_epi16(_mm_mullo_epi16(slo, wlo), _mm_mullo_epi16(dlo, _mm_sub_epi16(c256, wlo))), 8);
    const __m128i rhi = _mm_srli_epi16(
        _mm_add_epi16(_mm_mullo_epi16(shi, whi), _mm_mullo_epi16(dhi, _mm_sub_epi16(c256, whi))), 8);
    __m128i out = _mm_or_si128(_mm_and_si128(_mm_packus_epi16(rlo, rhi), _mm_set1_epi32(0x00FFFFFF)),
                               _mm_slli_epi32(a, 24));
    out = Select(_mm_cmpeq_epi32(sa, c255), s, out);
    return Select(_mm_cmpeq_epi32(sa, zero), d, out);
}

// What each source pixel adds: channel x alpha / 256, alpha byte 0.
inline __m128i AdditiveAmount4(__m128i s)
{
    const __m128i zero = _mm_setzero_si128();
    __m128i alo, ahi;
    Spread(_mm_srli_epi32(s, 24), alo, ahi);
    const __m128i lo = _mm_srli_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(s, zero), alo), 8);
    const __m128i hi = _mm_srli_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(s, zero), ahi), 8);
    return _mm_and_si128(_mm_packus_epi16(lo, hi), _mm_set1_epi32(0x00FFFFFF));
}

inline __m128i BlendAdditive4(__m128i s, __m128i d) { return _mm_adds_epu8(d, AdditiveAmount4(s)); }

// k x s / 255 per channel, alpha included; `k` holds the colour in every lane.
inline __m128i Modulate4(__m128i s, __m128i k)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i klo = _mm_unpacklo_epi8(k, zero);
    const __m128i lo = Div255x8(_mm_mullo_epi16(_mm_unpacklo_epi8(s, zero), klo));
    const __m128i hi = Div255x8(_mm_mullo_epi16(_mm_unpackhi_epi8(s, zero), klo));
    return _mm_packus_epi16(lo, hi);
}

} // namespace Vel::Pixel

#endif
