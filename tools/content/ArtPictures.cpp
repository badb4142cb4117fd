// Pictures used by the tests and the stamp book: cards, counting shapes, the pairs pictures and
// the ten stamps.
#include <cmath>
#include <string>

#include "Art.h"

namespace Content {

namespace {

void Outlined(cairo_t* cr, Rgb fill, double width = 3)
{
    SetVertical(cr, 0, 140, Lighter(fill, 0.25), fill);
    cairo_fill_preserve(cr);
    SetColor(cr, Darker(fill, 0.35));
    cairo_set_line_width(cr, width);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
}

// The four card figures, centred on (cx, cy) with radius r.
void CardFigure(cairo_t* cr, int figure, double cx, double cy, double r)
{
    cairo_new_path(cr);
    switch (figure) {
    case 0: Ellipse(cr, cx, cy, r, r); break;
    case 1: RoundedRect(cr, cx - r * 0.88, cy - r * 0.88, r * 1.76, r * 1.76, 6); break;
    case 2: RegularPolygon(cr, cx, cy + r * 0.15, r * 1.1, 3, 0); break;
    default: Star(cr, cx, cy + r * 0.05, r * 1.1, r * 0.48, 5, 0); break;
    }
}

} // namespace

void PaintCardBack(Canvas& c, const ImageDef&)
{
    cairo_t* cr = c.Cr();
    RoundedRect(cr, 4, 3, c.Width() - 8, c.Height() - 9, 14);
    SetVertical(cr, 0, c.Height(), {1, 1, 1}, Hex(0xF2F5FA));
    FillWithShadow(cr, 4, 0.32);
    SetColor(cr, Pal::Line);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    RoundedRect(cr, 11, 10, c.Width() - 22, c.Height() - 23, 9);
    SetColor(cr, Pal::Blue, 0.35);
    cairo_set_line_width(cr, 2);
    const double dash[2] = {2, 5};
    cairo_set_dash(cr, dash, 2, 0);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
}

// Card kinds pair up as the memory queries count them: kinds k and k + 4 share a colour (red,
// green, blue, yellow), and {0, 6} squares, {1, 7} stars, {3, 5} triangles, {2, 4} circles share
// a figure.
void PaintCardShapes(Canvas& c, const ImageDef& def)
{
    cairo_t* cr = c.Cr();
    const Rgb colours[4] = {Pal::Red, Pal::Green, Pal::Blue, Pal::Sun};
    enum { Circle, Square, Triangle, StarFigure };
    const int figures[8] = {Square, StarFigure, Circle, Triangle, Circle, Triangle, Square, StarFigure};
    for (int kind = 0; kind < 8; ++kind) {
        cairo_save(cr);
        cairo_translate(cr, kind * def.celWidth, 0);
        CardFigure(cr, figures[kind], def.celWidth / 2.0, def.celHeight / 2.0 - 3, 40);
        Outlined(cr, colours[kind % 4], 3.5);
        cairo_restore(cr);
    }
}

// Shapes whose value is their number of corners: circle 1, triangle 3, square 4, hexagon 6 and
// the five-pointed star with its 10 corners.
void PaintMathShapes(Canvas& c, const ImageDef& def)
{
    cairo_t* cr = c.Cr();
    const Rgb colours[5] = {Pal::Coral, Pal::Blue, Pal::Green, Pal::Violet, Pal::Sun};
    for (int kind = 0; kind < 5; ++kind) {
        cairo_save(cr);
        cairo_translate(cr, kind * def.celWidth, 0);
        const double cx = def.celWidth / 2.0, cy = def.celHeight / 2.0;
        cairo_new_path(cr);
        switch (kind) {
        case 0: Ellipse(cr, cx, cy, 54, 54); break;
        case 1: RegularPolygon(cr, cx, cy + 10, 66, 3, 0); break;
        case 2: RoundedRect(cr, cx - 52, cy - 52, 104, 104, 6); break;
        case 3: RegularPolygon(cr, cx, cy, 60, 6, M_PI / 6); break;
        default: Star(cr, cx, cy + 4, 66, 28, 5, 0); break;
        }
        Outlined(cr, colours[kind], 4);
        cairo_restore(cr);
    }
}

// 24 pictures for the pairs test: twelve figures, each in a warm and a cool colour.
void PaintPictures(Canvas& c, const ImageDef& def)
{
    cairo_t* cr = c.Cr();
    const Rgb warm[12] = {Pal::Red, Pal::Orange, Pal::Sun, Pal::Coral, Pal::Pink, Pal::Red,
                          Pal::Orange, Pal::Sun, Pal::Coral, Pal::Pink, Pal::Red, Pal::Orange};
    const Rgb cool[12] = {Pal::Blue, Pal::Green, Pal::Violet, Pal::Aqua, Pal::Blue, Pal::Green,
                          Pal::Violet, Pal::Aqua, Pal::Blue, Pal::Green, Pal::Violet, Pal::Aqua};
    for (int cel = 0; cel < def.Cels(); ++cel) {
        const int figure = cel % 12;
        const Rgb colour = cel < 12 ? warm[figure] : cool[figure];
        cairo_save(cr);
        cairo_translate(cr, (cel % def.cols) * def.celWidth, (cel / def.cols) * def.celHeight);
        const double cx = 47.5, cy = 46;
        cairo_new_path(cr);
        switch (figure) {
        case 0: Ellipse(cr, cx, cy, 28, 28); break;
        case 1: RoundedRect(cr, cx - 26, cy - 26, 52, 52, 5); break;
        case 2: RegularPolygon(cr, cx, cy + 5, 34, 3, 0); break;
        case 3: RegularPolygon(cr, cx, cy, 32, 4, 0); break;
        case 4: Star(cr, cx, cy + 2, 34, 14, 5, 0); break;
        case 5: Heart(cr, cx, cy + 2, 28); break;
        case 6: RegularPolygon(cr, cx, cy, 30, 6, 0); break;
        case 7: // plus
            cairo_rectangle(cr, cx - 10, cy - 30, 20, 60);
            cairo_rectangle(cr, cx - 30, cy - 10, 60, 20);
            cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
            break;
        case 8: // crescent
            cairo_arc(cr, cx, cy, 30, 0.35 * M_PI, 1.65 * M_PI);
            cairo_arc_negative(cr, cx + 14, cy - 4, 24, 1.5 * M_PI, 0.5 * M_PI);
            cairo_close_path(cr);
            break;
        case 9: // ring
            Ellipse(cr, cx, cy, 30, 30);
            Ellipse(cr, cx, cy, 14, 14);
            cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
            break;
        case 10: // arrow
            cairo_move_to(cr, cx - 30, cy - 9);
            cairo_line_to(cr, cx + 2, cy - 9);
            cairo_line_to(cr, cx + 2, cy - 24);
            cairo_line_to(cr, cx + 32, cy);
            cairo_line_to(cr, cx + 2, cy + 24);
            cairo_line_to(cr, cx + 2, cy + 9);
            cairo_line_to(cr, cx - 30, cy + 9);
            cairo_close_path(cr);
            break;
        default: // drop
            cairo_move_to(cr, cx, cy - 32);
            cairo_curve_to(cr, cx + 10, cy - 14, cx + 26, cy, cx + 24, cy + 12);
            cairo_arc(cr, cx, cy + 12, 24, 0, M_PI);
            cairo_curve_to(cr, cx - 26, cy, cx - 10, cy - 14, cx, cy - 32);
            cairo_close_path(cr);
            break;
        }
        Outlined(cr, colour, 3);
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
        cairo_restore(cr);
    }
}

// Stamps 1..10: a scalloped seal with a symbol; cels 10..19 are the same seals still to earn,
// drawn as a grey dashed outline with a faint symbol.
void PaintStamps(Canvas& c, const ImageDef& def)
{
    cairo_t* cr = c.Cr();
    const Rgb colours[10] = {Pal::Sun, Pal::Teal, Pal::Violet, Pal::Blue, Pal::Green,
                             Pal::Coral, Pal::Red, Pal::Plum, Pal::Indigo, Pal::Forest};
    // Symbols from the font: exam star, A, bulb, plus, magnifier, calendar "30", book, brain
    // (a heart stands in), pi and an eye.
    const char* symbols[10] = {"\u2605", "A", "\u263C", "+", "?", "30", "\u270E", "\u2665", "\u03C0", "\u25C9"};
    for (int cel = 0; cel < def.Cels(); ++cel) {
        const int stamp = cel % 10;
        const bool earned = cel < 10;
        cairo_save(cr);
        cairo_translate(cr, (cel % def.cols) * def.celWidth, (cel / def.cols) * def.celHeight);
        const double cx = 64, cy = 62;
        cairo_new_path(cr);
        Star(cr, cx, cy, 58, 52, 18, 0);
        if (earned) {
            SetVertical(cr, 4, 120, Lighter(colours[stamp], 0.25), Darker(colours[stamp], 0.1));
            FillWithShadow(cr, 3, 0.3);
            cairo_new_path(cr);
            Ellipse(cr, cx, cy, 42, 42);
            SetColor(cr, {1, 1, 1}, 0.9);
            cairo_set_line_width(cr, 3);
            cairo_stroke(cr);
            SetColor(cr, {1, 1, 1});
        } else {
            SetColor(cr, Hex(0xEEF0F3), 0.8);
            cairo_fill_preserve(cr);
            const double dash[2] = {5, 4};
            cairo_set_dash(cr, dash, 2, 0);
            SetColor(cr, Hex(0xA4AAB5));
            cairo_set_line_width(cr, 2.5);
            cairo_stroke(cr);
            cairo_set_dash(cr, nullptr, 0, 0);
            SetColor(cr, Hex(0xB9BEC7));
        }
        const std::string symbol = symbols[stamp];
        DrawCentredText(cr, kBoldFace, symbol.size() > 1 && symbol[0] != '\xE2' && symbol[0] != '\xCF' ? 36 : 44,
                        symbol, cx, cy + 15);
        cairo_fill(cr);
        // The stamp's number on a small ribbon.
        RoundedRect(cr, cx - 16, 104, 32, 20, 6);
        SetColor(cr, earned ? Darker(colours[stamp], 0.2) : Hex(0xC9CDD4));
        cairo_fill(cr);
        SetColor(cr, {1, 1, 1});
        DrawCentredText(cr, kBoldFace, 14, std::to_string(stamp + 1), cx, 119);
        cairo_fill(cr);
        cairo_restore(cr);
    }
}

} // namespace Content
