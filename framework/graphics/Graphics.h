// The drawing context: a state (destination, translation, clip, colour, font, modes) with a
// stack of saved states, and the drawing operations, all clipped and translated here before
// the destination image's primitives run.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "framework/graphics/Color.h"
#include "framework/graphics/Image.h"
#include "framework/graphics/Rect.h"

namespace Vel {

class Font;

struct GraphicsState {
    Image* m_destImage = nullptr;
    float m_transX = 0;
    float m_transY = 0;
    // When a scale differs from 1, images go through the stretching path: the position becomes
    // floor((p - origin) x scale) + origin and the size ceil(size x scale).
    float m_scaleX = 1;
    float m_scaleY = 1;
    float m_scaleOrigX = 0;
    float m_scaleOrigY = 0;
    Rect m_clipRect; // in destination coordinates; starts as the whole destination
    Color m_color{0, 0, 0, 255};
    Font* m_font = nullptr;
    int m_drawMode = kDrawModeNormal;
    bool m_colorizeImages = false; // images are modulated by m_color; otherwise drawn with white
    bool m_fastStretch = false;
    bool m_writeColoredString = true; // colour codes in text runs change the colour
    bool m_linearBlend = false;
    bool m_is3D = false;
};

class Graphics : public GraphicsState {
public:
    Graphics();
    explicit Graphics(Image* dest);
    // A copy takes the state, not the stack of saved states.
    Graphics(const Graphics& other);
    Graphics& operator=(const Graphics& other);
    explicit Graphics(const GraphicsState& state);

    void PushState();
    void PopState(); // nothing when the stack is empty

    void SetColor(const Color& color) { m_color = color; }
    const Color& GetColor() const { return m_color; }
    void SetFont(Font* font) { m_font = font; }
    Font* GetFont() const { return m_font; }
    void SetDrawMode(int mode) { m_drawMode = mode; }
    int GetDrawMode() const { return m_drawMode; }
    void SetImageTint(bool on) { m_colorizeImages = on; }
    bool GetImageTint() const { return m_colorizeImages; }
    void SetFastStretch(bool on) { m_fastStretch = on; }
    void SetLinearBlend(bool on) { m_linearBlend = on; }
    void SetWriteColoredString(bool on) { m_writeColoredString = on; }
    void SetScale(float scaleX, float scaleY, float origX, float origY);
    void Translate(float dx, float dy) { m_transX += dx; m_transY += dy; }
    float GetTransX() const { return m_transX; }
    float GetTransY() const { return m_transY; }
    // Intersects the clip with the translated rectangle; clipping only ever shrinks.
    void ClipRect(int x, int y, int width, int height);
    void ClipRect(const Rect& rect) { ClipRect(rect.x, rect.y, rect.width, rect.height); }
    void SetClipRect(const Rect& rect); // replaces the clip (translated), bounded by the destination
    const Rect& GetClipRect() const { return m_clipRect; }

    // Nothing when the colour's alpha is 0.
    void FillRect(int x, int y, int width, int height);
    void FillRect(const Rect& rect) { FillRect(rect.x, rect.y, rect.width, rect.height); }
    // An outline covering width + 1 by height + 1 pixels.
    void DrawRect(int x, int y, int width, int height);
    void DrawRect(const Rect& rect) { DrawRect(rect.x, rect.y, rect.width, rect.height); }
    // Sets the clipped rectangle to transparent black, whatever the mode and colour.
    void ClearRect(int x, int y, int width, int height);
    void DrawLine(int x1, int y1, int x2, int y2);

    void DrawImage(Image* image, int x, int y);
    // A part of the image; nothing when `srcRect` reaches outside it.
    void DrawImage(Image* image, int x, int y, const Rect& srcRect);
    // Stretched onto `destRect`.
    void DrawImage(Image* image, const Rect& destRect, const Rect& srcRect);
    void DrawImage(Image* image, int x, int y, int width, int height);
    void DrawImageMirror(Image* image, int x, int y, const Rect& srcRect);
    // Turned by `angle` radians (counter-clockwise on screen) about (x + centerX, y + centerY).
    void DrawImageRotated(Image* image, int x, int y, double angle, double centerX, double centerY);
    void DrawImageRotated(Image* image, int x, int y, double angle, double centerX, double centerY,
                          const Rect& srcRect);
    // Cel `cel` of the image's grid, numbered row by row; nothing when out of range.
    void DrawCel(Image* image, int x, int y, int cel);
    void DrawCel(Image* image, int x, int y, int col, int row);

    // The current font draws `text` unchanged (no colour codes) with its left end at x and its
    // baseline at y. The font receives x and y untranslated (it draws through this Graphics, which
    // translates) and the clip rectangle in destination coordinates.
    void DrawString(const std::string& text, int x, int y);
    // Draws text[offset .. offset + length) (length -1: to the end) with colour codes, justified
    // in `width` (0 centred, 1 right, -1 left); returns its width. `oldColor` is what "^oldclr^"
    // switches back to (by default the colour at the start of the call). The last colour set
    // stays set. With draw false it only measures (and still follows the colour codes).
    int DrawTextRun(const std::string& text, int x, int y, int width, int justify, bool draw = true,
                    int offset = 0, int length = -1, std::optional<Color> oldColor = std::nullopt);
    // Word-wrapped text in `rect`; returns the height used. lineSpacing -1 means the font's.
    // `maxWidth` receives the widest line; `maxChars` (-1: all) limits how many characters are
    // drawn; `lastWidth` in: width already taken on the first line, out: width of the last line.
    int DrawWrappedText(const Rect& rect, const std::string& text, int lineSpacing = -1,
                        int justify = -1, int* maxWidth = nullptr, int maxChars = -1,
                        int* lastWidth = nullptr);
    // The height DrawWrappedText would use, measured with the current font without drawing.
    int GetWrappedHeight(int width, const std::string& text, int lineSpacing = -1);

private:
    int WrapText(const Rect& rect, const std::string& text, int lineSpacing, int justify, bool draw,
                 int* maxWidth, int maxChars, int* lastWidth);
    void DrawImageClipped(Image* image, int x, int y, const Rect& srcRect, bool mirror);
    Color ImageColor() const { return m_colorizeImages ? m_color : Color::White(); }

    std::vector<GraphicsState> m_stateStack;
};

// The colour codes inside text runs: "^^" is one caret, "^RRGGBB^" a colour, "^oldclr^" the
// starting colour. A caret starts a code only when the whole code is there.
enum class ColorCodeKind { kNone, kCaret, kColor, kOldColor };
struct ColorCode {
    ColorCodeKind kind = ColorCodeKind::kNone;
    int length = 0;  // characters the code takes (1 for kNone: the caret is drawn as a character)
    int rgb = 0;     // 0xRRGGBB for kColor
};
// A code must end before `end` (the end of the run being drawn).
ColorCode ParseColorCode(const std::string& text, size_t pos, size_t end = std::string::npos);

} // namespace Vel
