// Cairo surfaces, path helpers, text through FreeType faces, and the deterministic PNG writer.
#include "Canvas.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <png.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <mutex>

namespace Content {

Rgb Mix(Rgb a, Rgb b, double t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
Rgb Lighter(Rgb c, double t) { return Mix(c, {1, 1, 1}, t); }
Rgb Darker(Rgb c, double t) { return Mix(c, {0, 0, 0}, t); }

Canvas::Canvas(int width, int height)
    : m_width(width), m_height(height),
      m_surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
      m_cr(cairo_create(m_surface))
{
    cairo_set_antialias(m_cr, CAIRO_ANTIALIAS_BEST);
}

Canvas::~Canvas()
{
    cairo_destroy(m_cr);
    cairo_surface_destroy(m_surface);
}

std::vector<uint32_t> Canvas::Argb() const
{
    cairo_surface_flush(m_surface);
    const unsigned char* data = cairo_image_surface_get_data(m_surface);
    const int stride = cairo_image_surface_get_stride(m_surface);
    std::vector<uint32_t> out(size_t(m_width) * m_height);
    for (int y = 0; y < m_height; ++y) {
        const uint32_t* row = reinterpret_cast<const uint32_t*>(data + size_t(y) * stride);
        for (int x = 0; x < m_width; ++x) {
            const uint32_t p = row[x];
            const uint32_t a = p >> 24;
            uint32_t r = (p >> 16) & 255, g = (p >> 8) & 255, b = p & 255;
            if (a == 0) {
                r = g = b = 0;
            } else if (a < 255) {
                // Cairo keeps colours premultiplied; the game blends straight alpha.
                r = std::min<uint32_t>(255, (r * 255 + a / 2) / a);
                g = std::min<uint32_t>(255, (g * 255 + a / 2) / a);
                b = std::min<uint32_t>(255, (b * 255 + a / 2) / a);
            }
            out[size_t(y) * m_width + x] = a << 24 | r << 16 | g << 8 | b;
        }
    }
    return out;
}

std::vector<uint8_t> Canvas::Rgba() const
{
    const std::vector<uint32_t> argb = Argb();
    std::vector<uint8_t> out(argb.size() * 4);
    for (size_t i = 0; i < argb.size(); ++i) {
        out[i * 4 + 0] = (argb[i] >> 16) & 255;
        out[i * 4 + 1] = (argb[i] >> 8) & 255;
        out[i * 4 + 2] = argb[i] & 255;
        out[i * 4 + 3] = argb[i] >> 24;
    }
    return out;
}

void Canvas::Clip(double x, double y, double w, double h)
{
    cairo_save(m_cr);
    cairo_rectangle(m_cr, x, y, w, h);
    cairo_clip(m_cr);
}

void Canvas::Unclip() { cairo_restore(m_cr); }

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r)
{
    r = std::min(r, std::min(w, h) / 2);
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void Ellipse(cairo_t* cr, double cx, double cy, double rx, double ry)
{
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
}

void RegularPolygon(cairo_t* cr, double cx, double cy, double r, int sides, double rotation)
{
    cairo_new_sub_path(cr);
    for (int i = 0; i < sides; ++i) {
        const double a = rotation + 2 * M_PI * i / sides - M_PI / 2;
        cairo_line_to(cr, cx + r * std::cos(a), cy + r * std::sin(a));
    }
    cairo_close_path(cr);
}

void Star(cairo_t* cr, double cx, double cy, double outer, double inner, int points, double rotation)
{
    cairo_new_sub_path(cr);
    for (int i = 0; i < points * 2; ++i) {
        const double a = rotation + M_PI * i / points - M_PI / 2;
        const double r = (i % 2) ? inner : outer;
        cairo_line_to(cr, cx + r * std::cos(a), cy + r * std::sin(a));
    }
    cairo_close_path(cr);
}

void Heart(cairo_t* cr, double cx, double cy, double s)
{
    cairo_new_sub_path(cr);
    cairo_move_to(cr, cx, cy + s * 0.9);
    cairo_curve_to(cr, cx - s * 1.3, cy + s * 0.05, cx - s * 0.85, cy - s * 1.0, cx, cy - s * 0.35);
    cairo_curve_to(cr, cx + s * 0.85, cy - s * 1.0, cx + s * 1.3, cy + s * 0.05, cx, cy + s * 0.9);
    cairo_close_path(cr);
}

void SetColor(cairo_t* cr, Rgb c, double alpha) { cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha); }

void SetVertical(cairo_t* cr, double y0, double y1, Rgb top, Rgb bottom, double alpha)
{
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
    cairo_pattern_add_color_stop_rgba(p, 0, top.r, top.g, top.b, alpha);
    cairo_pattern_add_color_stop_rgba(p, 1, bottom.r, bottom.g, bottom.b, alpha);
    cairo_set_source(cr, p);
    cairo_pattern_destroy(p);
}

void FillWithShadow(cairo_t* cr, double dy, double shadowAlpha)
{
    cairo_path_t* path = cairo_copy_path(cr);
    cairo_pattern_t* fill = cairo_get_source(cr);
    cairo_pattern_reference(fill);
    // A few offset layers approximate a blurred shadow without a blur filter.
    for (int i = 3; i >= 1; --i) {
        cairo_save(cr);
        cairo_new_path(cr);
        cairo_translate(cr, 0, dy * i / 3.0);
        cairo_append_path(cr, path);
        cairo_set_source_rgba(cr, 0.1, 0.12, 0.2, shadowAlpha / 3.0);
        cairo_fill(cr);
        cairo_restore(cr);
    }
    cairo_new_path(cr);
    cairo_append_path(cr, path);
    cairo_set_source(cr, fill);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(fill);
    cairo_path_destroy(path);
}

namespace {

std::mutex g_faceLock;

cairo_font_face_t* FaceFor(const std::string& fontFile)
{
    static FT_Library library = nullptr;
    static std::map<std::string, cairo_font_face_t*> faces;
    std::lock_guard<std::mutex> lock(g_faceLock);
    if (!library)
        FT_Init_FreeType(&library);
    auto it = faces.find(fontFile);
    if (it != faces.end())
        return it->second;
    FT_Face face = nullptr;
    if (FT_New_Face(library, FontPath(fontFile).c_str(), 0, &face) != 0)
        return nullptr;
    cairo_font_face_t* cf = cairo_ft_font_face_create_for_ft_face(face, 0);
    faces[fontFile] = cf;
    return cf;
}

} // namespace

std::string FontPath(const std::string& fileName) { return std::string(QV_FONT_DIR) + "/" + fileName; }

double TextWidth(cairo_t* cr, const std::string& fontFile, double size, const std::string& text)
{
    cairo_font_face_t* face = FaceFor(fontFile);
    if (!face)
        return 0;
    cairo_save(cr);
    cairo_set_font_face(cr, face);
    cairo_set_font_size(cr, size);
    cairo_text_extents_t ext;
    cairo_text_extents(cr, text.c_str(), &ext);
    cairo_restore(cr);
    return ext.x_advance;
}

void DrawCentredText(cairo_t* cr, const std::string& fontFile, double size, const std::string& text,
                     double cx, double baseline)
{
    cairo_font_face_t* face = FaceFor(fontFile);
    if (!face)
        return;
    cairo_set_font_face(cr, face);
    cairo_set_font_size(cr, size);
    cairo_text_extents_t ext;
    cairo_text_extents(cr, text.c_str(), &ext);
    cairo_move_to(cr, cx - ext.x_advance / 2, baseline);
    cairo_text_path(cr, text.c_str());
}

bool WritePng(const std::string& path, int width, int height, const std::vector<uint8_t>& rgba,
              std::string& error)
{
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        error = "cannot create " + path;
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info) {
        png_destroy_write_struct(&png, &info);
        std::fclose(f);
        error = "libpng could not start for " + path;
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(f);
        error = "libpng failed writing " + path;
        return false;
    }
    png_init_io(png, f);
    png_set_compression_level(png, 9);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y)
        png_write_row(png, rgba.data() + size_t(y) * width * 4);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    if (std::fclose(f) != 0) {
        error = "cannot finish " + path;
        return false;
    }
    return true;
}

} // namespace Content
