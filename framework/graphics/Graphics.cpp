// The drawing context: translation, clipping and state handling before the destination's
// primitives, and the text layout with colour codes and word wrapping.
#include "framework/graphics/Graphics.h"

#include <algorithm>
#include <cmath>

#include "framework/fonts/Font.h"

namespace Vel {

namespace {

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 0; // anything else counts as 0
}

Rect WholeImage(const Image* image) { return image ? Rect(0, 0, image->m_width, image->m_height) : Rect(); }

} // namespace

ColorCode ParseColorCode(const std::string& text, size_t pos, size_t end)
{
    end = std::min(end, text.size());
    ColorCode code;
    code.length = 1;
    if (pos >= end || text[pos] != '^') return code;
    if (pos + 1 < end && text[pos + 1] == '^') return {ColorCodeKind::kCaret, 2, 0};
    if (pos + 8 > end || text[pos + 7] != '^') return code; // incomplete: the caret is a character
    if (text.compare(pos + 1, 6, "oldclr") == 0) return {ColorCodeKind::kOldColor, 8, 0};
    int rgb = 0;
    for (size_t i = pos + 1; i < pos + 7; ++i) rgb = rgb << 4 | HexDigit(text[i]);
    return {ColorCodeKind::kColor, 8, rgb};
}

Graphics::Graphics() = default;

Graphics::Graphics(Image* dest)
{
    m_destImage = dest;
    m_clipRect = WholeImage(dest);
}

Graphics::Graphics(const Graphics& other)
    : GraphicsState(other)
{
}

Graphics& Graphics::operator=(const Graphics& other)
{
    if (this != &other) static_cast<GraphicsState&>(*this) = other;
    return *this;
}

Graphics::Graphics(const GraphicsState& state)
    : GraphicsState(state)
{
}

void Graphics::PushState() { m_stateStack.push_back(*this); }

void Graphics::PopState()
{
    if (m_stateStack.empty()) return;
    static_cast<GraphicsState&>(*this) = m_stateStack.back();
    m_stateStack.pop_back();
}

void Graphics::SetScale(float scaleX, float scaleY, float origX, float origY)
{
    m_scaleX = scaleX;
    m_scaleY = scaleY;
    m_scaleOrigX = origX;
    m_scaleOrigY = origY;
}

void Graphics::ClipRect(int x, int y, int width, int height)
{
    m_clipRect = m_clipRect.Intersection(Rect(int(x + m_transX), int(y + m_transY), width, height));
}

void Graphics::SetClipRect(const Rect& rect)
{
    m_clipRect = Rect(int(rect.x + m_transX), int(rect.y + m_transY), rect.width, rect.height)
                     .Intersection(WholeImage(m_destImage));
}

void Graphics::FillRect(int x, int y, int width, int height)
{
    if (!m_destImage || m_color.alpha == 0) return;
    const Rect r = Rect(int(x + m_transX), int(y + m_transY), width, height).Intersection(m_clipRect);
    if (r.IsEmpty()) return;
    m_destImage->FillRect(r, m_color, m_drawMode);
}

void Graphics::DrawRect(int x, int y, int width, int height)
{
    if (!m_destImage || m_color.alpha == 0 || width < 0 || height < 0) return;
    const Rect outline(int(x + m_transX), int(y + m_transY), width + 1, height + 1);
    if (outline.Intersection(m_clipRect) == outline) {
        m_destImage->DrawRect(Rect(outline.x, outline.y, width, height), m_color, m_drawMode);
        return;
    }
    FillRect(x, y, width + 1, 1);
    if (height > 0) FillRect(x, y + height, width + 1, 1);
    FillRect(x, y + 1, 1, height - 1);
    if (width > 0) FillRect(x + width, y + 1, 1, height - 1);
}

void Graphics::ClearRect(int x, int y, int width, int height)
{
    if (!m_destImage) return;
    const Rect r = Rect(int(x + m_transX), int(y + m_transY), width, height).Intersection(m_clipRect);
    if (!r.IsEmpty()) m_destImage->ClearRect(r);
}

void Graphics::DrawLine(int x1, int y1, int x2, int y2)
{
    if (!m_destImage || m_color.alpha == 0 || m_clipRect.IsEmpty()) return;
    // Translated as real numbers; the destination clips the segment to the clip rectangle.
    m_destImage->DrawLine(x1 + double(m_transX), y1 + double(m_transY), x2 + double(m_transX),
                          y2 + double(m_transY), m_color, m_drawMode, m_clipRect);
}

void Graphics::DrawImageClipped(Image* image, int x, int y, const Rect& srcRect, bool mirror)
{
    const int dx = int(x + m_transX), dy = int(y + m_transY);
    const Rect dest = Rect(dx, dy, srcRect.width, srcRect.height).Intersection(m_clipRect);
    if (dest.width < 1 || dest.height < 1) return;
    Rect src(srcRect.x + (dest.x - dx), srcRect.y + (dest.y - dy), dest.width, dest.height);
    if (mirror) {
        // The columns cut on the left of the destination come from the right of the source.
        src.x = srcRect.x + (dx + srcRect.width) - (dest.x + dest.width);
        m_destImage->BltMirror(image, dest.x, dest.y, src, ImageColor(), m_drawMode);
    } else {
        m_destImage->Blt(image, dest.x, dest.y, src, ImageColor(), m_drawMode);
    }
    image->m_drawn = true;
}

void Graphics::DrawImage(Image* image, int x, int y)
{
    if (!image) return;
    DrawImage(image, x, y, Rect(0, 0, image->m_width, image->m_height));
}

void Graphics::DrawImage(Image* image, int x, int y, const Rect& srcRect)
{
    if (!image || !m_destImage || srcRect.IsEmpty()) return;
    if (srcRect.Intersection(WholeImage(image)) != srcRect) return;
    if (m_scaleX != 1 || m_scaleY != 1) {
        const float px = x + m_transX, py = y + m_transY;
        const int sx = int(std::floor((px - m_scaleOrigX) * m_scaleX + m_scaleOrigX));
        const int sy = int(std::floor((py - m_scaleOrigY) * m_scaleY + m_scaleOrigY));
        const int sw = int(std::ceil(srcRect.width * m_scaleX));
        const int sh = int(std::ceil(srcRect.height * m_scaleY));
        const Rect dest(sx, sy, sw, sh);
        if (dest.IsEmpty()) return;
        m_destImage->StretchBlt(image, dest, srcRect, m_clipRect, ImageColor(), m_drawMode, m_fastStretch);
        image->m_drawn = true;
        return;
    }
    DrawImageClipped(image, x, y, srcRect, false);
}

void Graphics::DrawImage(Image* image, const Rect& destRect, const Rect& srcRect)
{
    if (!image || !m_destImage || destRect.IsEmpty() || srcRect.IsEmpty()) return;
    if (srcRect.Intersection(WholeImage(image)) != srcRect) return;
    if (destRect.width == srcRect.width && destRect.height == srcRect.height && m_scaleX == 1 && m_scaleY == 1) {
        DrawImageClipped(image, destRect.x, destRect.y, srcRect, false);
        return;
    }
    const Rect dest(int(destRect.x + m_transX), int(destRect.y + m_transY), destRect.width, destRect.height);
    m_destImage->StretchBlt(image, dest, srcRect, m_clipRect, ImageColor(), m_drawMode, m_fastStretch);
    image->m_drawn = true;
}

void Graphics::DrawImage(Image* image, int x, int y, int width, int height)
{
    if (!image) return;
    DrawImage(image, Rect(x, y, width, height), Rect(0, 0, image->m_width, image->m_height));
}

void Graphics::DrawImageMirror(Image* image, int x, int y, const Rect& srcRect)
{
    if (!image || !m_destImage || srcRect.IsEmpty()) return;
    if (srcRect.Intersection(WholeImage(image)) != srcRect) return;
    DrawImageClipped(image, x, y, srcRect, true);
}

void Graphics::DrawImageRotated(Image* image, int x, int y, double angle, double centerX, double centerY)
{
    if (!image) return;
    DrawImageRotated(image, x, y, angle, centerX, centerY, Rect(0, 0, image->m_width, image->m_height));
}

void Graphics::DrawImageRotated(Image* image, int x, int y, double angle, double centerX, double centerY,
                                const Rect& srcRect)
{
    if (!image || !m_destImage || srcRect.IsEmpty()) return;
    if (srcRect.Intersection(WholeImage(image)) != srcRect) return;
    m_destImage->BltRotated(image, x + double(m_transX), y + double(m_transY), srcRect, m_clipRect, ImageColor(),
                            m_drawMode, angle, centerX, centerY);
    image->m_drawn = true;
}

void Graphics::DrawCel(Image* image, int x, int y, int cel)
{
    if (!image) return;
    const Rect src = image->GetCelRect(cel);
    if (!src.IsEmpty()) DrawImage(image, x, y, src);
}

void Graphics::DrawCel(Image* image, int x, int y, int col, int row)
{
    if (!image || image->m_numCols < 1 || image->m_numRows < 1) return;
    if (col < 0 || row < 0 || col >= image->m_numCols || row >= image->m_numRows) return;
    DrawCel(image, x, y, row * image->m_numCols + col);
}

void Graphics::DrawString(const std::string& text, int x, int y)
{
    if (!m_font) return;
    // Copies: a font draws through this Graphics and may change its colour and clip meanwhile.
    const Color color = m_color;
    const Rect clip = m_clipRect;
    m_font->DrawString(this, x, y, text, color, clip);
}

int Graphics::DrawTextRun(const std::string& text, int x, int y, int width, int justify, bool draw, int offset,
                          int length, std::optional<Color> oldColorIn)
{
    if (!m_font) return 0;
    const Color oldColor = oldColorIn.value_or(m_color);
    const size_t begin = std::min(size_t(std::max(offset, 0)), text.size());
    const size_t end = length < 0 ? text.size() : std::min(text.size(), begin + size_t(length));

    if (justify != -1) {
        const Color before = m_color;
        const int measured = DrawTextRun(text, 0, 0, 0, -1, false, int(begin), int(end - begin), oldColor);
        m_color = before;
        x += justify == 0 ? (width - measured) / 2 : width - measured;
    }

    int cur = x;
    std::string chunk;
    auto flush = [&] {
        if (chunk.empty()) return;
        if (draw) DrawString(chunk, cur, y);
        cur += m_font->StringWidth(chunk);
        chunk.clear();
    };
    for (size_t i = begin; i < end; ++i) {
        const char c = text[i];
        if (c != '^' || !m_writeColoredString) {
            chunk += c;
            continue;
        }
        const ColorCode code = ParseColorCode(text, i, end);
        switch (code.kind) {
        case ColorCodeKind::kNone: chunk += '^'; break;
        case ColorCodeKind::kCaret: chunk += '^'; break;
        case ColorCodeKind::kColor:
            flush();
            m_color = Color((code.rgb >> 16) & 0xFF, (code.rgb >> 8) & 0xFF, code.rgb & 0xFF, m_color.alpha);
            break;
        case ColorCodeKind::kOldColor:
            flush();
            m_color = oldColor;
            break;
        }
        i += size_t(code.length) - 1;
    }
    flush();
    return cur - x;
}

int Graphics::WrapText(const Rect& rect, const std::string& text, int lineSpacing, int justify, bool draw,
                       int* maxWidth, int maxChars, int* lastWidth)
{
    Font* font = m_font;
    if (!font) return 0;
    const Color start = m_color;
    if (lineSpacing == -1) lineSpacing = font->GetLineSpacing();
    const int ascent = font->GetAscent() - font->GetAscentPadding();
    const int firstOffset = lastWidth ? std::max(0, *lastWidth) : 0;
    const size_t drawLimit = maxChars < 0 ? text.size() : std::min(text.size(), size_t(maxChars));

    int baseline = rect.y + ascent;
    int lines = 0, widest = 0, lastLineWidth = 0;

    auto emit = [&](size_t from, size_t to, int width) {
        const int indent = lines == 0 ? firstOffset : 0;
        const int absBaseline = int(baseline + m_transY);
        const bool visible = absBaseline >= m_clipRect.y - lineSpacing &&
                             absBaseline < m_clipRect.y + m_clipRect.height + lineSpacing;
        const size_t last = std::min(to, drawLimit);
        if (from < last)
            DrawTextRun(text, rect.x + indent, baseline, rect.width - indent, justify, draw && visible, int(from),
                        int(last - from), start);
        widest = std::max(widest, width + indent);
        lastLineWidth = width + indent;
        ++lines;
        baseline += lineSpacing;
    };

    size_t lineStart = 0, i = 0;
    int lineWidth = 0, widthAtBlank = 0, charsOnLine = 0;
    size_t blank = std::string::npos;
    char prev = 0;
    bool wrappedAtEnd = false; // the last line ended by wrapping, not by a line feed
    while (i < text.size()) {
        wrappedAtEnd = false;
        char c = text[i];
        size_t len = 1;
        if (c == '^' && m_writeColoredString) {
            const ColorCode code = ParseColorCode(text, i);
            if (code.kind == ColorCodeKind::kColor || code.kind == ColorCodeKind::kOldColor) {
                i += size_t(code.length); // codes take no width
                continue;
            }
            len = size_t(code.length);
        }
        if (c == '\n') {
            emit(lineStart, i, lineWidth);
            lineStart = ++i;
            lineWidth = charsOnLine = 0;
            blank = std::string::npos;
            prev = 0;
            continue;
        }
        const int available = rect.width - (lines == 0 ? firstOffset : 0);
        const int w = font->CharWidthKern(c, prev);
        if (c == ' ') {
            blank = i;
            widthAtBlank = lineWidth;
        }
        if (lineWidth + w > available) {
            if (blank == std::string::npos) {
                if (charsOnLine == 0) { // a line always holds at least one character
                    lineWidth += w;
                    i += len;
                }
                emit(lineStart, i, lineWidth);
                lineStart = i;
            } else {
                emit(lineStart, blank, widthAtBlank);
                lineStart = blank + 1;
                while (lineStart < text.size() && text[lineStart] == ' ') ++lineStart;
            }
            i = lineStart;
            lineWidth = charsOnLine = 0;
            blank = std::string::npos;
            prev = 0;
            wrappedAtEnd = true;
            continue;
        }
        lineWidth += w;
        ++charsOnLine;
        prev = c;
        i += len;
    }
    // Wrapping right at the end leaves no line behind; a final line feed does (an empty one).
    if (!(wrappedAtEnd && lineStart >= text.size())) emit(lineStart, text.size(), lineWidth);

    m_color = start;
    if (maxWidth) *maxWidth = widest;
    if (lastWidth) *lastWidth = lastLineWidth;
    return ascent + (lines - 1) * lineSpacing + font->GetDescent();
}

int Graphics::DrawWrappedText(const Rect& rect, const std::string& text, int lineSpacing, int justify,
                              int* maxWidth, int maxChars, int* lastWidth)
{
    return WrapText(rect, text, lineSpacing, justify, true, maxWidth, maxChars, lastWidth);
}

int Graphics::GetWrappedHeight(int width, const std::string& text, int lineSpacing)
{
    return WrapText(Rect(0, 0, width, 0), text, lineSpacing, -1, false, nullptr, -1, nullptr);
}

} // namespace Vel
