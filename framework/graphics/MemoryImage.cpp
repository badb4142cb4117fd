// Memory images: pixel storage with its guard word, alpha flags, palettising, the run-length
// tables for fast blitting, and the software drawing primitives.
#include "framework/graphics/MemoryImage.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "framework/graphics/PixelOps.h"
#include "framework/graphics/PixelSimd.h"

namespace Vel {

namespace Pixel {

const uint16_t* BlendTable()
{
    static const uint16_t* table = [] {
        auto* t = new uint16_t[65536];
        for (uint32_t da = 0; da < 256; ++da) {
            for (uint32_t sa = 0; sa < 256; ++sa) {
                const uint32_t a = da + (255 - da) * sa / 255;
                const uint32_t w = a == 0 ? 0 : sa * 255 / a;
                t[da << 8 | sa] = uint16_t(w << 8 | a);
            }
        }
        return t;
    }();
    return table;
}

} // namespace Pixel

namespace {

// Callers may pass channels outside 0..255; the blend tables index by the packed bytes.
uint32_t ClampedPacked(const Color& c)
{
    return Color(std::clamp(c.red, 0, 255), std::clamp(c.green, 0, 255), std::clamp(c.blue, 0, 255),
                 std::clamp(c.alpha, 0, 255)).ToPacked();
}

enum OpacityClass : uint8_t { kTransparent, kOpaque, kPartial };

inline uint8_t OpacityOf(uint32_t p)
{
    const uint32_t a = p >> 24;
    return a == 0 ? kTransparent : a == 255 ? kOpaque : kPartial;
}

inline uint8_t AdditiveClassOf(uint32_t p) { return Pixel::AdditiveAmount(p) != 0; }

template <class ClassFn>
void BuildRunLengths(const uint32_t* bits, int width, int height, std::vector<uint8_t>& out, ClassFn classOf)
{
    out.resize(size_t(width) * height);
    for (int y = 0; y < height; ++y) {
        const uint32_t* row = bits + size_t(y) * width;
        uint8_t* runs = out.data() + size_t(y) * width;
        int run = 0;
        uint8_t cls = 0;
        for (int x = width - 1; x >= 0; --x) {
            const uint8_t c = classOf(row[x]);
            run = (x == width - 1 || c != cls) ? 1 : std::min(run + 1, 255);
            cls = c;
            runs[x] = uint8_t(run);
        }
    }
}

Rect Bounds(const Image& image) { return Rect(0, 0, image.m_width, image.m_height); }

bool ValidSize(int w, int h) { return w >= 0 && h >= 0 && w <= kMaxImageDimension && h <= kMaxImageDimension; }

// Runs of pixels through one formula, four at a time where SSE2 is there.
void BlendRunNormal(const uint32_t* s, uint32_t* d, int n, const uint16_t* table)
{
    int j = 0;
#ifdef VEL_PIXEL_SIMD
    for (; j + 4 <= n; j += 4) Pixel::Store4(d + j, Pixel::BlendNormal4(Pixel::Load4(s + j), Pixel::Load4(d + j)));
#endif
    for (; j < n; ++j) d[j] = Pixel::BlendNormal(s[j], d[j], table);
}

void BlendRunAdditive(const uint32_t* s, uint32_t* d, int n)
{
    int j = 0;
#ifdef VEL_PIXEL_SIMD
    for (; j + 4 <= n; j += 4) Pixel::Store4(d + j, Pixel::BlendAdditive4(Pixel::Load4(s + j), Pixel::Load4(d + j)));
#endif
    for (; j < n; ++j) d[j] = Pixel::BlendAdditive(s[j], d[j]);
}

void BlendRunModulated(const uint32_t* s, uint32_t* d, int n, uint32_t k, int drawMode, const uint16_t* table)
{
    int j = 0;
#ifdef VEL_PIXEL_SIMD
    const __m128i kk = _mm_set1_epi32(int(k));
    if (drawMode == kDrawModeAdditive) {
        for (; j + 4 <= n; j += 4)
            Pixel::Store4(d + j, Pixel::BlendAdditive4(Pixel::Modulate4(Pixel::Load4(s + j), kk), Pixel::Load4(d + j)));
    } else {
        for (; j + 4 <= n; j += 4)
            Pixel::Store4(d + j, Pixel::BlendNormal4(Pixel::Modulate4(Pixel::Load4(s + j), kk), Pixel::Load4(d + j)));
    }
#endif
    for (; j < n; ++j) d[j] = Pixel::Blend(Pixel::Modulate(s[j], k), d[j], drawMode, table);
}

// A fill colour over n pixels.
void FillRunNormal(uint32_t s, uint32_t* d, int n, const uint16_t* table)
{
    int j = 0;
#ifdef VEL_PIXEL_SIMD
    const __m128i ss = _mm_set1_epi32(int(s));
    for (; j + 4 <= n; j += 4) Pixel::Store4(d + j, Pixel::BlendNormal4(ss, Pixel::Load4(d + j)));
#endif
    for (; j < n; ++j) d[j] = Pixel::BlendPartial(s, d[j], table);
}

void FillRunAdditive(uint32_t amount, uint32_t* d, int n)
{
    int j = 0;
#ifdef VEL_PIXEL_SIMD
    const __m128i aa = _mm_set1_epi32(int(amount));
    for (; j + 4 <= n; j += 4) Pixel::Store4(d + j, _mm_adds_epu8(Pixel::Load4(d + j), aa));
#endif
    for (; j < n; ++j) d[j] = Pixel::AddSaturate(amount, d[j]);
}

// Parametric clipping of a segment to `area`, whose right and bottom bounds are the last pixel
// inside; false when nothing of it is inside.
bool ClipSegment(const Rect& area, double& x1, double& y1, double& x2, double& y2)
{
    const double left = area.x, top = area.y;
    const double right = double(area.x) + area.width - 1, bottom = double(area.y) + area.height - 1;
    const double dx = x2 - x1, dy = y2 - y1;
    double t0 = 0, t1 = 1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x1 - left, right - x1, y1 - top, bottom - y1};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false; // parallel to this edge and outside it
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0) {
            if (t > t1) return false;
            t0 = std::max(t0, t);
        } else {
            if (t < t0) return false;
            t1 = std::min(t1, t);
        }
    }
    const double ax = x1 + t0 * dx, ay = y1 + t0 * dy;
    x2 = x1 + t1 * dx;
    y2 = y1 + t1 * dy;
    x1 = ax;
    y1 = ay;
    return true;
}

// The clipped blit: where (x, y) and srcRect overlap both images.
struct BlitArea {
    int dx, dy, sx, sy, w, h;
};

bool ClipBlit(const MemoryImage& dst, const Image& src, int x, int y, const Rect& srcRect, BlitArea& area)
{
    const Rect s = srcRect.Intersection(Bounds(src));
    if (s.IsEmpty()) return false;
    const int dx = x + (s.x - srcRect.x);
    const int dy = y + (s.y - srcRect.y);
    const Rect d = Rect(dx, dy, s.width, s.height).Intersection(Bounds(dst));
    if (d.IsEmpty()) return false;
    area = {d.x, d.y, s.x + (d.x - dx), s.y + (d.y - dy), d.width, d.height};
    return true;
}

} // namespace

MemoryImage::MemoryImage(const MemoryImage& other)
    : Image(other)
{
    *this = other;
}

MemoryImage& MemoryImage::operator=(const MemoryImage& other)
{
    if (this == &other) return *this;
    Image::operator=(other);
    const uint32_t* bits = other.GetBits();
    m_bits.clear();
    m_palletized = false;
    m_colorIndices.clear();
    if (bits) SetBits(bits, other.m_width, other.m_height, false);
    m_hasTrans = other.m_hasTrans;
    m_hasAlpha = other.m_hasAlpha;
    m_isVolatile = other.m_isVolatile;
    m_forcedMode = other.m_forcedMode;
    m_purgeBits = other.m_purgeBits;
    m_wantPal = other.m_wantPal;
    m_app = other.m_app;
    return *this;
}

bool MemoryImage::Create(int width, int height)
{
    m_bits.clear();
    m_colorIndices.clear();
    m_palletized = false;
    if (!ValidSize(width, height)) {
        m_width = m_height = 0;
        BitsChanged();
        return false;
    }
    m_width = width;
    m_height = height;
    m_bits.assign(size_t(width) * height + 1, 0);
    WriteGuard();
    m_hasTrans = true;
    m_hasAlpha = true;
    BitsChanged();
    return true;
}

bool MemoryImage::SetBits(const uint32_t* pixels, int width, int height, bool commit)
{
    (void)commit; // the software display draws from the memory copy; nothing to hand over
    if (!ValidSize(width, height) || (!pixels && width * height > 0)) return false;
    m_palletized = false;
    m_colorIndices.clear();
    const size_t count = size_t(width) * height;
    if (m_width != width || m_height != height || m_bits.size() != count + 1) m_bits.assign(count + 1, 0);
    m_width = width;
    m_height = height;
    if (count) std::memcpy(m_bits.data(), pixels, count * sizeof(uint32_t));
    WriteGuard();
    BitsChanged();
    return true;
}

bool MemoryImage::TakeBits(std::vector<uint32_t>&& pixels, int width, int height)
{
    const size_t count = size_t(std::max(width, 0)) * size_t(std::max(height, 0));
    if (!ValidSize(width, height) || pixels.size() != count) return false;
    m_palletized = false;
    m_colorIndices.clear();
    m_bits = std::move(pixels);
    m_bits.push_back(0); // the guard word's slot
    m_width = width;
    m_height = height;
    WriteGuard();
    BitsChanged();
    return true;
}

void MemoryImage::WriteGuard()
{
    if (!m_bits.empty()) m_bits.back() = kImageGuardWord;
}

bool MemoryImage::CheckGuard() const
{
    if (m_palletized && m_bits.empty()) return true;
    return m_bits.empty() ? m_width * m_height == 0 : m_bits.back() == kImageGuardWord;
}

bool MemoryImage::EnsureBits()
{
    if (!m_bits.empty()) return true;
    if (!m_palletized || m_width * m_height == 0) return false;
    const size_t count = size_t(m_width) * m_height;
    m_bits.resize(count + 1);
    for (size_t i = 0; i < count; ++i) m_bits[i] = m_colorTable[m_colorIndices[i]];
    WriteGuard();
    return true;
}

uint32_t* MemoryImage::GetBits()
{
    if (m_width <= 0 || m_height <= 0) return nullptr;
    return EnsureBits() ? m_bits.data() : nullptr;
}

void MemoryImage::BitsChanged()
{
    ++m_bitsChangedCount;
    m_bitsChanged = true;
    // Written pixels make the colour table stale; the bits are the truth from now on.
    if (m_palletized && !m_bits.empty()) {
        m_palletized = false;
        m_colorIndices.clear();
    }
}

void MemoryImage::RecomputeAlphaFlags()
{
    m_hasTrans = false;
    m_hasAlpha = false;
    const uint32_t* bits = GetBits();
    if (!bits) return;
    const size_t count = size_t(m_width) * m_height;
    for (size_t i = 0; i < count && !(m_hasTrans && m_hasAlpha); ++i) {
        const uint32_t a = bits[i] >> 24;
        if (a == 0) m_hasTrans = true;
        else if (a != 255) m_hasAlpha = true;
    }
}

bool MemoryImage::Palletize()
{
    if (m_palletized) return true;
    const uint32_t* bits = GetBits();
    if (!bits) return false;
    const size_t count = size_t(m_width) * m_height;
    // Distinct values go into a small open-addressed hash (at most 256 of 1024 slots used, so
    // probes stay short); a 257th ends the attempt. Font sheets, whose anti-aliased edges
    // change value at almost every pixel, made a sorted-table search the cost of loading them.
    constexpr uint32_t kSlotBits = 10;
    constexpr uint32_t kSlots = 1u << kSlotBits;
    uint32_t keys[kSlots];
    int16_t slotIndex[kSlots];
    std::fill(std::begin(slotIndex), std::end(slotIndex), int16_t(-1));
    auto slotOf = [&](uint32_t p) {
        uint32_t h = (p * 0x9E3779B1u) >> (32 - kSlotBits);
        while (slotIndex[h] >= 0 && keys[h] != p) h = (h + 1) & (kSlots - 1);
        return h;
    };
    uint32_t table[256];
    int used = 0;
    // Sprite and font sheets are mostly long runs of their clear background, so a pixel equal
    // to the one before is skipped.
    for (size_t i = 0; i < count; ++i) {
        const uint32_t p = bits[i];
        if (i > 0 && p == bits[i - 1]) continue;
        const uint32_t h = slotOf(p);
        if (slotIndex[h] >= 0) continue;
        if (used == 256) return false;
        keys[h] = p;
        slotIndex[h] = int16_t(used);
        table[used++] = p;
    }
    // The table is kept in ascending order, so equal pictures get equal tables.
    std::sort(table, table + used);
    for (int i = 0; i < used; ++i) slotIndex[slotOf(table[i])] = int16_t(i);
    std::vector<uint8_t> indices(count);
    uint8_t index = 0;
    for (size_t i = 0; i < count; ++i) {
        if (i == 0 || bits[i] != bits[i - 1]) index = uint8_t(slotIndex[slotOf(bits[i])]);
        indices[i] = index;
    }
    std::fill(std::begin(m_colorTable), std::end(m_colorTable), 0u);
    std::copy(table, table + used, m_colorTable);
    m_colorIndices = std::move(indices);
    m_palletized = true;
    m_bits.clear();
    m_bits.shrink_to_fit();
    return true;
}

const uint8_t* MemoryImage::GetRunLengthAlphaData()
{
    const uint32_t* bits = GetBits();
    if (!bits) return nullptr;
    if (m_rlAlphaCount != m_bitsChangedCount || m_rlAlphaData.size() != size_t(m_width) * m_height) {
        BuildRunLengths(bits, m_width, m_height, m_rlAlphaData, OpacityOf);
        m_rlAlphaCount = m_bitsChangedCount;
    }
    return m_rlAlphaData.data();
}

const uint8_t* MemoryImage::GetRunLengthAdditiveData()
{
    const uint32_t* bits = GetBits();
    if (!bits) return nullptr;
    if (m_rlAdditiveCount != m_bitsChangedCount || m_rlAdditiveData.size() != size_t(m_width) * m_height) {
        BuildRunLengths(bits, m_width, m_height, m_rlAdditiveData, AdditiveClassOf);
        m_rlAdditiveCount = m_bitsChangedCount;
    }
    return m_rlAdditiveData.data();
}

void MemoryImage::FillRect(const Rect& rect, const Color& color, int drawMode)
{
    const Rect r = rect.Intersection(Bounds(*this));
    uint32_t* bits = GetBits();
    if (r.IsEmpty() || !bits || color.alpha <= 0) return;
    const uint32_t s = ClampedPacked(color);
    const uint16_t* table = Pixel::BlendTable();
    const uint32_t amount = Pixel::AdditiveAmount(s);
    for (int y = r.y; y < r.y + r.height; ++y) {
        uint32_t* row = bits + size_t(y) * m_width + r.x;
        if (drawMode == kDrawModeAdditive) FillRunAdditive(amount, row, r.width);
        else if ((s >> 24) == 255) std::fill(row, row + r.width, s);
        else FillRunNormal(s, row, r.width, table);
    }
    BitsChanged();
}

void MemoryImage::DrawRect(const Rect& rect, const Color& color, int drawMode)
{
    const int x = rect.x, y = rect.y, w = rect.width, h = rect.height;
    if (w < 0 || h < 0) return;
    // The four sides never overlap, so a translucent outline is blended once per pixel.
    FillRect(Rect(x, y, w + 1, 1), color, drawMode);
    if (h > 0) FillRect(Rect(x, y + h, w + 1, 1), color, drawMode);
    FillRect(Rect(x, y + 1, 1, h - 1), color, drawMode);
    if (w > 0) FillRect(Rect(x + w, y + 1, 1, h - 1), color, drawMode);
}

void MemoryImage::ClearRect(const Rect& rect)
{
    const Rect r = rect.Intersection(Bounds(*this));
    uint32_t* bits = GetBits();
    if (r.IsEmpty() || !bits) return;
    for (int y = r.y; y < r.y + r.height; ++y) {
        uint32_t* row = bits + size_t(y) * m_width + r.x;
        std::fill(row, row + r.width, 0u);
    }
    BitsChanged();
}

void MemoryImage::DrawLine(double x1, double y1, double x2, double y2, const Color& color, int drawMode,
                           const Rect& clip)
{
    uint32_t* bits = GetBits();
    const Rect area = clip.Intersection(Bounds(*this));
    if (!bits || area.IsEmpty() || color.alpha <= 0) return;
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2)) return;
    if (!ClipSegment(area, x1, y1, x2, y2)) return;
    const uint32_t s = ClampedPacked(color);
    const uint16_t* table = Pixel::BlendTable();
    // The clipped ends round to pixels inside the area, so every step lands inside it.
    auto toInt = [](double v) { return int64_t(std::floor(v + 0.5)); };
    int64_t ax = toInt(x1), ay = toInt(y1);
    const int64_t bx = toInt(x2), by = toInt(y2);
    const int64_t dx = std::abs(bx - ax), dy = -std::abs(by - ay);
    const int sx = ax < bx ? 1 : -1, sy = ay < by ? 1 : -1;
    int64_t err = dx + dy;
    for (;;) {
        if (area.Contains(int(ax), int(ay))) {
            uint32_t& d = bits[size_t(ay) * m_width + size_t(ax)];
            d = Pixel::Blend(s, d, drawMode, table);
        }
        if (ax == bx && ay == by) break;
        const int64_t e2 = 2 * err;
        if (e2 >= dy) { err += dy; ax += sx; }
        if (e2 <= dx) { err += dx; ay += sy; }
    }
    BitsChanged();
}

void MemoryImage::Blt(Image* srcImage, int x, int y, const Rect& srcRect, const Color& color, int drawMode)
{
    auto* src = dynamic_cast<MemoryImage*>(srcImage);
    BlitArea a;
    if (!src || !ClipBlit(*this, *src, x, y, srcRect, a)) return;
    uint32_t* dstBits = GetBits();
    if (!dstBits || !src->GetBits()) return;
    if (color.alpha <= 0) return; // a fully transparent tint leaves every pixel as it was
    // Drawing an image onto itself reads from a copy so that overlapping areas stay correct.
    MemoryImage copy;
    if (src == this) {
        copy = *this;
        src = &copy;
    }
    const uint32_t* srcBits = src->GetBits();
    const int sw = src->m_width;
    const uint32_t k = ClampedPacked(color);
    const bool white = k == 0xFFFFFFFF;
    const uint16_t* table = Pixel::BlendTable();
    const uint8_t* runs = !white ? nullptr
                          : drawMode == kDrawModeAdditive ? src->GetRunLengthAdditiveData()
                                                          : src->GetRunLengthAlphaData();

    for (int row = 0; row < a.h; ++row) {
        const uint32_t* s = srcBits + size_t(a.sy + row) * sw + a.sx;
        uint32_t* d = dstBits + size_t(a.dy + row) * m_width + a.dx;
        if (!white) {
            // Tinted images are mostly small glyphs with short runs: one pass over the row.
            BlendRunModulated(s, d, a.w, k, drawMode, table);
            continue;
        }
        const uint8_t* rl = runs + size_t(a.sy + row) * sw + a.sx;
        int i = 0;
        while (i < a.w) {
            const int run = std::min<int>(rl[i], a.w - i);
            const uint32_t first = s[i];
            if (drawMode != kDrawModeAdditive) {
                // Runs of one opacity class: skip transparent, copy opaque, blend the rest.
                const uint32_t alpha = first >> 24;
                if (alpha == 255) std::memcpy(d + i, s + i, size_t(run) * sizeof(uint32_t));
                else if (alpha != 0) BlendRunNormal(s + i, d + i, run, table);
            } else if (Pixel::AdditiveAmount(first) != 0) {
                BlendRunAdditive(s + i, d + i, run);
            }
            i += run;
        }
    }
    src->m_drawn = true;
    BitsChanged();
}

void MemoryImage::BltMirror(Image* srcImage, int x, int y, const Rect& srcRect, const Color& color, int drawMode)
{
    auto* src = dynamic_cast<MemoryImage*>(srcImage);
    if (!src || !src->GetBits() || !GetBits()) return;
    const Rect sr = srcRect.Intersection(Bounds(*src));
    if (sr.IsEmpty()) return;
    // Source column sr.x + sr.width - 1 - i lands on destination column x + (sr.x - srcRect.x) + i.
    const int destX0 = x + (srcRect.x + srcRect.width - (sr.x + sr.width));
    const int destY0 = y + (sr.y - srcRect.y);
    const Rect d = Rect(destX0, destY0, sr.width, sr.height).Intersection(Bounds(*this));
    if (d.IsEmpty()) return;
    MemoryImage copy;
    if (src == this) {
        copy = *this;
        src = &copy;
    }
    const uint32_t* srcBits = src->GetBits();
    uint32_t* dstBits = GetBits();
    const uint32_t k = ClampedPacked(color);
    const uint16_t* table = Pixel::BlendTable();
    for (int yy = d.y; yy < d.y + d.height; ++yy) {
        const int sy = sr.y + (yy - destY0);
        for (int xx = d.x; xx < d.x + d.width; ++xx) {
            const int sx = sr.x + sr.width - 1 - (xx - destX0);
            uint32_t p = srcBits[size_t(sy) * src->m_width + sx];
            if (k != 0xFFFFFFFF) p = Pixel::Modulate(p, k);
            uint32_t& dp = dstBits[size_t(yy) * m_width + xx];
            dp = Pixel::Blend(p, dp, drawMode, table);
        }
    }
    src->m_drawn = true;
    BitsChanged();
}

void MemoryImage::StretchBlt(Image* srcImage, const Rect& destRect, const Rect& srcRect, const Rect& clip,
                             const Color& color, int drawMode, bool fastStretch)
{
    auto* src = dynamic_cast<MemoryImage*>(srcImage);
    if (!src || destRect.IsEmpty() || srcRect.IsEmpty()) return;
    if (srcRect.Intersection(Bounds(*src)) != srcRect) return;
    const Rect d = destRect.Intersection(clip).Intersection(Bounds(*this));
    if (d.IsEmpty() || !src->GetBits() || !GetBits()) return;
    MemoryImage copy;
    if (src == this) {
        copy = *this;
        src = &copy;
    }
    const uint32_t* srcBits = src->GetBits();
    uint32_t* dstBits = GetBits();
    const int sw = src->m_width;
    const uint32_t k = ClampedPacked(color);
    const uint16_t* table = Pixel::BlendTable();

    for (int yy = d.y; yy < d.y + d.height; ++yy) {
        for (int xx = d.x; xx < d.x + d.width; ++xx) {
            uint32_t p;
            if (fastStretch) {
                const int sx = srcRect.x + int(int64_t(xx - destRect.x) * srcRect.width / destRect.width);
                const int sy = srcRect.y + int(int64_t(yy - destRect.y) * srcRect.height / destRect.height);
                p = srcBits[size_t(sy) * sw + sx];
            } else {
                // Bilinear filtering between the four source pixels around the pixel centre,
                // in 8-bit fixed point, staying inside srcRect.
                const int64_t fx = ((int64_t(xx - destRect.x) * 2 + 1) * srcRect.width * 128) / destRect.width - 128;
                const int64_t fy = ((int64_t(yy - destRect.y) * 2 + 1) * srcRect.height * 128) / destRect.height - 128;
                const int64_t cfx = std::clamp<int64_t>(fx, 0, int64_t(srcRect.width - 1) * 256);
                const int64_t cfy = std::clamp<int64_t>(fy, 0, int64_t(srcRect.height - 1) * 256);
                const int x0 = int(cfx >> 8), y0 = int(cfy >> 8);
                const uint32_t wx = uint32_t(cfx & 255), wy = uint32_t(cfy & 255);
                const int x1 = std::min(x0 + 1, srcRect.width - 1), y1 = std::min(y0 + 1, srcRect.height - 1);
                const uint32_t* r0 = srcBits + size_t(srcRect.y + y0) * sw + srcRect.x;
                const uint32_t* r1 = srcBits + size_t(srcRect.y + y1) * sw + srcRect.x;
                const uint32_t q[4] = {r0[x0], r0[x1], r1[x0], r1[x1]};
                const uint32_t wq[4] = {(256 - wx) * (256 - wy), wx * (256 - wy), (256 - wx) * wy, wx * wy};
                p = 0;
                for (int shift = 0; shift < 32; shift += 8) {
                    uint32_t sum = 0;
                    for (int n = 0; n < 4; ++n) sum += ((q[n] >> shift) & 0xFF) * wq[n];
                    p |= ((sum + 32768) >> 16) << shift;
                }
            }
            if (k != 0xFFFFFFFF) p = Pixel::Modulate(p, k);
            uint32_t& dp = dstBits[size_t(yy) * m_width + xx];
            dp = Pixel::Blend(p, dp, drawMode, table);
        }
    }
    src->m_drawn = true;
    BitsChanged();
}

void MemoryImage::BltRotated(Image* srcImage, double x, double y, const Rect& srcRect, const Rect& clip,
                             const Color& color, int drawMode, double angle, double centerX, double centerY)
{
    auto* src = dynamic_cast<MemoryImage*>(srcImage);
    if (!src || srcRect.IsEmpty() || srcRect.Intersection(Bounds(*src)) != srcRect) return;
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(angle) || !std::isfinite(centerX) ||
        !std::isfinite(centerY))
        return;
    const double c = std::cos(angle), s = std::sin(angle);
    const double px = x + centerX, py = y + centerY; // the pivot in destination coordinates
    // Bounding box of the turned rectangle, to visit only pixels that can be covered.
    double minX = 1e300, minY = 1e300, maxX = -1e300, maxY = -1e300;
    for (auto [u, v] : {std::pair{0.0, 0.0}, {double(srcRect.width), 0.0}, {0.0, double(srcRect.height)},
                        {double(srcRect.width), double(srcRect.height)}}) {
        const double du = u - centerX, dv = v - centerY;
        const double dx = px + du * c + dv * s, dy = py - du * s + dv * c;
        minX = std::min(minX, dx), maxX = std::max(maxX, dx), minY = std::min(minY, dy), maxY = std::max(maxY, dy);
    }
    const Rect area = clip.Intersection(Bounds(*this));
    const Rect box = Rect(int(std::floor(std::max(minX, -1e9))), int(std::floor(std::max(minY, -1e9))), 0, 0);
    const int x0 = std::max(area.x, box.x), y0 = std::max(area.y, box.y);
    const int x1 = std::min(area.x + area.width, int(std::ceil(std::min(maxX, 1e9)))),
              y1 = std::min(area.y + area.height, int(std::ceil(std::min(maxY, 1e9))));
    if (x0 >= x1 || y0 >= y1 || !src->GetBits() || !GetBits()) return;
    MemoryImage copy;
    if (src == this) {
        copy = *this;
        src = &copy;
    }
    const uint32_t* srcBits = src->GetBits();
    uint32_t* dstBits = GetBits();
    const uint32_t k = ClampedPacked(color);
    const uint16_t* table = Pixel::BlendTable();
    for (int yy = y0; yy < y1; ++yy) {
        for (int xx = x0; xx < x1; ++xx) {
            // Back from the destination pixel's centre into the source rectangle.
            const double dx = xx + 0.5 - px, dy = yy + 0.5 - py;
            const double u = centerX + dx * c - dy * s, v = centerY + dx * s + dy * c;
            if (!(u >= 0 && v >= 0 && u < srcRect.width && v < srcRect.height)) continue;
            uint32_t p = srcBits[size_t(srcRect.y + int(v)) * src->m_width + size_t(srcRect.x + int(u))];
            if (k != 0xFFFFFFFF) p = Pixel::Modulate(p, k);
            uint32_t& d = dstBits[size_t(yy) * m_width + xx];
            d = Pixel::Blend(p, d, drawMode, table);
        }
    }
    src->m_drawn = true;
    BitsChanged();
}

} // namespace Vel
