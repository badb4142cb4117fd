// People built from layers over one corner: face shape (with neck and shirt), hair, eyes, nose
// and mouth. Cel numbers follow the game's part sets: hair 6, 14, 15, 17, 18 and 19 are long
// styles, eyes 17 has lashes, mouths 12, 14 and 17 are coloured lips; the others suit anyone.
#include <cmath>
#include <string>

#include "Art.h"

namespace Content {

namespace {

constexpr double kW = 170, kH = 210;
constexpr double kCx = 85;
constexpr double kEyeY = 96, kEyeDx = 24;
constexpr double kNoseY = 118, kMouthY = 142;

Rgb SkinFor(const std::string& id)
{
    if (id.find("BLACK") != std::string::npos)
        return Hex(0x8D5A3B);
    if (id.find("TAN") != std::string::npos)
        return Hex(0xD7A06E);
    return Hex(0xF7D5BC);
}

Rgb HairFor(const std::string& id)
{
    if (id.find("BLOND") != std::string::npos)
        return Hex(0xE9C46A);
    if (id.find("RED") != std::string::npos)
        return Hex(0xC4512B);
    return Hex(0x5B3A24);
}

// Head outlines: width, height, jaw squareness and chin pointiness vary per face cel.
struct HeadShape {
    double rx, ry, jaw, chin;
};
constexpr HeadShape kHeads[10] = {
    {50, 64, 0.2, 0.2}, {56, 60, 0.1, 0.0}, {52, 66, 0.7, 0.0}, {46, 70, 0.2, 0.5}, {54, 62, 0.3, 0.6},
    {58, 62, 0.6, 0.1}, {48, 66, 0.0, 0.3}, {53, 68, 0.45, 0.35}, {50, 60, 0.8, 0.2}, {55, 67, 0.15, 0.7},
};
constexpr uint32_t kShirts[10] = {0x3C8DDE, 0xE76F51, 0x43AA6B, 0x8C6BD6, 0xF3A04A,
                                  0x2A9D8F, 0xD94C7A, 0x4B5A7A, 0xC9A227, 0x6D9BD1};

void HeadPath(cairo_t* cr, const HeadShape& h)
{
    const double top = kEyeY - h.ry * 0.95, mid = kEyeY + 4, bottom = kEyeY - h.ry * 0.95 + 2 * h.ry;
    const double jawW = h.rx * (0.55 + 0.35 * h.jaw), chinW = h.rx * 0.35 * (1 - h.chin);
    cairo_new_sub_path(cr);
    cairo_move_to(cr, kCx, top);
    cairo_curve_to(cr, kCx + h.rx * 1.1, top, kCx + h.rx, mid - 20, kCx + h.rx, mid);
    cairo_curve_to(cr, kCx + h.rx, mid + 30, kCx + jawW + 6, bottom - 18, kCx + chinW, bottom - 2);
    cairo_curve_to(cr, kCx + chinW * 0.4, bottom + 1, kCx - chinW * 0.4, bottom + 1, kCx - chinW, bottom - 2);
    cairo_curve_to(cr, kCx - jawW - 6, bottom - 18, kCx - h.rx, mid + 30, kCx - h.rx, mid);
    cairo_curve_to(cr, kCx - h.rx, mid - 20, kCx - h.rx * 1.1, top, kCx, top);
    cairo_close_path(cr);
}

void Face(cairo_t* cr, int cel, Rgb skin)
{
    const HeadShape& h = kHeads[cel];
    const Rgb shirt = Hex(kShirts[cel]);
    // Shoulders and shirt.
    cairo_move_to(cr, 12, kH);
    cairo_curve_to(cr, 14, 182, 40, 172, kCx, 172);
    cairo_curve_to(cr, 130, 172, 156, 182, 158, kH);
    cairo_close_path(cr);
    SetVertical(cr, 172, kH, Lighter(shirt, 0.1), Darker(shirt, 0.15));
    cairo_fill(cr);
    // Neck with a collar shadow.
    cairo_rectangle(cr, kCx - 17, 140, 34, 40);
    SetColor(cr, Darker(skin, 0.12));
    cairo_fill(cr);
    cairo_move_to(cr, kCx - 22, 174);
    cairo_line_to(cr, kCx, 190);
    cairo_line_to(cr, kCx + 22, 174);
    SetColor(cr, (cel % 3 == 0) ? Hex(0xFFFFFF) : Darker(shirt, 0.3));
    cairo_set_line_width(cr, 5);
    cairo_stroke(cr);
    // Ears.
    for (int side = -1; side <= 1; side += 2) {
        Ellipse(cr, kCx + side * (h.rx + 1), kNoseY - 8, 9, 14);
        SetColor(cr, Darker(skin, 0.05));
        cairo_fill(cr);
    }
    HeadPath(cr, h);
    SetVertical(cr, kEyeY - h.ry, kEyeY + h.ry, Lighter(skin, 0.08), Darker(skin, 0.04));
    cairo_fill_preserve(cr);
    SetColor(cr, Darker(skin, 0.3));
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    // Cheeks.
    for (int side = -1; side <= 1; side += 2) {
        Ellipse(cr, kCx + side * 30, kNoseY + 10, 9, 6);
        SetColor(cr, Hex(0xE8737A), 0.18);
        cairo_fill(cr);
    }
}

// Hair: every style keeps clear of the eye line (y 80 and below is face), except side locks.
void Hair(cairo_t* cr, int cel, Rgb hair)
{
    const Rgb dark = Darker(hair, 0.3);
    auto finish = [&]() {
        SetVertical(cr, 20, 200, Lighter(hair, 0.12), Darker(hair, 0.1));
        cairo_fill_preserve(cr);
        SetColor(cr, dark);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
    };
    // A cap of hair over the crown from y `top` down to `brow` at the temples.
    auto cap = [&](double top, double brow, double width, double fringe) {
        cairo_new_path(cr);
        cairo_move_to(cr, kCx - width, brow);
        cairo_curve_to(cr, kCx - width - 4, top + 10, kCx - width * 0.6, top, kCx, top);
        cairo_curve_to(cr, kCx + width * 0.6, top, kCx + width + 4, top + 10, kCx + width, brow);
        cairo_curve_to(cr, kCx + width * 0.6, brow - 12 + fringe, kCx - width * 0.2, brow - 16 + fringe,
                       kCx - width, brow);
        cairo_close_path(cr);
    };
    auto sideLocks = [&](double length, double width) {
        for (int side = -1; side <= 1; side += 2) {
            cairo_new_path(cr);
            cairo_move_to(cr, kCx + side * 40, 44);
            cairo_curve_to(cr, kCx + side * (62 + width), 60, kCx + side * (64 + width), length - 40,
                           kCx + side * (58 + width), length);
            cairo_line_to(cr, kCx + side * 44, length - 8);
            cairo_curve_to(cr, kCx + side * 52, length - 50, kCx + side * 50, 90, kCx + side * 48, 70);
            cairo_close_path(cr);
            finish();
        }
    };
    switch (cel) {
    case 0: cap(22, 66, 52, 0); finish(); break;                 // short crop
    case 1:                                                       // side parting
        cap(20, 68, 54, 4); finish();
        cairo_move_to(cr, kCx - 18, 26); cairo_curve_to(cr, kCx - 14, 40, kCx - 20, 52, kCx - 28, 60);
        SetColor(cr, dark); cairo_set_line_width(cr, 2); cairo_stroke(cr);
        break;
    case 2:                                                       // pixie cut with a swept fringe
        cap(22, 74, 55, 14); finish();
        cairo_move_to(cr, kCx - 50, 66); cairo_curve_to(cr, kCx - 20, 54, kCx + 10, 70, kCx + 30, 58);
        cairo_line_to(cr, kCx + 50, 60); cairo_line_to(cr, kCx + 40, 44); cairo_close_path(cr); finish();
        break;
    case 3:                                                       // spikes
        cairo_new_path(cr);
        cairo_move_to(cr, kCx - 54, 70);
        for (int i = 0; i <= 8; ++i) {
            const double x = kCx - 54 + i * 13.5;
            cairo_line_to(cr, x, (i % 2) ? 8 + (i % 4) * 3 : 34);
        }
        cairo_line_to(cr, kCx + 54, 70);
        cairo_curve_to(cr, kCx + 30, 50, kCx - 30, 50, kCx - 54, 70);
        cairo_close_path(cr); finish();
        break;
    case 4:                                                       // buzz cut
        cap(27, 62, 50, -4);
        SetColor(cr, hair, 0.75); cairo_fill(cr);
        break;
    case 5:                                                       // curly top
        for (int i = 0; i < 9; ++i) {
            const double a = M_PI * (0.05 + 0.9 * i / 8.0);
            Ellipse(cr, kCx - 44 * std::cos(a), 48 - 26 * std::sin(a), 15, 15);
        }
        Ellipse(cr, kCx, 34, 36, 18);
        finish();
        break;
    case 6:                                                       // long straight
        sideLocks(196, 8); cap(18, 72, 56, 10); finish();
        break;
    case 7:                                                       // receding hairline
        for (int side = -1; side <= 1; side += 2) {
            cairo_new_path(cr);
            cairo_move_to(cr, kCx + side * 30, 30);
            cairo_curve_to(cr, kCx + side * 56, 34, kCx + side * 58, 60, kCx + side * 55, 82);
            cairo_line_to(cr, kCx + side * 48, 70);
            cairo_curve_to(cr, kCx + side * 44, 52, kCx + side * 36, 40, kCx + side * 30, 30);
            cairo_close_path(cr); finish();
        }
        break;
    case 8:                                                       // flat top
        cairo_new_path(cr);
        RoundedRect(cr, kCx - 50, 12, 100, 52, 10); finish();
        break;
    case 9:                                                       // messy tufts
        cap(22, 68, 54, 8); finish();
        for (int i = 0; i < 5; ++i) {
            cairo_move_to(cr, kCx - 40 + i * 20, 30);
            cairo_line_to(cr, kCx - 30 + i * 20, 10 + (i % 2) * 8);
            cairo_line_to(cr, kCx - 22 + i * 20, 30);
            cairo_close_path(cr);
        }
        finish();
        break;
    case 10:                                                      // swept back with a beard
    case 12:                                                      // short with a full beard
        cap(cel == 10 ? 16 : 24, 64, 53, cel == 10 ? -6 : 2); finish();
        cairo_new_path(cr);
        cairo_move_to(cr, kCx - 50, 104);
        cairo_curve_to(cr, kCx - 48, 170, kCx - 16, 178, kCx, 178);
        cairo_curve_to(cr, kCx + 16, 178, kCx + 48, 170, kCx + 50, 104);
        cairo_line_to(cr, kCx + 40, 110);
        cairo_curve_to(cr, kCx + 36, cel == 10 ? 150 : 140, kCx - 36, cel == 10 ? 150 : 140, kCx - 40, 110);
        cairo_close_path(cr);
        finish();
        break;
    case 11:                                                      // short with a moustache
        cap(24, 66, 52, 6); finish();
        cairo_new_path(cr);
        cairo_move_to(cr, kCx, kMouthY - 9);
        cairo_curve_to(cr, kCx - 10, kMouthY - 14, kCx - 24, kMouthY - 10, kCx - 26, kMouthY - 2);
        cairo_curve_to(cr, kCx - 16, kMouthY - 6, kCx - 6, kMouthY - 4, kCx, kMouthY - 5);
        cairo_curve_to(cr, kCx + 6, kMouthY - 4, kCx + 16, kMouthY - 6, kCx + 26, kMouthY - 2);
        cairo_curve_to(cr, kCx + 24, kMouthY - 10, kCx + 10, kMouthY - 14, kCx, kMouthY - 9);
        cairo_close_path(cr); finish();
        break;
    case 13:                                                      // chin-length bob
        cairo_new_path(cr);
        cairo_move_to(cr, kCx - 60, 150);
        cairo_curve_to(cr, kCx - 70, 60, kCx - 50, 14, kCx, 14);
        cairo_curve_to(cr, kCx + 50, 14, kCx + 70, 60, kCx + 60, 150);
        cairo_line_to(cr, kCx + 46, 150);
        cairo_curve_to(cr, kCx + 50, 110, kCx + 48, 80, kCx + 40, 66);
        cairo_curve_to(cr, kCx + 10, 62, kCx - 20, 70, kCx - 40, 64);
        cairo_curve_to(cr, kCx - 48, 80, kCx - 50, 110, kCx - 46, 150);
        cairo_close_path(cr); finish();
        break;
    case 14:                                                      // ponytail
        cairo_new_path(cr);
        cairo_move_to(cr, kCx + 44, 40);
        cairo_curve_to(cr, kCx + 80, 40, kCx + 84, 110, kCx + 70, 160);
        cairo_curve_to(cr, kCx + 64, 120, kCx + 60, 80, kCx + 40, 60);
        cairo_close_path(cr); finish();
        cap(18, 70, 55, -2); finish();
        Ellipse(cr, kCx + 50, 44, 7, 7); SetColor(cr, Pal::Pink); cairo_fill(cr);
        break;
    case 15:                                                      // long curls
        for (int side = -1; side <= 1; side += 2)
            for (int i = 0; i < 6; ++i) {
                Ellipse(cr, kCx + side * (56 + (i % 2) * 6), 60 + i * 22, 14, 14);
            }
        finish();
        for (int i = 0; i < 7; ++i) {
            const double a = M_PI * (0.05 + 0.9 * i / 6.0);
            Ellipse(cr, kCx - 48 * std::cos(a), 56 - 34 * std::sin(a), 17, 17);
        }
        finish();
        break;
    case 16:                                                      // bald crown, fringe at the sides
        for (int side = -1; side <= 1; side += 2) {
            cairo_new_path(cr);
            Ellipse(cr, kCx + side * 50, 84, 9, 22);
            finish();
        }
        cairo_new_path(cr);
        Ellipse(cr, kCx - 18, 40, 12, 5);
        SetColor(cr, {1, 1, 1}, 0.35);
        cairo_fill(cr);
        break;
    case 17:                                                      // bun on top
        Ellipse(cr, kCx, 14, 24, 18); finish();
        cap(24, 70, 54, -6); finish();
        break;
    case 18:                                                      // long waves with a centre parting
        sideLocks(200, 14);
        cairo_new_path(cr);
        cairo_move_to(cr, kCx - 56, 80);
        cairo_curve_to(cr, kCx - 60, 30, kCx - 30, 16, kCx, 18);
        cairo_curve_to(cr, kCx + 30, 16, kCx + 60, 30, kCx + 56, 80);
        cairo_curve_to(cr, kCx + 40, 50, kCx + 10, 40, kCx, 30);
        cairo_curve_to(cr, kCx - 10, 40, kCx - 40, 50, kCx - 56, 80);
        cairo_close_path(cr); finish();
        break;
    default:                                                      // 19: shoulder length, full fringe
        sideLocks(170, 6);
        cap(16, 76, 56, 22); finish();
        break;
    }
}

constexpr uint32_t kIrises[6] = {0x5B3A24, 0x3C8DDE, 0x43AA6B, 0x6F7B8A, 0x2B2D42, 0x9A6A2E};

void Eyes(cairo_t* cr, int cel)
{
    const double spread = kEyeDx + (cel % 4) - 1.5;
    const double size = 1.0 + ((cel * 7) % 5 - 2) * 0.08;
    const Rgb iris = Hex(kIrises[cel % 6]);
    const int brow = cel % 5;
    for (int side = -1; side <= 1; side += 2) {
        const double x = kCx + side * spread;
        if (cel == 7 || cel == 15) {
            // Happy, narrowed eyes.
            cairo_move_to(cr, x - 9, kEyeY + 2);
            cairo_curve_to(cr, x - 4, kEyeY - 6, x + 4, kEyeY - 6, x + 9, kEyeY + 2);
            SetColor(cr, Pal::Ink);
            cairo_set_line_width(cr, 3);
            cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
            cairo_stroke(cr);
        } else {
            Ellipse(cr, x, kEyeY, 11 * size, 7.5 * size);
            SetColor(cr, {1, 1, 1});
            cairo_fill_preserve(cr);
            SetColor(cr, Pal::Ink, 0.6);
            cairo_set_line_width(cr, 1.2);
            cairo_stroke(cr);
            Ellipse(cr, x + (cel % 3 - 1) * 1.5, kEyeY, 5.5 * size, 5.5 * size);
            SetColor(cr, iris);
            cairo_fill(cr);
            Ellipse(cr, x + (cel % 3 - 1) * 1.5, kEyeY, 2.6 * size, 2.6 * size);
            SetColor(cr, Hex(0x111111));
            cairo_fill(cr);
            Ellipse(cr, x - 2, kEyeY - 2, 1.4, 1.4);
            SetColor(cr, {1, 1, 1});
            cairo_fill(cr);
        }
        if (cel == 17) {
            for (int i = 0; i < 3; ++i) {
                const double lx = x + side * (4 + i * 4);
                cairo_move_to(cr, lx, kEyeY - 6);
                cairo_line_to(cr, lx + side * 3, kEyeY - 11);
            }
            SetColor(cr, Pal::Ink);
            cairo_set_line_width(cr, 1.8);
            cairo_stroke(cr);
        }
        // Brows: straight, arched, angled, thick or thin.
        const double by = kEyeY - 15 - (brow == 1 ? 3 : 0);
        cairo_move_to(cr, x - 11, by + (brow == 2 ? -side * 3 : 2));
        cairo_curve_to(cr, x - 4, by - (brow == 1 ? 5 : 1), x + 4, by - (brow == 1 ? 5 : 1),
                       x + 11, by + (brow == 2 ? side * 3 : 2));
        SetColor(cr, Hex(0x3A2A20), 0.85);
        cairo_set_line_width(cr, brow == 3 ? 5 : (brow == 4 ? 2 : 3.2));
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_stroke(cr);
    }
    // Glasses on a few of them: round, square and half-rim.
    if (cel == 5 || cel == 12 || cel == 8 || cel == 18) {
        for (int side = -1; side <= 1; side += 2) {
            const double x = kCx + side * spread;
            if (cel == 8 || cel == 18)
                RoundedRect(cr, x - 15, kEyeY - 11, 30, 22, 5);
            else
                Ellipse(cr, x, kEyeY, 15, 13);
        }
        cairo_move_to(cr, kCx - spread + 15, kEyeY - 2);
        cairo_line_to(cr, kCx + spread - 15, kEyeY - 2);
        SetColor(cr, cel == 18 ? Pal::Plum : Hex(0x2B2D42));
        cairo_set_line_width(cr, 2.5);
        cairo_stroke(cr);
    }
}

void Nose(cairo_t* cr, int cel)
{
    const double len = 12 + (cel % 4) * 4, wide = 6 + (cel / 4) * 2.5;
    SetColor(cr, Hex(0x5A2E1A), 0.45);
    cairo_set_line_width(cr, 2.4);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    const double top = kNoseY - len, tip = kNoseY + 4;
    switch (cel % 4) {
    case 0: // small curve
        cairo_move_to(cr, kCx - wide, tip);
        cairo_curve_to(cr, kCx - 2, tip + 4, kCx + 2, tip + 4, kCx + wide, tip);
        break;
    case 1: // straight bridge with a hook at the end
        cairo_move_to(cr, kCx - 2, top);
        cairo_line_to(cr, kCx - 4, tip - 2);
        cairo_curve_to(cr, kCx - 2, tip + 4, kCx + wide * 0.6, tip + 3, kCx + wide, tip);
        break;
    case 2: // round tip
        Ellipse(cr, kCx, tip - 2, wide * 0.7, 6);
        cairo_stroke(cr);
        cairo_move_to(cr, kCx - wide, tip);
        cairo_line_to(cr, kCx - wide - 2, tip - 4);
        cairo_move_to(cr, kCx + wide, tip);
        cairo_line_to(cr, kCx + wide + 2, tip - 4);
        break;
    default: // long with nostrils
        cairo_move_to(cr, kCx + 2, top);
        cairo_curve_to(cr, kCx + 6, top + len * 0.5, kCx + 8, tip - 4, kCx + 4, tip);
        cairo_stroke(cr);
        Ellipse(cr, kCx - wide * 0.6, tip, 2.5, 1.8);
        Ellipse(cr, kCx + wide * 0.6, tip, 2.5, 1.8);
        SetColor(cr, Hex(0x5A2E1A), 0.5);
        cairo_fill(cr);
        return;
    }
    cairo_stroke(cr);
}

void Mouth(cairo_t* cr, int cel)
{
    const double w = 14 + (cel % 5) * 2.5;
    const bool lips = cel == 12 || cel == 14 || cel == 17;
    const Rgb lipColour = cel == 12 ? Hex(0xD7263D) : (cel == 14 ? Hex(0xE85D9E) : Hex(0xE86A50));
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    const double y = kMouthY;
    auto line = [&](double width) {
        SetColor(cr, Hex(0x6B2A22), 0.85);
        cairo_set_line_width(cr, width);
        cairo_stroke(cr);
    };
    const int form = lips ? (cel == 17 ? 1 : 0) : cel % 6;
    switch (form) {
    case 0: // smile
        cairo_move_to(cr, kCx - w, y - 3);
        cairo_curve_to(cr, kCx - w * 0.4, y + 8, kCx + w * 0.4, y + 8, kCx + w, y - 3);
        if (lips) {
            cairo_curve_to(cr, kCx + w * 0.5, y - 2, kCx - w * 0.5, y - 2, kCx - w, y - 3);
            SetColor(cr, lipColour);
            cairo_fill(cr);
        } else {
            line(3);
        }
        break;
    case 1: // open grin with teeth
        cairo_move_to(cr, kCx - w, y - 4);
        cairo_curve_to(cr, kCx - w * 0.5, y + 12, kCx + w * 0.5, y + 12, kCx + w, y - 4);
        cairo_close_path(cr);
        SetColor(cr, Hex(0x7A2630));
        cairo_fill_preserve(cr);
        SetColor(cr, lips ? lipColour : Hex(0x6B2A22));
        cairo_set_line_width(cr, lips ? 4 : 2);
        cairo_stroke(cr);
        cairo_rectangle(cr, kCx - w * 0.7, y - 3, w * 1.4, 4);
        SetColor(cr, {1, 1, 1});
        cairo_fill(cr);
        break;
    case 2: // straight, calm
        cairo_move_to(cr, kCx - w * 0.8, y);
        cairo_line_to(cr, kCx + w * 0.8, y);
        line(3);
        break;
    case 3: // lopsided smirk
        cairo_move_to(cr, kCx - w * 0.8, y + 1);
        cairo_curve_to(cr, kCx, y + 4, kCx + w * 0.5, y + 2, kCx + w, y - 5);
        line(3);
        break;
    case 4: // small round "o"
        Ellipse(cr, kCx, y + 1, 5, 6);
        SetColor(cr, Hex(0x7A2630));
        cairo_fill(cr);
        break;
    default: // wide laugh
        cairo_move_to(cr, kCx - w - 3, y - 5);
        cairo_curve_to(cr, kCx - w, y + 16, kCx + w, y + 16, kCx + w + 3, y - 5);
        cairo_close_path(cr);
        SetColor(cr, Hex(0x7A2630));
        cairo_fill(cr);
        Ellipse(cr, kCx, y + 6, w * 0.5, 3);
        SetColor(cr, Hex(0xE8737A));
        cairo_fill(cr);
        break;
    }
}

} // namespace

void PaintFaceParts(Canvas& c, const ImageDef& def)
{
    cairo_t* cr = c.Cr();
    const std::string id = def.id;
    const double scale = def.celWidth / kW; // the small twins are the same drawing at half size
    for (int cel = 0; cel < def.Cels(); ++cel) {
        cairo_save(cr);
        cairo_rectangle(cr, cel * def.celWidth, 0, def.celWidth, def.celHeight);
        cairo_clip(cr);
        cairo_translate(cr, cel * def.celWidth, 0);
        cairo_scale(cr, scale, scale);
        cairo_new_path(cr);
        if (id.find("FACES") != std::string::npos)
            Face(cr, cel, SkinFor(id));
        else if (id.find("HAIR") != std::string::npos)
            Hair(cr, cel, HairFor(id));
        else if (id.find("EYES") != std::string::npos)
            Eyes(cr, cel);
        else if (id.find("NOSES") != std::string::npos)
            Nose(cr, cel);
        else
            Mouth(cr, cel);
        cairo_restore(cr);
    }
}

} // namespace Content
