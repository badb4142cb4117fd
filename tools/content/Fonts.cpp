// Glyph rendering with FreeType, atlas packing, kerning and the font description writer.
#include "Fonts.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <sstream>

namespace Content {

namespace {

const std::vector<FontDef> kFonts = {
    {"FONT_MENU0", "fonts/menu0.txt", "menu0.png", "DejaVuSans-Bold.ttf", 50},
    {"FONT_MENU1", "fonts/menu1.txt", "menu1.png", "DejaVuSans-Bold.ttf", 38},
    {"FONT_MENU2", "fonts/menu2.txt", "menu2.png", "DejaVuSans-Bold.ttf", 24},
    {"FONT_MENU3", "fonts/menu3.txt", "menu3.png", "DejaVuSansCondensed-Bold.ttf", 20},
    {"FONT_MENU4", "fonts/menu4.txt", "menu4.png", "DejaVuSans-Bold.ttf", 14},
};

// The character set: printable ASCII and the Latin-1 letters of the Spanish texts. The backslash
// is left out: no game text uses it and it is the description language's escape character.
bool InCharSet(int c) { return (c >= 32 && c <= 126 && c != '\\') || (c >= 161 && c <= 255); }

// "~" is drawn as a division sign: the math tests write division with it.
unsigned long CodePointFor(int c) { return c == '~' ? 0xF7 : static_cast<unsigned long>(c); }

// Characters between which kerning is worth listing: letters, digits and common punctuation.
bool Kernable(int c) { return InCharSet(c) && c != ' '; }

// Quotes one character (or a pair) for the description language; empty when impossible.
std::string Quote(const std::string& s)
{
    if (s.find('"') == std::string::npos)
        return "\"" + s + "\"";
    if (s.find('\'') == std::string::npos)
        return "'" + s + "'";
    return {};
}

} // namespace

const std::vector<FontDef>& FontTable() { return kFonts; }

int BuiltFont::Kern(int first, int second) const
{
    for (const auto& k : kerning)
        if (k[0] == first && k[1] == second)
            return k[2];
    return 0;
}

int BuiltFont::StringWidth(const std::string& text) const
{
    int w = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const int c = static_cast<unsigned char>(text[i]);
        w += glyphs[c].advance;
        if (i + 1 < text.size())
            w += Kern(c, static_cast<unsigned char>(text[i + 1]));
    }
    return w;
}

bool BuildFont(const FontDef& def, BuiltFont& out, std::string& error)
{
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) {
        error = "FreeType did not start";
        return false;
    }
    FT_Face face = nullptr;
    if (FT_New_Face(library, FontPath(def.faceFile).c_str(), 0, &face) != 0) {
        FT_Done_FreeType(library);
        error = std::string("cannot read the font face ") + FontPath(def.faceFile);
        return false;
    }
    FT_Set_Pixel_Sizes(face, 0, def.pixelSize);
    out = BuiltFont();
    out.def = &def;
    out.ascent = static_cast<int>(std::ceil(face->size->metrics.ascender / 64.0));
    const int descent = static_cast<int>(std::ceil(-face->size->metrics.descender / 64.0));
    out.height = out.ascent + descent;

    struct Bitmap {
        int c, w, h;
        std::vector<uint8_t> pixels;
    };
    std::vector<Bitmap> bitmaps;
    for (int c = 0; c < 256; ++c) {
        if (!InCharSet(c))
            continue;
        const FT_UInt index = FT_Get_Char_Index(face, CodePointFor(c));
        if (index == 0 || FT_Load_Glyph(face, index, FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT) != 0)
            continue;
        const FT_GlyphSlot slot = face->glyph;
        Glyph& g = out.glyphs[c];
        g.present = true;
        g.advance = static_cast<int>((slot->advance.x + 32) >> 6);
        g.offsetX = slot->bitmap_left;
        g.offsetY = out.ascent - slot->bitmap_top;
        g.width = static_cast<int>(slot->bitmap.width);
        g.height = static_cast<int>(slot->bitmap.rows);
        Bitmap b{c, g.width, g.height, {}};
        b.pixels.resize(size_t(g.width) * g.height);
        for (int y = 0; y < g.height; ++y)
            for (int x = 0; x < g.width; ++x)
                b.pixels[size_t(y) * g.width + x] = slot->bitmap.buffer[y * slot->bitmap.pitch + x];
        bitmaps.push_back(std::move(b));
    }

    // Shelf packing in character order: rows as tall as the font, 2 pixels between glyphs.
    out.atlasWidth = def.pixelSize >= 40 ? 1024 : 512;
    int penX = 1, penY = 1, rowH = 0;
    for (const Bitmap& b : bitmaps) {
        if (penX + b.w + 1 > out.atlasWidth) {
            penX = 1;
            penY += rowH + 2;
            rowH = 0;
        }
        Glyph& g = out.glyphs[b.c];
        g.x = b.w ? penX : 0;
        g.y = b.h ? penY : 0;
        penX += b.w + 2;
        rowH = std::max(rowH, b.h);
    }
    out.atlasHeight = penY + rowH + 1;
    out.coverage.assign(size_t(out.atlasWidth) * out.atlasHeight, 0);
    for (const Bitmap& b : bitmaps) {
        const Glyph& g = out.glyphs[b.c];
        for (int y = 0; y < b.h; ++y)
            for (int x = 0; x < b.w; ++x)
                out.coverage[size_t(g.y + y) * out.atlasWidth + g.x + x] = b.pixels[size_t(y) * b.w + x];
    }

    if (FT_HAS_KERNING(face)) {
        for (int a = 0; a < 256; ++a) {
            if (!Kernable(a) || !out.glyphs[a].present)
                continue;
            const FT_UInt ia = FT_Get_Char_Index(face, CodePointFor(a));
            for (int b = 0; b < 256; ++b) {
                if (!Kernable(b) || !out.glyphs[b].present)
                    continue;
                FT_Vector k;
                if (FT_Get_Kerning(face, ia, FT_Get_Char_Index(face, CodePointFor(b)), FT_KERNING_DEFAULT, &k) != 0)
                    continue;
                const int px = static_cast<int>(std::lround(k.x / 64.0));
                if (px != 0)
                    out.kerning.push_back({a, b, std::clamp(px, -128, 127)});
            }
        }
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return true;
}

std::string FontDescription(const BuiltFont& font)
{
    std::ostringstream o;
    const FontDef& def = *font.def;
    o << "# " << def.id << ": " << def.faceFile << " at " << def.pixelSize << " pixels, white glyphs.\n";
    o << "SetDefaultPointSize " << def.pixelSize << ";\n";
    o << "CreateLayer Main;\n";
    o << "LayerSetPointSize Main " << def.pixelSize << ";\n";
    o << "LayerSetImage Main \"" << def.image << "\";\n";
    o << "LayerSetAscent Main " << font.ascent << ";\n";
    o << "LayerSetHeight Main " << font.height << ";\n";
    o << "LayerSetLineSpacingOffset Main 0;\n";
    std::ostringstream chars, rects, widths, offsets;
    for (int c = 0; c < 256; ++c) {
        const Glyph& g = font.glyphs[c];
        if (!g.present)
            continue;
        chars << ' ' << Quote(std::string(1, char(c)));
        rects << " (" << g.x << ' ' << g.y << ' ' << g.width << ' ' << g.height << ')';
        widths << ' ' << g.advance;
        offsets << " (" << g.offsetX << ' ' << g.offsetY << ')';
    }
    o << "Define Chars (" << chars.str() << " );\n";
    o << "Define Rects (" << rects.str() << " );\n";
    o << "Define Widths (" << widths.str() << " );\n";
    o << "Define Offsets (" << offsets.str() << " );\n";
    o << "LayerSetImageMap Main Chars Rects;\n";
    o << "LayerSetCharWidths Main Chars Widths;\n";
    o << "LayerSetCharOffsets Main Chars Offsets;\n";
    std::ostringstream pairs, values;
    int count = 0;
    for (const auto& k : font.kerning) {
        const std::string q = Quote(std::string{char(k[0]), char(k[1])});
        if (q.empty())
            continue;
        pairs << ' ' << q;
        values << ' ' << k[2];
        ++count;
    }
    if (count > 0) {
        o << "Define KernPairs (" << pairs.str() << " );\n";
        o << "Define KernValues (" << values.str() << " );\n";
        o << "LayerSetKerningPairs Main KernPairs KernValues;\n";
    }
    return o.str();
}

std::vector<uint8_t> FontAtlasRgba(const BuiltFont& font)
{
    std::vector<uint8_t> rgba(font.coverage.size() * 4);
    for (size_t i = 0; i < font.coverage.size(); ++i) {
        const uint8_t a = font.coverage[i];
        // Fully transparent pixels stay black so the file compresses and blends cleanly.
        rgba[i * 4 + 0] = rgba[i * 4 + 1] = rgba[i * 4 + 2] = a ? 255 : 0;
        rgba[i * 4 + 3] = a;
    }
    return rgba;
}

void DrawFontText(cairo_t* cr, const BuiltFont& font, const std::string& text, double x, double y, Rgb colour)
{
    // A cairo surface from the coverage, used as a mask per glyph.
    cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_A8, font.atlasWidth, font.atlasHeight);
    cairo_surface_flush(mask);
    unsigned char* data = cairo_image_surface_get_data(mask);
    const int stride = cairo_image_surface_get_stride(mask);
    for (int row = 0; row < font.atlasHeight; ++row)
        std::copy_n(font.coverage.data() + size_t(row) * font.atlasWidth, font.atlasWidth, data + size_t(row) * stride);
    cairo_surface_mark_dirty(mask);
    double pen = x;
    for (size_t i = 0; i < text.size(); ++i) {
        const int c = static_cast<unsigned char>(text[i]);
        const Glyph& g = font.glyphs[c];
        if (g.width > 0 && g.height > 0) {
            const double gx = pen + g.offsetX, gy = y - font.ascent + g.offsetY;
            cairo_save(cr);
            cairo_rectangle(cr, gx, gy, g.width, g.height);
            cairo_clip(cr);
            SetColor(cr, colour);
            cairo_mask_surface(cr, mask, gx - g.x, gy - g.y);
            cairo_restore(cr);
        }
        pen += g.advance;
        if (i + 1 < text.size())
            pen += font.Kern(c, static_cast<unsigned char>(text[i + 1]));
    }
    cairo_surface_destroy(mask);
}

} // namespace Content
