// The base of every image: size, cel grid and the drawing primitives a Graphics calls on its
// destination. The base holds no pixels, so its primitives draw nothing.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "framework/graphics/AnimInfo.h"
#include "framework/graphics/Color.h"
#include "framework/graphics/Rect.h"

namespace Vel {

// Draw modes understood by every primitive.
constexpr int kDrawModeNormal = 0;
constexpr int kDrawModeAdditive = 1;

// Larger images are refused before any allocation, whatever a file header claims.
constexpr int kMaxImageDimension = 16384;

class Image {
public:
    Image() = default;
    Image(const Image&) = default;
    Image& operator=(const Image&) = default;
    virtual ~Image() = default;

    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    // Cel sizes use integer division, so a grid that does not divide the image drops the rest.
    int GetCelWidth() const { return m_numCols > 0 ? m_width / m_numCols : 0; }
    int GetCelHeight() const { return m_numRows > 0 ? m_height / m_numRows : 0; }
    // The source rectangle of cel `cel`; empty when the cel is out of range.
    Rect GetCelRect(int cel) const;
    // Refuses a grid with fewer than one row or column; returns whether it was taken.
    bool SetCelGrid(int rows, int cols);

    // Primitives in destination coordinates; the caller has already clipped rectangles to the
    // image (the implementations still clip, so a bad caller cannot write out of bounds).
    virtual void FillRect(const Rect& rect, const Color& color, int drawMode);
    virtual void DrawRect(const Rect& rect, const Color& color, int drawMode);
    virtual void ClearRect(const Rect& rect);
    // The segment between two pixel centres, both ends included, clipped to `clip`.
    virtual void DrawLine(double x1, double y1, double x2, double y2, const Color& color,
                          int drawMode, const Rect& clip);
    // Copies `srcRect` of `src` to (x, y), modulated by `color` unless it is white.
    virtual void Blt(Image* src, int x, int y, const Rect& srcRect, const Color& color, int drawMode);
    // As Blt with the source mirrored left to right.
    virtual void BltMirror(Image* src, int x, int y, const Rect& srcRect, const Color& color,
                           int drawMode);
    // Scales `srcRect` onto `destRect`, drawing only inside `clip`. `fastStretch` takes one source
    // pixel per destination pixel; otherwise neighbouring source pixels are filtered.
    virtual void StretchBlt(Image* src, const Rect& destRect, const Rect& srcRect, const Rect& clip,
                            const Color& color, int drawMode, bool fastStretch);
    // Draws `srcRect` with its top-left corner at (x, y), turned by `angle` radians
    // (counter-clockwise on screen) about (x + centerX, y + centerY), inside `clip`. Each
    // destination pixel takes the source pixel its centre falls on.
    virtual void BltRotated(Image* src, double x, double y, const Rect& srcRect, const Rect& clip,
                            const Color& color, int drawMode, double angle, double centerX, double centerY);

    bool m_drawn = false; // set once the image has been drawn from
    std::string m_filePath;
    int m_width = 0;
    int m_height = 0;
    int m_numRows = 1;
    int m_numCols = 1;
    std::shared_ptr<AnimInfo> m_animInfo;
};

} // namespace Vel
