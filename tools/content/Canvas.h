// Drawing surfaces for the generator: a cairo image surface with the few shape helpers the art
// uses, and a PNG writer that stores straight (not premultiplied) alpha as the game expects.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <string>
#include <vector>

namespace Content {

struct Rgb {
    double r = 0, g = 0, b = 0;
};

// 0xRRGGBB to cairo's 0..1 channels.
constexpr Rgb Hex(uint32_t v)
{
    return {((v >> 16) & 255) / 255.0, ((v >> 8) & 255) / 255.0, (v & 255) / 255.0};
}
Rgb Mix(Rgb a, Rgb b, double t);
Rgb Lighter(Rgb c, double t); // towards white
Rgb Darker(Rgb c, double t);  // towards black

class Canvas {
public:
    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    cairo_t* Cr() const { return m_cr; }
    cairo_surface_t* Surface() const { return m_surface; }

    // Straight-alpha RGBA bytes, top row first.
    std::vector<uint8_t> Rgba() const;
    // Packed 0xAARRGGBB with straight alpha, as the game's images hold them.
    std::vector<uint32_t> Argb() const;

    void Clip(double x, double y, double w, double h);
    void Unclip();

private:
    int m_width;
    int m_height;
    cairo_surface_t* m_surface;
    cairo_t* m_cr;
};

// Path helpers; they only build the path, the caller fills or strokes it.
void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r);
void Ellipse(cairo_t* cr, double cx, double cy, double rx, double ry);
void RegularPolygon(cairo_t* cr, double cx, double cy, double r, int sides, double rotation);
void Star(cairo_t* cr, double cx, double cy, double outer, double inner, int points, double rotation);
void Heart(cairo_t* cr, double cx, double cy, double size);

void SetColor(cairo_t* cr, Rgb c, double alpha = 1.0);
// A vertical gradient from `top` to `bottom` over y0..y1 as the current source.
void SetVertical(cairo_t* cr, double y0, double y1, Rgb top, Rgb bottom, double alpha = 1.0);
// Fills the current path with a soft drop shadow below it, then with `fill`; keeps the path.
void FillWithShadow(cairo_t* cr, double dy, double shadowAlpha);

// Text drawn with a font file from the Debian font package, centred on (cx, baseline).
void DrawCentredText(cairo_t* cr, const std::string& fontFile, double size, const std::string& text,
                     double cx, double baseline);
double TextWidth(cairo_t* cr, const std::string& fontFile, double size, const std::string& text);

// Writes 8-bit RGBA PNG with fixed settings and no time chunk, so equal pixels give equal bytes.
bool WritePng(const std::string& path, int width, int height, const std::vector<uint8_t>& rgba,
              std::string& error);

// A small deterministic generator for the art and sound variations (never the clock).
class Random {
public:
    explicit Random(uint32_t seed) : m_state(seed) {}
    uint32_t Next()
    {
        m_state = m_state * 1664525u + 1013904223u;
        return m_state >> 8;
    }
    double Unit() { return (Next() & 0xFFFFFF) / double(0x1000000); }
    double Range(double a, double b) { return a + (b - a) * Unit(); }

private:
    uint32_t m_state;
};

std::string FontPath(const std::string& fileName);

} // namespace Content
