// The owl narrator in layers that share one origin (body, halo, eyes, beak), and its balloon.
#include <cmath>
#include <cstring>
#include <string>

#include "Art.h"

namespace Content {

namespace {

constexpr Rgb kFeather = Hex(0x8A5A44);
constexpr Rgb kFeatherDark = Hex(0x6B4232);
constexpr Rgb kBelly = Hex(0xF2D8B5);
constexpr Rgb kDisc = Hex(0xFCEEDB);
constexpr Rgb kIris = Hex(0xF6B93B);
constexpr Rgb kBeak = Hex(0xF39C34);
constexpr Rgb kGold = Hex(0xFFD447);

// Eye centres and the socket radius every eye layer repaints, so layers never show through.
constexpr double kEyeY = 92;
constexpr double kEyeX[2] = {53, 97};
constexpr double kSocket = 21;

void Body(cairo_t* cr)
{
    // Ear tufts behind the head.
    for (int side = 0; side < 2; ++side) {
        const double m = side ? -1 : 1;
        cairo_move_to(cr, 75 - m * 46, 66);
        cairo_line_to(cr, 75 - m * 50, 30);
        cairo_line_to(cr, 75 - m * 18, 52);
        cairo_close_path(cr);
    }
    SetColor(cr, kFeatherDark);
    cairo_fill(cr);
    // Feet.
    for (int side = 0; side < 2; ++side) {
        const double fx = side ? 93 : 57;
        for (int toe = -1; toe <= 1; ++toe) {
            Ellipse(cr, fx + toe * 6, 178, 4, 7);
        }
    }
    SetColor(cr, kBeak);
    cairo_fill(cr);
    Ellipse(cr, 75, 112, 60, 66);
    SetVertical(cr, 46, 178, Lighter(kFeather, 0.12), Darker(kFeather, 0.1));
    cairo_fill(cr);
    // Belly with a few scalloped feathers.
    Ellipse(cr, 75, 140, 38, 36);
    SetColor(cr, kBelly);
    cairo_fill(cr);
    for (int row = 0; row < 3; ++row)
        for (int i = -1; i <= 1; ++i) {
            const double x = 75 + i * 16 + (row % 2) * 8 - 4, y = 130 + row * 12;
            cairo_new_sub_path(cr);
            cairo_arc(cr, x, y, 6, 0.15 * M_PI, 0.85 * M_PI);
        }
    SetColor(cr, Darker(kBelly, 0.25));
    cairo_set_line_width(cr, 1.8);
    cairo_stroke(cr);
    // Wings.
    for (int side = 0; side < 2; ++side) {
        cairo_save(cr);
        cairo_translate(cr, side ? 128 : 22, 128);
        cairo_rotate(cr, side ? -0.25 : 0.25);
        Ellipse(cr, 0, 0, 14, 36);
        cairo_restore(cr);
    }
    SetColor(cr, kFeatherDark);
    cairo_fill(cr);
    // Face discs.
    for (double x : kEyeX)
        Ellipse(cr, x, kEyeY, 27, 27);
    SetColor(cr, kDisc);
    cairo_fill_preserve(cr);
    SetColor(cr, Darker(kDisc, 0.2));
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
}

void Socket(cairo_t* cr, double x)
{
    Ellipse(cr, x, kEyeY, kSocket, kSocket);
    SetColor(cr, kDisc);
    cairo_fill(cr);
}

void OpenEye(cairo_t* cr, double x)
{
    Ellipse(cr, x, kEyeY, 17, 17);
    SetColor(cr, kIris);
    cairo_fill_preserve(cr);
    SetColor(cr, Darker(kIris, 0.35));
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    Ellipse(cr, x + 1, kEyeY + 1, 10, 10);
    SetColor(cr, Hex(0x1E1A22));
    cairo_fill(cr);
    Ellipse(cr, x - 3, kEyeY - 4, 3.5, 3.5);
    SetColor(cr, {1, 1, 1});
    cairo_fill(cr);
}

// The upper lid down to `cover` (0 open .. 1 shut) of the eye.
void Lid(cairo_t* cr, double x, double cover)
{
    cairo_save(cr);
    Ellipse(cr, x, kEyeY, 18, 18);
    cairo_clip(cr);
    const double edge = kEyeY - 18 + 36 * cover;
    cairo_rectangle(cr, x - 20, kEyeY - 20, 40, edge - (kEyeY - 20));
    SetColor(cr, Lighter(kFeather, 0.25));
    cairo_fill(cr);
    cairo_restore(cr);
    cairo_move_to(cr, x - 17, edge);
    cairo_curve_to(cr, x - 8, edge + 3, x + 8, edge + 3, x + 17, edge);
    SetColor(cr, kFeatherDark);
    cairo_set_line_width(cr, 2.5);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
}

// frame 0 open, 1 half closed, 2 shut; 3 is the relaxed look painted on the body itself.
void Eyes(cairo_t* cr, int frame)
{
    for (double x : kEyeX) {
        Socket(cr, x);
        if (frame == 2) {
            Ellipse(cr, x, kEyeY, 18, 18);
            SetColor(cr, Lighter(kFeather, 0.25));
            cairo_fill(cr);
            cairo_move_to(cr, x - 13, kEyeY + 2);
            cairo_curve_to(cr, x - 5, kEyeY + 9, x + 5, kEyeY + 9, x + 13, kEyeY + 2);
            SetColor(cr, kFeatherDark);
            cairo_set_line_width(cr, 3);
            cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
            cairo_stroke(cr);
            continue;
        }
        OpenEye(cr, x);
        if (frame == 1)
            Lid(cr, x, 0.5);
        else if (frame == 3)
            Lid(cr, x, 0.3);
    }
}

// frame 0 closed; 1..4 open by different amounts while the owl talks.
void Beak(cairo_t* cr, int frame)
{
    const double open[5] = {0, 4, 9, 6, 12};
    const double widen[5] = {0, 0, 1, 3, 2};
    const double d = open[frame], w = widen[frame];
    if (frame > 0) {
        cairo_move_to(cr, 67 - w, 112);
        cairo_line_to(cr, 83 + w, 112);
        cairo_line_to(cr, 75, 118 + d);
        cairo_close_path(cr);
        SetColor(cr, Hex(0x7A2E2E));
        cairo_fill(cr);
        // Lower beak.
        cairo_move_to(cr, 69 - w, 114 + d * 0.6);
        cairo_line_to(cr, 81 + w, 114 + d * 0.6);
        cairo_line_to(cr, 75, 124 + d);
        cairo_close_path(cr);
        SetColor(cr, Darker(kBeak, 0.1));
        cairo_fill_preserve(cr);
        SetColor(cr, Darker(kBeak, 0.4));
        cairo_set_line_width(cr, 1.2);
        cairo_stroke(cr);
    }
    cairo_move_to(cr, 65 - w, 103);
    cairo_line_to(cr, 85 + w, 103);
    cairo_line_to(cr, 75, frame ? 117 : 124);
    cairo_close_path(cr);
    SetVertical(cr, 103, 124, Lighter(kBeak, 0.2), kBeak);
    cairo_fill_preserve(cr);
    SetColor(cr, Darker(kBeak, 0.4));
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
}

// Three frames of a floating ring that shimmers: the glow and the sparkles move between them.
void Halo(cairo_t* cr, int frame)
{
    const double glow[3] = {0.35, 0.5, 0.25};
    Ellipse(cr, 75, 18, 36, 9);
    SetColor(cr, kGold, glow[frame]);
    cairo_set_line_width(cr, 12);
    cairo_stroke(cr);
    Ellipse(cr, 75, 18, 36, 9);
    SetColor(cr, kGold);
    cairo_set_line_width(cr, 5);
    cairo_stroke(cr);
    Ellipse(cr, 75, 16.5, 34, 7.5);
    SetColor(cr, {1, 1, 1}, 0.7);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    const double sparkle[3] = {0.4, 2.1, 3.9};
    for (int i = 0; i < 2; ++i) {
        const double a = sparkle[frame] + i * M_PI;
        Star(cr, 75 + 36 * std::cos(a), 18 + 9 * std::sin(a), 7, 2, 4, 0);
        SetColor(cr, {1, 1, 1});
        cairo_fill(cr);
    }
}

} // namespace

// Everything sits this far below the layer's top, so the halo stays on screen when the owl
// bobs up at the top of the main menu.
constexpr double kDrop = 12;

void DrawOwlFigure(cairo_t* cr, int eyes, int beak, int halo)
{
    cairo_save(cr);
    cairo_translate(cr, 0, kDrop);
    Body(cr);
    Eyes(cr, 3);
    Halo(cr, halo);
    Eyes(cr, eyes);
    Beak(cr, beak);
    cairo_restore(cr);
}

void PaintOwl(Canvas& c, const ImageDef& def)
{
    cairo_t* cr = c.Cr();
    const std::string id = def.id;
    const int n = id.back() - '1';
    cairo_translate(cr, 0, kDrop);
    if (id == "IMAGE_HOOTLEFACE") {
        Body(cr);
        Eyes(cr, 3);
        Beak(cr, 0);
    } else if (id.find("HALO") != std::string::npos) {
        Halo(cr, n);
    } else if (id.find("EYES") != std::string::npos) {
        Eyes(cr, n);
    } else {
        Beak(cr, n);
    }
}

void PaintBalloon(Canvas& c, const ImageDef&)
{
    cairo_t* cr = c.Cr();
    // The body starts right of the owl; the text box is 160..560 across and 24..164 down.
    const double x = 146, y = 4, w = c.Width() - x - 3, h = c.Height() - 10;
    cairo_new_path(cr);
    RoundedRect(cr, x, y, w, h, 26);
    cairo_move_to(cr, x + 2, 74);
    cairo_line_to(cr, 116, 108);
    cairo_line_to(cr, x + 2, 104);
    cairo_close_path(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    SetVertical(cr, y, y + h, {1, 1, 1}, Hex(0xF4F8FD));
    FillWithShadow(cr, 5, 0.28);
    SetColor(cr, Pal::Line);
    cairo_set_line_width(cr, 2.5);
    cairo_stroke(cr);
    // Hide the outline where the tail meets the body.
    cairo_move_to(cr, x, 76);
    cairo_line_to(cr, x, 102);
    SetColor(cr, Hex(0xFAFCFE));
    cairo_set_line_width(cr, 4);
    cairo_stroke(cr);
}

} // namespace Content
