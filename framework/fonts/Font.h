// The base of every font: metrics, measuring and drawing a string at a baseline.
#pragma once

#include <string>

#include "framework/graphics/Color.h"
#include "framework/graphics/Rect.h"

namespace Vel {

class Graphics;

class Font {
public:
    virtual ~Font() = default;
    virtual int GetAscent() { return m_ascent; }
    virtual int GetAscentPadding() { return m_ascentPadding; }
    virtual int GetDescent() { return m_height - m_ascent; }
    virtual int GetHeight() { return m_height; }
    virtual int GetLineSpacingOffset() { return m_lineSpacingOffset; }
    virtual int GetLineSpacing() { return m_height + m_lineSpacingOffset; }
    virtual int StringWidth(const std::string& text) = 0;
    virtual int CharWidth(char c) = 0;
    // The advance of `c` when `prev` stands before it (kerning included); `prev` 0 means none.
    virtual int CharWidthKern(char c, char prev) { (void)prev; return CharWidth(c); }
    // `x` is the left end, `y` the baseline; nothing is drawn outside `clipRect`.
    virtual void DrawString(Graphics* g, int x, int y, const std::string& text, const Color& color,
                            const Rect& clipRect) = 0;
    virtual Font* Duplicate() = 0;

protected:
    int m_ascent = 0;
    int m_ascentPadding = 0;
    int m_height = 0;
    int m_lineSpacingOffset = 0;
};

} // namespace Vel
