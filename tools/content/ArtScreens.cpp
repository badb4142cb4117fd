// Full-screen pictures, banners and panels: soft sky gradients, rolling hills and paper cards.
#include <cmath>
#include <cstring>
#include <string>

#include "Art.h"

namespace Content {

namespace {

// Rolling hills along the bottom of a screen, two layers for depth.
void Hills(cairo_t* cr, double w, double h, double top, Rgb back, Rgb front)
{
    SetColor(cr, back);
    cairo_move_to(cr, 0, h);
    cairo_line_to(cr, 0, top + 20);
    cairo_curve_to(cr, w * 0.2, top - 30, w * 0.4, top + 40, w * 0.62, top + 5);
    cairo_curve_to(cr, w * 0.8, top - 20, w * 0.92, top + 10, w, top - 5);
    cairo_line_to(cr, w, h);
    cairo_close_path(cr);
    cairo_fill(cr);
    SetColor(cr, front);
    cairo_move_to(cr, 0, h);
    cairo_line_to(cr, 0, top + 55);
    cairo_curve_to(cr, w * 0.25, top + 25, w * 0.45, top + 75, w * 0.7, top + 45);
    cairo_curve_to(cr, w * 0.85, top + 30, w * 0.95, top + 50, w, top + 40);
    cairo_line_to(cr, w, h);
    cairo_close_path(cr);
    cairo_fill(cr);
}

// Light floating circles: decoration that stays far below the contrast of black text.
void Bubbles(cairo_t* cr, double w, double h, uint32_t seed, int count)
{
    Random rnd(seed);
    for (int i = 0; i < count; ++i) {
        const double x = rnd.Range(0, w), y = rnd.Range(0, h), r = rnd.Range(12, 70);
        SetColor(cr, {1, 1, 1}, rnd.Range(0.12, 0.3));
        Ellipse(cr, x, y, r, r);
        cairo_fill(cr);
    }
}

// Soft clouds made of overlapping circles.
void Cloud(cairo_t* cr, double x, double y, double size, double alpha)
{
    const double parts[5][3] = {{0, 0, 0.5}, {0.45, -0.2, 0.6}, {0.95, 0, 0.5}, {0.3, 0.15, 0.45}, {0.7, 0.15, 0.45}};
    for (const auto& p : parts)
        Ellipse(cr, x + p[0] * size, y + p[1] * size, p[2] * size, p[2] * size * 0.8);
    SetColor(cr, {1, 1, 1}, alpha);
    cairo_fill(cr);
}

// Small flowers and grass tufts along the hills, pale so buttons over them keep their contrast.
void Meadow(cairo_t* cr, double w, double top, uint32_t seed)
{
    Random rnd(seed);
    const Rgb petals[4] = {Hex(0xFFFFFF), Hex(0xFFD6E5), Hex(0xFFF1B8), Hex(0xE3DBFF)};
    for (int i = 0; i < 34; ++i) {
        const double x = rnd.Range(0, w), y = top + rnd.Range(30, 75), r = rnd.Range(3, 5.5);
        if (i % 3 == 0) {
            cairo_move_to(cr, x - 5, y + 4);
            cairo_line_to(cr, x - 2, y - 6);
            cairo_line_to(cr, x, y + 3);
            cairo_line_to(cr, x + 3, y - 8);
            cairo_line_to(cr, x + 5, y + 4);
            cairo_close_path(cr);
            SetColor(cr, Darker(Pal::HillDark, 0.12), 0.6);
            cairo_fill(cr);
            continue;
        }
        for (int k = 0; k < 5; ++k) {
            const double a = k * 2 * M_PI / 5;
            Ellipse(cr, x + r * std::cos(a), y + r * std::sin(a), r * 0.75, r * 0.75);
        }
        SetColor(cr, petals[rnd.Next() % 4], 0.85);
        cairo_fill(cr);
        Ellipse(cr, x, y, r * 0.55, r * 0.55);
        SetColor(cr, Pal::Sun, 0.9);
        cairo_fill(cr);
    }
}

void Sky(cairo_t* cr, double w, double h, Rgb top, Rgb low)
{
    SetVertical(cr, 0, h, top, low);
    cairo_rectangle(cr, 0, 0, w, h);
    cairo_fill(cr);
}

void PaperCard(cairo_t* cr, double x, double y, double w, double h, double radius, Rgb fill, Rgb edge)
{
    RoundedRect(cr, x, y, w, h, radius);
    SetVertical(cr, y, y + h, Lighter(fill, 0.5), fill);
    FillWithShadow(cr, 6, 0.35);
    SetColor(cr, edge);
    cairo_set_line_width(cr, 2.5);
    cairo_stroke(cr);
    // A thin inner line gives the card a finished edge.
    RoundedRect(cr, x + 6, y + 6, w - 12, h - 12, std::max(2.0, radius - 5));
    SetColor(cr, edge, 0.25);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
}

} // namespace

void PaintStartScreen(Canvas& c, const ImageDef&)
{
    cairo_t* cr = c.Cr();
    Sky(cr, c.Width(), c.Height(), Pal::SkyTop, Pal::SkyLow);
    Bubbles(cr, c.Width(), c.Height() * 0.8, 11, 26);
    // A soft sun in the top-right corner, behind where the player's name is written.
    cairo_pattern_t* sun = cairo_pattern_create_radial(700, 90, 10, 700, 90, 180);
    cairo_pattern_add_color_stop_rgba(sun, 0, 1, 0.97, 0.8, 0.9);
    cairo_pattern_add_color_stop_rgba(sun, 1, 1, 0.97, 0.8, 0);
    cairo_set_source(cr, sun);
    cairo_paint(cr);
    cairo_pattern_destroy(sun);
    Cloud(cr, 250, 120, 90, 0.45);
    Cloud(cr, 520, 190, 70, 0.35);
    Hills(cr, c.Width(), c.Height(), 540, Lighter(Pal::Hill, 0.3), Lighter(Pal::HillDark, 0.35));
    Meadow(cr, c.Width(), 540, 31);
}

void PaintCreditsScreen(Canvas& c, const ImageDef&)
{
    cairo_t* cr = c.Cr();
    Sky(cr, c.Width(), c.Height(), Hex(0xE6E4FA), Pal::SkyLow);
    Bubbles(cr, c.Width(), c.Height(), 23, 30);
    Hills(cr, c.Width(), c.Height(), 540, Lighter(Pal::Hill, 0.3), Lighter(Pal::HillDark, 0.35));
    PaperCard(cr, 150, 110, 500, 460, 28, Pal::Cream, Pal::Line);
    SetColor(cr, Pal::Plum);
    DrawCentredText(cr, kBoldFace, 40, "Credits", 400, 80);
    cairo_fill(cr);
}

void PaintSplash(Canvas& c, const ImageDef&)
{
    cairo_t* cr = c.Cr();
    cairo_pattern_t* bg = cairo_pattern_create_radial(400, 280, 40, 400, 300, 520);
    cairo_pattern_add_color_stop_rgb(bg, 0, 0.16, 0.52, 0.55);
    cairo_pattern_add_color_stop_rgb(bg, 1, 0.05, 0.2, 0.26);
    cairo_set_source(cr, bg);
    cairo_paint(cr);
    cairo_pattern_destroy(bg);
    // The maker's emblem: a sprout with two leaves inside a ring.
    Ellipse(cr, 400, 240, 92, 92);
    SetColor(cr, {1, 1, 1}, 0.1);
    cairo_fill_preserve(cr);
    SetColor(cr, {1, 1, 1}, 0.85);
    cairo_set_line_width(cr, 5);
    cairo_stroke(cr);
    cairo_move_to(cr, 400, 312);
    cairo_curve_to(cr, 398, 280, 404, 250, 400, 214);
    SetColor(cr, Hex(0x9BE3A2));
    cairo_set_line_width(cr, 9);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
    auto leaf = [&](double side, double y, double length, Rgb colour) {
        const double tipX = 400 + side * length, tipY = y - length * 0.55;
        cairo_move_to(cr, 400, y);
        cairo_curve_to(cr, 400 + side * length * 0.2, y - length * 0.75, tipX - side * length * 0.3, tipY - 10, tipX, tipY);
        cairo_curve_to(cr, tipX - side * length * 0.1, tipY + length * 0.45, 400 + side * length * 0.5, y + 6, 400, y);
        cairo_close_path(cr);
        SetVertical(cr, tipY, y, Lighter(colour, 0.3), colour);
        cairo_fill(cr);
    };
    leaf(-1, 262, 74, Hex(0x5CC98A));
    leaf(1, 236, 66, Pal::Sun);
    Ellipse(cr, 400, 206, 11, 11);
    SetColor(cr, Pal::Coral);
    cairo_fill(cr);
    SetColor(cr, {1, 1, 1});
    DrawCentredText(cr, kBoldFace, 54, "VELMORA", 400, 420);
    cairo_fill(cr);
    SetColor(cr, Hex(0xCBEFF0));
    DrawCentredText(cr, kBookFace, 22, "presents", 400, 462);
    cairo_fill(cr);
}

// The game's name in bright letters with a white rim, used alone and on the title screen.
static void DrawLogo(cairo_t* cr, double cx, double baseline, double size)
{
    const char* word = "Quorvane";
    const Rgb colours[8] = {Pal::Blue, Pal::Coral, Pal::Green, Pal::Violet,
                            Pal::Orange, Pal::Aqua, Pal::Red, Pal::Plum};
    double x = cx - TextWidth(cr, kBoldFace, size, word) / 2;
    for (int i = 0; word[i]; ++i) {
        const std::string letter(1, word[i]);
        const double adv = TextWidth(cr, kBoldFace, size, letter);
        const double lift = std::sin(i * 0.9) * size * 0.05;
        cairo_new_path(cr);
        DrawCentredText(cr, kBoldFace, size, letter, x + adv / 2 + 3, baseline - lift + 5);
        SetColor(cr, Pal::Ink, 0.25);
        cairo_fill(cr);
        DrawCentredText(cr, kBoldFace, size, letter, x + adv / 2, baseline - lift);
        SetColor(cr, {1, 1, 1});
        cairo_set_line_width(cr, size * 0.12);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke_preserve(cr);
        SetColor(cr, colours[i % 8]);
        cairo_fill(cr);
        x += adv;
    }
}

void PaintTitleLogo(Canvas& c, const ImageDef&)
{
    // As large as fits with room for the rim and shadow.
    double size = 110;
    while (size > 20 && TextWidth(c.Cr(), kBoldFace, size, "Quorvane") > c.Width() - 36)
        size -= 2;
    DrawLogo(c.Cr(), c.Width() / 2.0, 118, size);
}

void PaintTitleScreen(Canvas& c, const ImageDef&)
{
    cairo_t* cr = c.Cr();
    Sky(cr, c.Width(), c.Height(), Hex(0xBFE7F2), Pal::SkyLow);
    // Sun rays behind the logo.
    cairo_save(cr);
    cairo_translate(cr, 400, 150);
    for (int i = 0; i < 16; ++i) {
        cairo_move_to(cr, 0, 0);
        cairo_arc(cr, 0, 0, 700, i * M_PI / 8, i * M_PI / 8 + M_PI / 16);
        cairo_close_path(cr);
    }
    SetColor(cr, {1, 1, 1}, 0.18);
    cairo_fill(cr);
    cairo_restore(cr);
    Bubbles(cr, c.Width(), 420, 5, 18);
    Hills(cr, c.Width(), c.Height(), 420, Pal::Hill, Pal::HillDark);
    Meadow(cr, c.Width(), 430, 47);
    Meadow(cr, c.Width(), 480, 53);
    DrawLogo(cr, 400, 170, 112);
    SetColor(cr, Pal::Ink);
    DrawCentredText(cr, kBoldFace, 24, "Brain training with a friendly owl", 400, 222);
    cairo_fill(cr);
    // The owl sits on the hill at the left, twice its in-game size.
    cairo_save(cr);
    cairo_translate(cr, 18, 250);
    cairo_scale(cr, 1.6, 1.6);
    DrawOwlFigure(cr, 0, 1, 0);
    cairo_restore(cr);
    // A mid-toned strip under "CLICK TO CONTINUE": dark enough for the link's bright green
    // hover colour, light enough for its black.
    RoundedRect(cr, 230, 505, 340, 56, 28);
    SetVertical(cr, 505, 561, Hex(0x6FB3A9), Hex(0x4F938A));
    FillWithShadow(cr, 3, 0.3);
    SetColor(cr, {1, 1, 1}, 0.6);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
}

void PaintBanner(Canvas& c, const ImageDef& def)
{
    cairo_t* cr = c.Cr();
    const int which = def.id[std::strlen(def.id) - 1] - '1';
    const Rgb colours[5] = {Pal::Teal, Pal::Indigo, Pal::Rust, Pal::Forest, Pal::Plum};
    const Rgb base = colours[which];
    // The ribbon ends in a curve before the right edge, where the test clock (from x 720) and
    // the chart's month (from x 640) are written in black on the light background; the exam
    // banner carries the longest titles and has nothing on its right.
    const double ends[5] = {700, 680, 700, 770, 610};
    const double end = ends[which];
    auto ribbon = [&](double inset) {
        cairo_new_path(cr);
        cairo_move_to(cr, 0, 0);
        cairo_line_to(cr, end - inset, 0);
        cairo_curve_to(cr, end + 40 - inset, 0, end + 20 - inset, 66 - inset, end - 20 - inset, 66 - inset);
        cairo_line_to(cr, 0, 66 - inset);
        cairo_close_path(cr);
    };
    ribbon(0);
    SetVertical(cr, 0, 66, Lighter(base, 0.12), Darker(base, 0.12));
    FillWithShadow(cr, 5, 0.3);
    cairo_new_path(cr);
    // Highlight along the top and a stitched line along the bottom.
    ribbon(0);
    cairo_clip(cr);
    cairo_rectangle(cr, 0, 0, 800, 22);
    SetColor(cr, {1, 1, 1}, 0.1);
    cairo_fill(cr);
    cairo_reset_clip(cr);
    cairo_set_line_width(cr, 2);
    const double dashes[2] = {8, 6};
    cairo_set_dash(cr, dashes, 2, 0);
    cairo_move_to(cr, 0, 58);
    cairo_line_to(cr, end - 22, 58);
    SetColor(cr, {1, 1, 1}, 0.45);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
    // A few dots on the ribbon's tail in the banner's own lighter tone.
    for (int i = 0; i < 3; ++i) {
        Ellipse(cr, end - 60 + i * 18, 30, 5, 5);
        SetColor(cr, Lighter(base, 0.5), 0.8);
        cairo_fill(cr);
    }
}

// How far the pale header stripe reaches, so each panel's black heading sits on it.
static double HeaderHeight(const ImageDef& def)
{
    const std::string id = def.id;
    if (id == "IMAGE_BKG_OPTIONS")
        return 84; // headings at baselines 124 and 132, panel top at 60
    if (id == "IMAGE_BKG_PROFILE_SELECT_SCREEN")
        return 104; // "choose a player" at 150, panel top at 60
    if (id == "IMAGE_BKG_PROFILE_NEW_SCREEN")
        return 96; // question at 110, panel top at 32, name field from 154
    return 100;    // the dialog's heading at 216, box top at 132
}

void PaintPanel(Canvas& c, const ImageDef& def)
{
    cairo_t* cr = c.Cr();
    const bool dialog = std::strcmp(def.id, "IMAGE_DIALOG_BOX") == 0;
    const Rgb fill = dialog ? Hex(0xFFF1C9) : Pal::Cream;
    PaperCard(cr, 4, 4, c.Width() - 8, c.Height() - 14, 30, fill, Pal::Line);
    // A coloured header stripe behind the panel's black heading, kept pale for contrast.
    cairo_save(cr);
    RoundedRect(cr, 4, 4, c.Width() - 8, c.Height() - 14, 30);
    cairo_clip(cr);
    cairo_rectangle(cr, 0, 0, c.Width(), HeaderHeight(def));
    SetColor(cr, dialog ? Pal::Orange : Pal::Aqua, 0.22);
    cairo_fill(cr);
    cairo_restore(cr);
}

void PaintDim(Canvas& c, const ImageDef&)
{
    // The screen tints this tile to its dimming colour, so it is plain white.
    cairo_set_source_rgb(c.Cr(), 1, 1, 1);
    cairo_paint(c.Cr());
}

void PaintProfileRow(Canvas& c, const ImageDef&)
{
    cairo_t* cr = c.Cr();
    RoundedRect(cr, 1, 1, c.Width() - 2, c.Height() - 2, 10);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_fill(cr);
}

void PaintWordBoard(Canvas& c, const ImageDef&)
{
    cairo_t* cr = c.Cr();
    // A pin board with a wooden frame and a pale paper face: black, red, pink and green words
    // all stay readable on it.
    RoundedRect(cr, 3, 3, c.Width() - 6, c.Height() - 10, 18);
    SetVertical(cr, 0, c.Height(), Hex(0xD9A86C), Hex(0xB9834A));
    FillWithShadow(cr, 5, 0.35);
    cairo_new_path(cr);
    RoundedRect(cr, 16, 16, c.Width() - 32, c.Height() - 36, 10);
    SetColor(cr, Hex(0xFFFBF0));
    cairo_fill(cr);
    for (int row = 0; row < 3; ++row) {
        const double y = 80 + row * 80 - 4;
        cairo_move_to(cr, 28, y);
        cairo_line_to(cr, c.Width() - 28, y);
    }
    SetColor(cr, Pal::Blue, 0.18);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    const double pins[4][2] = {{30, 28}, {738, 28}, {30, 226}, {738, 226}};
    for (const auto& p : pins) {
        Ellipse(cr, p[0], p[1], 6, 6);
        SetColor(cr, Pal::Red);
        cairo_fill(cr);
    }
}

} // namespace Content
