// An image whose 32-bit ARGB pixels live in memory; every software drawing operation ends here.
#pragma once

#include <cstdint>
#include <vector>

#include "framework/graphics/Image.h"

namespace Vel {

class AppBase;

// Written after the last pixel; a changed guard means something wrote past the pixels.
constexpr uint32_t kImageGuardWord = 0x4BEEFADE;

class MemoryImage : public Image {
public:
    MemoryImage() = default;
    MemoryImage(const MemoryImage& other);
    MemoryImage& operator=(const MemoryImage& other);
    ~MemoryImage() override = default;

    // New zeroed (fully transparent) image; false and an empty image when a side is negative or
    // above kMaxImageDimension.
    bool Create(int width, int height);
    // Copies width x height pixels (row by row, top row first). `commit` lets a display take the
    // pixels over; the software display keeps them in memory either way.
    bool SetBits(const uint32_t* pixels, int width, int height, bool commit = true);
    // As SetBits, taking the buffer over instead of copying it (width x height pixels).
    bool TakeBits(std::vector<uint32_t>&& pixels, int width, int height);
    // The pixel buffer, rebuilt from the palettised form when needed; null for an empty image.
    // Writing through it must be followed by BitsChanged().
    uint32_t* GetBits();
    const uint32_t* GetBits() const { return const_cast<MemoryImage*>(this)->GetBits(); }
    // Tells the image its pixels were written, so the derived tables are rebuilt on next use.
    void BitsChanged();
    // False when something wrote past the last pixel.
    bool CheckGuard() const;

    // Looks at every pixel's alpha: 0 sets m_hasTrans, 1..254 sets m_hasAlpha.
    void RecomputeAlphaFlags();
    // Switches to a colour table of at most 256 entries; false (and still 32-bit) otherwise.
    bool Palletize();
    bool IsPalletized() const { return m_palletized; }

    // Per pixel: how many pixels from here to the right share its opacity class (transparent,
    // opaque, partly transparent), capped at 255. Rebuilt lazily after the bits change.
    const uint8_t* GetRunLengthAlphaData();
    // The same for the additive class: pixels that add nothing (alpha x channel below 256 for
    // every channel) and pixels that add something.
    const uint8_t* GetRunLengthAdditiveData();

    // Drawing primitives on the pixels (see Image).
    void FillRect(const Rect& rect, const Color& color, int drawMode) override;
    void DrawRect(const Rect& rect, const Color& color, int drawMode) override;
    void ClearRect(const Rect& rect) override;
    void DrawLine(double x1, double y1, double x2, double y2, const Color& color, int drawMode,
                  const Rect& clip) override;
    void Blt(Image* src, int x, int y, const Rect& srcRect, const Color& color, int drawMode) override;
    void BltMirror(Image* src, int x, int y, const Rect& srcRect, const Color& color,
                   int drawMode) override;
    void StretchBlt(Image* src, const Rect& destRect, const Rect& srcRect, const Rect& clip,
                    const Color& color, int drawMode, bool fastStretch) override;
    void BltRotated(Image* src, double x, double y, const Rect& srcRect, const Rect& clip, const Color& color,
                    int drawMode, double angle, double centerX, double centerY) override;

    int m_bitsChangedCount = 0;
    bool m_bitsChanged = false;
    uint32_t m_colorTable[256] = {};
    std::vector<uint8_t> m_colorIndices; // one byte per pixel while palettised
    bool m_hasTrans = false; // some pixel has alpha 0
    bool m_hasAlpha = false; // some pixel has alpha strictly between 0 and 255
    bool m_isVolatile = false;
    bool m_forcedMode = false;
    bool m_purgeBits = false; // a display may drop the memory copy; the software display never does
    bool m_wantPal = false;
    AppBase* m_app = nullptr;

protected:
    void WriteGuard();
    // Bits exist (rebuilding them from the palette); false for an empty image.
    bool EnsureBits();

    std::vector<uint32_t> m_bits; // width x height pixels plus the guard word
    bool m_palletized = false;
    std::vector<uint8_t> m_rlAlphaData;
    std::vector<uint8_t> m_rlAdditiveData;
    int m_rlAlphaCount = -1;    // m_bitsChangedCount the table was built for
    int m_rlAdditiveCount = -1;
};

} // namespace Vel
