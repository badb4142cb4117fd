// System fonts over FreeType: finding a face file, metrics, cached glyph images and drawing.
#include "framework/fonts/SysFont.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <mutex>
#include <optional>

#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"

namespace Vel {

namespace {

constexpr int kScreenDpi = 96;

std::mutex& FreeTypeLock()
{
    static std::mutex* lock = new std::mutex();
    return *lock;
}

// One library for the process; FreeType objects are used under FreeTypeLock().
FT_Library Library()
{
    static FT_Library library = [] {
        FT_Library lib = nullptr;
        if (FT_Init_FreeType(&lib) != 0)
            lib = nullptr;
        return lib;
    }();
    return library;
}

std::string Lower(std::string s)
{
    for (char& c : s)
        c = char(std::tolower(uint8_t(c)));
    return s;
}

std::string WithoutBlanks(const std::string& s)
{
    std::string out;
    for (char c : s)
        if (c != ' ')
            out += c;
    return out;
}

const char* const kFontDirs[] = {
    "/usr/share/fonts/truetype/dejavu",
    "/usr/share/fonts/truetype",
    "/usr/share/fonts/TTF",
    "/usr/share/fonts/dejavu",
    "/usr/local/share/fonts",
};

enum class Family { kSans, kMono, kSerif };

Family FamilyOf(const std::string& lowerFace)
{
    static const char* const kMono[] = {"courier new", "courier", "lucida console", "consolas", "fixedsys",
                                        "terminal", "monospace", "dejavu sans mono"};
    static const char* const kSerif[] = {"times new roman", "times", "georgia", "garamond", "book antiqua",
                                         "serif", "dejavu serif"};
    for (const char* name : kMono)
        if (lowerFace == name)
            return Family::kMono;
    for (const char* name : kSerif)
        if (lowerFace == name)
            return Family::kSerif;
    // "Arial", "Arial Unicode MS", "Tahoma", "Verdana", "MS Sans Serif" and anything unknown.
    return Family::kSans;
}

std::optional<std::string> FindInDirs(const std::string& fileName)
{
    std::error_code ec;
    for (const char* dir : kFontDirs) {
        const std::filesystem::path p = std::filesystem::path(dir) / fileName;
        if (std::filesystem::is_regular_file(p, ec))
            return p.string();
    }
    return std::nullopt;
}

struct Glyph {
    int advance = 0;
    int left = 0;
    int top = 0;
    std::shared_ptr<MemoryImage> image; // white, coverage in alpha; null for blank glyphs
};

} // namespace

struct SysFontFace {
    FT_Face face = nullptr;
    std::string path;
    int pixelSize = 0;
    int underlinePos = 0;
    int underlineThickness = 1;
    std::array<std::optional<Glyph>, 256> glyphs;

    ~SysFontFace()
    {
        std::lock_guard<std::mutex> lock(FreeTypeLock());
        if (face)
            FT_Done_Face(face);
    }

    const Glyph& GetGlyph(uint8_t c)
    {
        std::lock_guard<std::mutex> lock(FreeTypeLock());
        auto& slot = glyphs[c];
        if (slot)
            return *slot;
        Glyph g;
        // Bytes are Latin-1, whose code points equal the byte values.
        if (FT_Load_Char(face, c, FT_LOAD_DEFAULT) == 0 &&
            FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) == 0) {
            const FT_GlyphSlot gs = face->glyph;
            g.advance = int((gs->advance.x + 32) >> 6);
            g.left = gs->bitmap_left;
            g.top = gs->bitmap_top;
            const FT_Bitmap& bm = gs->bitmap;
            if (bm.width > 0 && bm.rows > 0 && bm.pixel_mode == FT_PIXEL_MODE_GRAY) {
                auto image = std::make_shared<MemoryImage>();
                if (image->Create(int(bm.width), int(bm.rows))) {
                    uint32_t* bits = image->GetBits();
                    for (unsigned y = 0; y < bm.rows; ++y) {
                        const unsigned char* row = bm.buffer + ptrdiff_t(y) * bm.pitch;
                        for (unsigned x = 0; x < bm.width; ++x)
                            bits[y * bm.width + x] = uint32_t(row[x]) << 24 | 0x00FFFFFFu;
                    }
                    image->BitsChanged();
                    image->RecomputeAlphaFlags();
                    g.image = std::move(image);
                }
            }
        }
        slot = std::move(g);
        return *slot;
    }
};

std::string SysFont::FindFontFile(const std::string& faceName, bool bold, bool italic)
{
    // A face that names an installed file directly ("DejaVu Sans Mono" -> DejaVuSansMono.ttf).
    const std::string direct = WithoutBlanks(faceName);
    if (!direct.empty()) {
        const std::string style = std::string(bold ? "Bold" : "") + (italic ? "Oblique" : "");
        if (!style.empty())
            if (auto p = FindInDirs(direct + "-" + style + ".ttf"))
                return *p;
        if (auto p = FindInDirs(direct + ".ttf"))
            return *p;
    }

    const Family family = FamilyOf(Lower(faceName));
    const std::string base = family == Family::kMono ? "DejaVuSansMono" : family == Family::kSerif ? "DejaVuSerif" : "DejaVuSans";
    const std::string slant = family == Family::kSerif ? "Italic" : "Oblique";
    std::string style = std::string(bold ? "Bold" : "") + (italic ? slant : "");
    if (!style.empty())
        if (auto p = FindInDirs(base + "-" + style + ".ttf"))
            return *p;
    if (auto p = FindInDirs(base + ".ttf"))
        return *p;
    if (auto p = FindInDirs("DejaVuSans.ttf"))
        return *p;

    // Anything TrueType that is installed, the first in name order so the choice is stable.
    std::vector<std::string> found;
    std::error_code ec;
    for (auto it = std::filesystem::recursive_directory_iterator("/usr/share/fonts", ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        if (it->is_regular_file(ec) && Lower(it->path().extension().string()) == ".ttf")
            found.push_back(it->path().string());
    }
    std::sort(found.begin(), found.end());
    return found.empty() ? std::string() : found.front();
}

SysFont::SysFont(const std::string& faceName, int pointSize, bool bold, bool italic, bool underline)
    : m_underline(underline)
{
    std::string path = FindFontFile(faceName, bold, italic);
    if (bold && path.find("Bold") == std::string::npos)
        m_simulateBold = true; // no bold face installed: draw it twice
    FT_Library library = Library();
    if (path.empty() || !library)
        return;
    auto face = std::make_shared<SysFontFace>();
    face->path = path;
    face->pixelSize = std::max(1, pointSize * kScreenDpi / 72);
    {
        std::lock_guard<std::mutex> lock(FreeTypeLock());
        if (FT_New_Face(library, path.c_str(), 0, &face->face) != 0) {
            face->face = nullptr;
            return;
        }
        FT_Select_Charmap(face->face, FT_ENCODING_UNICODE);
        if (FT_Set_Pixel_Sizes(face->face, 0, FT_UInt(face->pixelSize)) != 0)
            return;
        const FT_Size_Metrics& m = face->face->size->metrics;
        m_ascent = int((m.ascender + 63) >> 6);
        m_height = m_ascent + int((-m.descender + 63) >> 6);
        m_lineSpacingOffset = std::max(0, int((m.height + 63) >> 6) - m_height);
        const double pxPerUnit = double(face->pixelSize) / std::max<int>(1, face->face->units_per_EM);
        face->underlinePos = std::max(1, int(-face->face->underline_position * pxPerUnit + 0.5));
        face->underlineThickness = std::max(1, int(face->face->underline_thickness * pxPerUnit + 0.5));
    }
    m_face = std::move(face);
}

SysFont::SysFont(const SysFont& other) = default;

SysFont::~SysFont() = default;

bool SysFont::IsLoaded() const
{
    return m_face != nullptr;
}

const std::string& SysFont::GetFontPath() const
{
    static const std::string kNone;
    return m_face ? m_face->path : kNone;
}

int SysFont::CharWidth(char c)
{
    if (!m_face)
        return 0;
    return m_face->GetGlyph(uint8_t(c)).advance + (m_simulateBold ? 1 : 0);
}

int SysFont::CharWidthKern(char c, char prev)
{
    (void)prev;
    return CharWidth(c);
}

int SysFont::StringWidth(const std::string& text)
{
    int width = 0;
    for (char c : text)
        width += CharWidth(c);
    return width;
}

void SysFont::DrawString(Graphics* g, int x, int y, const std::string& text, const Color& color,
                         const Rect& clipRect)
{
    if (!m_face || !g)
        return;
    // `color` may be the Graphics' own colour, which the passes below overwrite.
    const Color textColor = color;
    g->PushState();
    g->m_clipRect = g->m_clipRect.Intersection(clipRect);
    g->SetImageTint(true);
    g->SetDrawMode(kDrawModeNormal);
    auto pass = [&](int dx, int dy, const Color& passColor) {
        g->SetColor(passColor);
        int penX = x + dx;
        for (char c : text) {
            const Glyph& glyph = m_face->GetGlyph(uint8_t(c));
            if (glyph.image) {
                g->DrawImage(glyph.image.get(), penX + glyph.left, y + dy - glyph.top);
                if (m_simulateBold)
                    g->DrawImage(glyph.image.get(), penX + glyph.left + 1, y + dy - glyph.top);
            }
            penX += glyph.advance + (m_simulateBold ? 1 : 0);
        }
        if (m_underline)
            g->FillRect(x + dx, y + dy + m_face->underlinePos, penX - x - dx, m_face->underlineThickness);
    };
    if (m_shadow)
        pass(1, 1, Color(0, 0, 0, textColor.alpha));
    pass(0, 0, textColor);
    g->PopState();
}

Font* SysFont::Duplicate()
{
    return new SysFont(*this);
}

} // namespace Vel
