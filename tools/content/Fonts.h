// Image fonts: glyphs rendered from a DejaVu face into one atlas image, and a description file
// in the font command language (layer, image map, widths, offsets, kerning pairs).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "Canvas.h"

namespace Content {

struct FontDef {
    const char* id;       // "FONT_MENU0" ...
    const char* file;     // description under the data folder, e.g. "fonts/menu0.txt"
    const char* image;    // atlas beside it, e.g. "menu0.png"
    const char* faceFile; // DejaVu file name
    int pixelSize;
};

const std::vector<FontDef>& FontTable();

struct Glyph {
    bool present = false;
    int x = 0, y = 0, width = 0, height = 0; // rectangle in the atlas
    int offsetX = 0, offsetY = 0;            // from the pen position and the top of the ascent
    int advance = 0;
};

struct BuiltFont {
    const FontDef* def = nullptr;
    int ascent = 0;
    int height = 0;
    int atlasWidth = 0, atlasHeight = 0;
    std::vector<uint8_t> coverage;           // atlasWidth x atlasHeight alpha values
    std::array<Glyph, 256> glyphs;
    std::vector<std::array<int, 3>> kerning; // (first, second, extra advance in pixels)

    int Kern(int first, int second) const;
    int StringWidth(const std::string& text) const;
};

// Renders one font; false with `error` set when the face cannot be read.
bool BuildFont(const FontDef& def, BuiltFont& out, std::string& error);
// The description file's text for a built font.
std::string FontDescription(const BuiltFont& font);
// Straight-alpha white glyphs, ready for WritePng.
std::vector<uint8_t> FontAtlasRgba(const BuiltFont& font);
// Draws `text` as the game's font drawing would place it: left end x, baseline y.
void DrawFontText(cairo_t* cr, const BuiltFont& font, const std::string& text, double x, double y, Rgb colour);

} // namespace Content
