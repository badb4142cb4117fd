// Buttons, answer boxes, check boxes, the slider, text fields, marks and the pointer.
#include <cmath>
#include <cstring>
#include <string>

#include "Art.h"

namespace Content {

namespace {

struct ButtonLook {
    Rgb top, bottom, edge;
    double alpha;
};

// Normal faces are warm and light; the "B" faces (played today, done, disabled) are mint or
// grey, so they read as a different state at a glance while black text stays readable.
ButtonLook LookFor(const std::string& id)
{
    const bool b = id.back() == 'B';
    if (id == "IMAGE_BUTTON7B")
        return {Hex(0xF1F2F4), Hex(0xD9DCE1), Hex(0xA4AAB5), 0.85};
    if (id == "IMAGE_BUTTON4B")
        return {Hex(0xEAF6EE), Hex(0xC9E6D2), Hex(0x7FB594), 1};
    if (b)
        return {Hex(0xE3FAEA), Hex(0xA9E4BF), Hex(0x3F9E66), 1};
    if (id == "IMAGE_BUTTON1")
        return {Hex(0xFFF6D2), Hex(0xFFD66E), Hex(0xC99A2E), 1};
    if (id == "IMAGE_BUTTON2")
        return {Hex(0xEAF6FF), Hex(0xB8DDF7), Hex(0x5A8DBA), 1};
    if (id == "IMAGE_BUTTON3")
        return {Hex(0xF3EEFF), Hex(0xD5C8F7), Hex(0x8068C2), 1};
    if (id == "IMAGE_BUTTON4" || id == "IMAGE_BUTTON5")
        return {Hex(0xFFFFFF), Hex(0xE7EEF8), Hex(0x6F84A8), 1};
    if (id == "IMAGE_BUTTON6")
        return {Hex(0xFFEDE3), Hex(0xFFC7A8), Hex(0xC9714A), 1};
    return {Hex(0xE6FAF8), Hex(0xA9E3DE), Hex(0x2E8C86), 1}; // IMAGE_BUTTON7
}

void ButtonFace(cairo_t* cr, double x, double y, double w, double h, const ButtonLook& look, bool hover)
{
    const double r = std::min(h * 0.4, 22.0);
    RoundedRect(cr, x + 2, y + 1.5, w - 4, h - 6, r);
    Rgb top = look.top, bottom = look.bottom;
    if (hover) {
        top = Lighter(top, 0.4);
        bottom = Mix(bottom, Hex(0xFFE9A8), 0.45);
    }
    SetVertical(cr, y, y + h, top, bottom, look.alpha);
    FillWithShadow(cr, 3.5, 0.3 * look.alpha);
    // A glossy band on the upper half.
    cairo_save(cr);
    cairo_clip_preserve(cr);
    cairo_rectangle(cr, x, y, w, h * 0.42);
    SetColor(cr, {1, 1, 1}, 0.35 * look.alpha);
    cairo_fill(cr);
    cairo_restore(cr);
    RoundedRect(cr, x + 2, y + 1.5, w - 4, h - 6, r);
    SetColor(cr, hover ? Pal::Hover : look.edge, look.alpha);
    cairo_set_line_width(cr, hover ? 3.5 : 2);
    cairo_stroke(cr);
}

} // namespace

void PaintButton(Canvas& c, const ImageDef& def)
{
    const ButtonLook look = LookFor(def.id);
    // A disabled button does not light up under the mouse.
    const bool disabled = std::string(def.id) == "IMAGE_BUTTON7B";
    for (int cel = 0; cel < 2; ++cel)
        ButtonFace(c.Cr(), cel * def.celWidth, 0, def.celWidth, def.celHeight, look, cel == 1 && !disabled);
}

void PaintCheckBox(Canvas& c, const ImageDef& def)
{
    cairo_t* cr = c.Cr();
    for (int cel = 0; cel < 2; ++cel) {
        const double x = cel * def.celWidth;
        RoundedRect(cr, x + 2, 2, def.celWidth - 4, def.celHeight - 5, 8);
        SetVertical(cr, 0, def.celHeight, {1, 1, 1}, Hex(0xE4ECF5));
        FillWithShadow(cr, 2, 0.3);
        SetColor(cr, Pal::Line);
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
        if (cel == 1) {
            cairo_move_to(cr, x + 8, 18);
            cairo_line_to(cr, x + 15, 26);
            cairo_line_to(cr, x + 29, 8);
            SetColor(cr, Pal::Forest);
            cairo_set_line_width(cr, 5);
            cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
            cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
            cairo_stroke(cr);
        }
    }
}

void PaintSliderBar(Canvas& c, const ImageDef&)
{
    cairo_t* cr = c.Cr();
    RoundedRect(cr, 0, 11, c.Width(), 10, 5);
    SetVertical(cr, 11, 21, Hex(0xC9D6E6), Hex(0xE9F0F7));
    cairo_fill_preserve(cr);
    SetColor(cr, Pal::Line);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    // Tick marks at quarters help the player judge the level.
    for (int i = 0; i <= 4; ++i) {
        const double x = 2 + i * (c.Width() - 4) / 4.0;
        cairo_move_to(cr, x, 24);
        cairo_line_to(cr, x, 30);
    }
    SetColor(cr, Pal::Line, 0.7);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
}

void PaintSliderThumb(Canvas& c, const ImageDef&)
{
    cairo_t* cr = c.Cr();
    Ellipse(cr, 16, 15, 12, 12);
    SetVertical(cr, 3, 27, Hex(0xFFC46B), Pal::Coral);
    FillWithShadow(cr, 2, 0.35);
    SetColor(cr, {1, 1, 1});
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
}

void PaintEditField(Canvas& c, const ImageDef& def)
{
    cairo_t* cr = c.Cr();
    // The box spans y 30..82 of the 96-pixel cel, around a baseline at 64.
    for (int set = 0; set < 2; ++set) {
        const bool current = set == 1;
        const double x0 = set * 3 * def.celWidth;
        Canvas strip(48, def.celHeight);
        cairo_t* s = strip.Cr();
        RoundedRect(s, 2, 30, 44 + 200, 52, 14);
        SetVertical(s, 30, 82, current ? Hex(0xFFFBE6) : Hex(0xFFFFFF), current ? Hex(0xFFF0B8) : Hex(0xEEF3F9));
        cairo_fill_preserve(s);
        SetColor(s, current ? Pal::Hover : Pal::Line);
        cairo_set_line_width(s, current ? 3 : 2);
        cairo_stroke(s);
        // The strip is cut in three: the left end, a middle slice, then the mirrored end.
        cairo_save(cr);
        cairo_rectangle(cr, x0, 0, 16, def.celHeight);
        cairo_clip(cr);
        cairo_set_source_surface(cr, strip.Surface(), x0, 0);
        cairo_paint(cr);
        cairo_restore(cr);
        cairo_save(cr);
        cairo_rectangle(cr, x0 + 16, 0, 16, def.celHeight);
        cairo_clip(cr);
        cairo_set_source_surface(cr, strip.Surface(), x0 + 16 - 24, 0);
        cairo_paint(cr);
        cairo_restore(cr);
        cairo_save(cr);
        cairo_rectangle(cr, x0 + 32, 0, 16, def.celHeight);
        cairo_clip(cr);
        cairo_translate(cr, x0 + 48, 0);
        cairo_scale(cr, -1, 1);
        cairo_set_source_surface(cr, strip.Surface(), 0, 0);
        cairo_paint(cr);
        cairo_restore(cr);
    }
}

void PaintTicks(Canvas& c, const ImageDef& def)
{
    cairo_t* cr = c.Cr();
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    for (int cel = 0; cel < 2; ++cel) {
        const double x = cel * def.celWidth;
        cairo_new_path(cr);
        if (cel == 0) {
            cairo_move_to(cr, x + 12, 34);
            cairo_line_to(cr, x + 26, 50);
            cairo_line_to(cr, x + 54, 14);
        } else {
            cairo_move_to(cr, x + 16, 16);
            cairo_line_to(cr, x + 48, 48);
            cairo_move_to(cr, x + 48, 16);
            cairo_line_to(cr, x + 16, 48);
        }
        cairo_path_t* path = cairo_copy_path(cr);
        SetColor(cr, {1, 1, 1});
        cairo_set_line_width(cr, 16);
        cairo_stroke(cr);
        cairo_append_path(cr, path);
        SetColor(cr, cel == 0 ? Hex(0x27A74A) : Pal::Red);
        cairo_set_line_width(cr, 9);
        cairo_stroke(cr);
        cairo_path_destroy(path);
    }
}

void PaintPointer(Canvas& c, const ImageDef&)
{
    cairo_t* cr = c.Cr();
    // The tip is the hot spot at the top-left pixel.
    cairo_move_to(cr, 1, 1);
    cairo_line_to(cr, 1, 25);
    cairo_line_to(cr, 7.5, 19.5);
    cairo_line_to(cr, 12, 29);
    cairo_line_to(cr, 16, 27);
    cairo_line_to(cr, 11.5, 18);
    cairo_line_to(cr, 19.5, 18);
    cairo_close_path(cr);
    SetVertical(cr, 0, 30, {1, 1, 1}, Hex(0xFFE6A8));
    FillWithShadow(cr, 1.5, 0.4);
    SetColor(cr, Pal::Ink);
    cairo_set_line_width(cr, 1.5);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
}

void PaintLoaderBar(Canvas& c, const ImageDef&)
{
    cairo_t* cr = c.Cr();
    RoundedRect(cr, 1, 1, c.Width() - 2, c.Height() - 4, 10);
    SetVertical(cr, 0, c.Height(), Hex(0x8FE3C0), Pal::Green);
    FillWithShadow(cr, 2, 0.3);
    for (int x = -20; x < c.Width(); x += 24) {
        cairo_move_to(cr, x, c.Height());
        cairo_line_to(cr, x + 12, c.Height());
        cairo_line_to(cr, x + 24, 0);
        cairo_line_to(cr, x + 12, 0);
        cairo_close_path(cr);
    }
    SetColor(cr, {1, 1, 1}, 0.2);
    cairo_fill(cr);
}

void PaintGrid(Canvas& c, const ImageDef& def)
{
    cairo_t* cr = c.Cr();
    const bool pictures = std::strcmp(def.id, "IMAGE_GRID2") == 0;
    for (int cel = 0; cel < 2; ++cel) {
        const double x = cel * def.celWidth;
        const bool lit = cel == 1;
        RoundedRect(cr, x + 3, 3, def.celWidth - 6, def.celHeight - 8, pictures ? 14 : 18);
        Rgb top = lit ? Hex(0xFFF6C8) : Hex(0xFFFFFF);
        Rgb low = lit ? Hex(0xFFD977) : Hex(0xE9F1F8);
        SetVertical(cr, 0, def.celHeight, top, low);
        FillWithShadow(cr, 3, 0.28);
        SetColor(cr, lit ? Pal::Hover : Pal::Line);
        cairo_set_line_width(cr, lit ? 3.5 : 2);
        cairo_stroke(cr);
    }
}

} // namespace Content
