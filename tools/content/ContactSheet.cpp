// Contact sheet pages: every image with all its cels on a checkerboard, the owl and some people
// assembled from their layers, mock screens with real text, and every font's glyphs.
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "Art.h"
#include "Audio.h"
#include "Fonts.h"
#include "Generator.h"

namespace Content {

namespace {

constexpr int kPageW = 1400, kPageH = 1800, kMargin = 20;

struct Sheet {
    std::string dir;
    std::unique_ptr<Canvas> page;
    int pageNumber = 0;
    double x = kMargin, y = kMargin, rowH = 0;
    std::string error;
    std::vector<BuiltFont> fonts;

    bool Flush()
    {
        if (!page)
            return true;
        char name[64];
        std::snprintf(name, sizeof name, "/page%02d.png", ++pageNumber);
        const bool ok = WritePng(dir + name, page->Width(), page->Height(), page->Rgba(), error);
        page.reset();
        return ok;
    }
    cairo_t* Cr()
    {
        if (!page) {
            page = std::make_unique<Canvas>(kPageW, kPageH);
            cairo_set_source_rgb(page->Cr(), 0.93, 0.93, 0.95);
            cairo_paint(page->Cr());
            x = kMargin;
            y = kMargin;
            rowH = 0;
        }
        return page->Cr();
    }
    // Reserves a w x h box, moving to a new row or page when needed; false on a write error.
    bool Place(double w, double h, double& bx, double& by)
    {
        Cr();
        if (x + w > kPageW - kMargin) {
            x = kMargin;
            y += rowH + 16;
            rowH = 0;
        }
        if (y + h > kPageH - kMargin) {
            if (!Flush())
                return false;
            Cr();
        }
        bx = x;
        by = y;
        x += w + 16;
        rowH = std::max(rowH, h);
        return true;
    }
    void NewRow()
    {
        x = kMargin;
        y += rowH + 16;
        rowH = 0;
    }
};

void Label(cairo_t* cr, const std::string& text, double x, double y, double size = 13)
{
    cairo_new_path(cr);
    cairo_set_source_rgb(cr, 0.1, 0.1, 0.15);
    const double w = TextWidth(cr, kBookFace, size, text);
    DrawCentredText(cr, kBookFace, size, text, x + w / 2, y);
    cairo_fill(cr);
}

void Checker(cairo_t* cr, double x, double y, double w, double h)
{
    cairo_save(cr);
    cairo_rectangle(cr, x, y, w, h);
    cairo_clip(cr);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_set_source_rgb(cr, 0.8, 0.8, 0.84);
    for (int j = 0; j * 8 < h; ++j)
        for (int i = j % 2; i * 8 < w; i += 2)
            cairo_rectangle(cr, x + i * 8, y + j * 8, 8, 8);
    cairo_fill(cr);
    cairo_restore(cr);
}

// Draws one cel of a painted image at (x, y), scaled.
void DrawCel(cairo_t* cr, Canvas& image, const ImageDef& def, int cel, double x, double y, double scale)
{
    const int cx = (cel % def.cols) * def.celWidth, cy = (cel / def.cols) * def.celHeight;
    cairo_save(cr);
    cairo_rectangle(cr, x, y, def.celWidth * scale, def.celHeight * scale);
    cairo_clip(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, scale, scale);
    cairo_set_source_surface(cr, image.Surface(), -cx, -cy);
    cairo_paint(cr);
    cairo_restore(cr);
}

std::unique_ptr<Canvas> Paint(const ImageDef& def)
{
    auto c = std::make_unique<Canvas>(def.Width(), def.Height());
    def.paint(*c, def);
    return c;
}

bool ImagesSection(Sheet& sheet)
{
    for (const ImageDef& def : ImageTable()) {
        auto image = Paint(def);
        const double scale = def.celWidth >= 500 ? 0.5 : (def.celWidth >= 300 ? 0.75 : 1.0);
        const double cw = def.celWidth * scale, ch = def.celHeight * scale;
        char title[160];
        std::snprintf(title, sizeof title, "%s  %dx%d  rows %d cols %d  (%s)", def.id, def.Width(), def.Height(),
                      def.rows, def.cols, def.group);
        sheet.NewRow();
        double bx, by;
        if (!sheet.Place(std::max(400.0, cw), 18, bx, by))
            return false;
        Label(sheet.Cr(), title, bx, by + 13);
        sheet.NewRow();
        for (int cel = 0; cel < def.Cels(); ++cel) {
            if (!sheet.Place(cw, ch + 16, bx, by))
                return false;
            cairo_t* cr = sheet.Cr();
            Checker(cr, bx, by, cw, ch);
            DrawCel(cr, *image, def, cel, bx, by, scale);
            Label(cr, std::to_string(cel), bx, by + ch + 13, 11);
        }
    }
    return true;
}

const BuiltFont& FontById(const Sheet& sheet, const char* id)
{
    for (const BuiltFont& f : sheet.fonts)
        if (std::string(f.def->id) == id)
            return f;
    return sheet.fonts.front();
}

void Text(cairo_t* cr, const Sheet& sheet, const char* font, const std::string& text, double x, double y, Rgb colour,
          bool centred = false)
{
    const BuiltFont& f = FontById(sheet, font);
    DrawFontText(cr, f, text, centred ? x - f.StringWidth(text) / 2 : x, y, colour);
}

// Mock screens drawn with the images and fonts as the game places them, to judge text contrast.
bool MockScreens(Sheet& sheet)
{
    auto start = Paint(*FindImage("IMAGE_BKG_START_SCREEN"));
    const char* owlParts[4] = {"IMAGE_HOOTLEFACE", "IMAGE_HOOTLEHALO1", "IMAGE_HOOTLEEYES1", "IMAGE_HOOTLEMOUTH3"};
    const Rgb black{0, 0, 0}, white{1, 1, 1};
    auto title = Paint(*FindImage("IMAGE_BKG_TITLE"));
    for (int screen = 0; screen < 7; ++screen) {
        Canvas mock(800, 600);
        cairo_t* cr = mock.Cr();
        cairo_set_source_surface(cr, (screen == 6 ? title : start)->Surface(), 0, 0);
        cairo_paint(cr);
        auto draw = [&](const char* id, double x, double y, int cel = 0) {
            const ImageDef& s = *FindImage(id);
            auto img = Paint(s);
            DrawCel(cr, *img, s, cel, x, y, 1.0);
        };
        if (screen == 0) {
            draw("IMAGE_BALLOON", 8, 8);
            for (const char* part : owlParts)
                draw(part, 8, 8 - 19); // the highest bob
            Text(cr, sheet, "FONT_MENU3", "Good morning, Alex! Ready to give", 168, 8 + 24 + 19, black);
            Text(cr, sheet, "FONT_MENU3", "your brain a little workout today?", 168, 8 + 24 + 44, black);
            Text(cr, sheet, "FONT_MENU4", "MORE", 8 + 500, 8 + 156, Rgb{1, 0, 0});
            Text(cr, sheet, "FONT_MENU3", "Alex", 688, 100, black, true);
            // Where the text table puts the main menu's buttons.
            const char* big[3] = {"DAILY EXAM", "PRACTICE", "REPORT CARD"};
            for (int i = 0; i < 3; ++i) {
                draw("IMAGE_BUTTON1", 272, 236 + i * 76, i == 1);
                Text(cr, sheet, "FONT_MENU2", big[i], 400, 236 + i * 76 + 30 + 8, black, true);
            }
            const char* small[3] = {"OPTIONS", "QUIT", "PLAYERS"};
            const int at[3][2] = {{56, 528}, {584, 528}, {608, 116}};
            for (int i = 0; i < 3; ++i) {
                draw("IMAGE_BUTTON2", at[i][0], at[i][1]);
                Text(cr, sheet, "FONT_MENU3", small[i], at[i][0] + 80, at[i][1] + 24 + 6, black, true);
            }
        } else if (screen == 1) {
            draw("IMAGE_BANNER2", 0, 0);
            Text(cr, sheet, "FONT_MENU2", "MISSING SIGN", 24, 46, white);
            Text(cr, sheet, "FONT_MENU2", "1:30", 785 - FontById(sheet, "FONT_MENU2").StringWidth("1:30"), 50, black);
            Text(cr, sheet, "FONT_MENU0", "42 ? 6 = 7", 400, 370, black, true);
            const char* ops[4] = {"+", "-", "x", "~"};
            const int pos[4][2] = {{205, 417}, {404, 417}, {205, 506}, {404, 506}};
            for (int i = 0; i < 4; ++i) {
                draw("IMAGE_BUTTON4", pos[i][0], pos[i][1], i == 3);
                Text(cr, sheet, "FONT_MENU2", ops[i], pos[i][0] + 95, pos[i][1] + 42 + 8, black, true);
            }
            draw("IMAGE_TICKS", 205 + 95 - 32, 417);
        } else if (screen == 2) {
            draw("IMAGE_BANNER4", 0, 0);
            Text(cr, sheet, "FONT_MENU2", "EXAM TEST 2 OF 4: FACES AND NAMES", 24, 46, white);
            const char* tests[4] = {"WORD ENDS", "RIGHT SPELLING", "EIGHT LETTERS", "ABC ORDER"};
            for (int i = 0; i < 4; ++i) {
                draw(i == 1 ? "IMAGE_BUTTON1B" : "IMAGE_BUTTON1", 152, 130 + i * 80, i == 2);
                Text(cr, sheet, "FONT_MENU2", tests[i], 280, 130 + i * 80 + 38, black, true);
                draw(i == 1 ? "IMAGE_BUTTON3B" : "IMAGE_BUTTON3", 424, 136 + i * 80);
                Text(cr, sheet, "FONT_MENU3", "RULES", 504, 136 + i * 80 + 30, black, true);
            }
            draw("IMAGE_BUTTON5", 144, 472);
            Text(cr, sheet, "FONT_MENU2", "Maria Lindqvist", 400, 472 + 32 + 8, black, true);
        } else if (screen == 3) {
            draw("IMAGE_BANNER5", 0, 0);
            Text(cr, sheet, "FONT_MENU2", "MY STAMPS", 24, 46, white);
            draw("IMAGE_BUTTON7", 200, 548);
            Text(cr, sheet, "FONT_MENU3", "< MONTH", 256, 578, black, true);
            draw("IMAGE_BUTTON7B", 320, 548);
            Text(cr, sheet, "FONT_MENU3", "MONTH >", 376, 578, black, true);
            draw("IMAGE_BUTTON7", 440, 548, 1);
            Text(cr, sheet, "FONT_MENU3", "COMPARE", 496, 578, black, true);
            Text(cr, sheet, "FONT_MENU3", "September, '26",
                 790 - FontById(sheet, "FONT_MENU3").StringWidth("September, '26"), 50, black);
            for (int i = 0; i < 10; ++i)
                draw("IMAGE_STAMPS", 48 + 144 * (i % 5), i < 5 ? 256 : 400, i % 3 == 0 ? i + 10 : i);
        } else if (screen == 4) {
            // Options over the dimmed main menu.
            cairo_set_source_rgba(cr, 0, 0, 0, 132 / 255.0);
            cairo_paint(cr);
            const ImageDef& panel = *FindImage("IMAGE_BKG_OPTIONS");
            draw("IMAGE_BKG_OPTIONS", 400 - panel.celWidth / 2, 60);
            Text(cr, sheet, "FONT_MENU2", "OPTIONS", 336, 124, black);
            Text(cr, sheet, "FONT_MENU3", "Music", 232, 195, black);
            Text(cr, sheet, "FONT_MENU3", "Sounds", 232, 237, black);
            Text(cr, sheet, "FONT_MENU3", "Owl voice", 232, 286, black);
            Text(cr, sheet, "FONT_MENU3", "Full screen", 232, 325, black);
            draw("IMAGE_OPTIONS_BAR", 392, 171);
            draw("IMAGE_OPTIONS_BAR", 392, 213);
            draw("IMAGE_SLIDER_THUMB", 376 + 0.6 * 128, 171);
            draw("IMAGE_SLIDER_THUMB", 376 + 0.875 * 128, 213);
            draw("IMAGE_CHECKBOX", 468, 260, 1);
            draw("IMAGE_CHECKBOX", 468, 299, 0);
            draw("IMAGE_BUTTON2", 232, 388);
            Text(cr, sheet, "FONT_MENU3", "CREDITS", 312, 418, black, true);
            draw("IMAGE_BUTTON2", 408, 388, 1);
            Text(cr, sheet, "FONT_MENU3", "BACK", 488, 418, black, true);
        } else if (screen == 6) {
            // The title's link, as drawn normally and under the mouse.
            const BuiltFont& f = FontById(sheet, "FONT_MENU3");
            const int y = 600 - f.height - 50;
            Text(cr, sheet, "FONT_MENU3", "CLICK TO CONTINUE", 400, y + f.ascent, black, true);
            // The hovered colour, beside the strip's real place for comparison.
            RoundedRect(cr, 590, 20, 200, 40, 20);
            cairo_set_source_surface(cr, title->Surface(), 590 - 300, 20 - 513);
            cairo_fill(cr);
            Text(cr, sheet, "FONT_MENU3", "CLICK TO CONTINUE", 690, 46, Rgb{0, 1, 0}, true);
        } else {
            // Dialog and a text field over the dimmed screen.
            cairo_set_source_rgba(cr, 0, 0, 0, 132 / 255.0);
            cairo_paint(cr);
            const ImageDef& box = *FindImage("IMAGE_DIALOG_BOX");
            draw("IMAGE_DIALOG_BOX", 400 - box.celWidth / 2, 132);
            Text(cr, sheet, "FONT_MENU2", "QUIT GAME", 400, 216, black, true);
            Text(cr, sheet, "FONT_MENU3", "Do you really want to stop playing", 400, 268, black, true);
            Text(cr, sheet, "FONT_MENU3", "now? Your progress is saved.", 400, 292, black, true);
            draw("IMAGE_BUTTON2", 232, 364);
            Text(cr, sheet, "FONT_MENU3", "YES", 312, 394, black, true);
            draw("IMAGE_BUTTON2", 408, 364);
            Text(cr, sheet, "FONT_MENU3", "NO", 488, 394, black, true);
            const int fx = 192, fy = 560;
            for (int k = 0; k < 25; ++k)
                draw("IMAGE_EDITFIELD", fx + 16 * k, fy - 64, 3 + (k == 0 ? 0 : (k == 24 ? 2 : 1)));
            Text(cr, sheet, "FONT_MENU2", "ALEXANDRA_", fx + 24, fy, black);
        }
        double bx, by;
        if (!sheet.Place(800 * 0.8, 600 * 0.8, bx, by))
            return false;
        cairo_t* pcr = sheet.Cr();
        cairo_save(pcr);
        cairo_translate(pcr, bx, by);
        cairo_scale(pcr, 0.8, 0.8);
        cairo_set_source_surface(pcr, mock.Surface(), 0, 0);
        cairo_paint(pcr);
        cairo_restore(pcr);
    }
    return true;
}

// The owl in every frame of each layer, and people as the memory test assembles them.
bool Assemblies(Sheet& sheet)
{
    const char* layers[12] = {"IMAGE_HOOTLEFACE", "IMAGE_HOOTLEHALO1", "IMAGE_HOOTLEHALO2", "IMAGE_HOOTLEHALO3",
                              "IMAGE_HOOTLEEYES1", "IMAGE_HOOTLEEYES2", "IMAGE_HOOTLEEYES3", "IMAGE_HOOTLEMOUTH1",
                              "IMAGE_HOOTLEMOUTH2", "IMAGE_HOOTLEMOUTH3", "IMAGE_HOOTLEMOUTH4", "IMAGE_HOOTLEMOUTH5"};
    std::vector<std::unique_ptr<Canvas>> owl;
    for (const char* id : layers)
        owl.push_back(Paint(*FindImage(id)));
    sheet.NewRow();
    for (int frame = 0; frame < 6; ++frame) {
        double bx, by;
        const ImageDef& layer = *FindImage("IMAGE_HOOTLEFACE");
        if (!sheet.Place(layer.celWidth, layer.celHeight + 16, bx, by))
            return false;
        cairo_t* cr = sheet.Cr();
        Checker(cr, bx, by, layer.celWidth, layer.celHeight);
        auto put = [&](int layer) {
            cairo_set_source_surface(cr, owl[layer]->Surface(), bx, by);
            cairo_paint(cr);
        };
        put(0);
        put(1 + frame % 3);
        if (frame % 4 != 3)
            put(4 + frame % 4);
        put(7 + frame % 5);
        Label(cr, "owl frame " + std::to_string(frame), bx, by + layer.celHeight + 13, 11);
    }
    // People: the memory test's draws for a handful of seeds, large and small.
    const char* skins[3] = {"IMAGE_HEAD_FACES_WHITE", "IMAGE_HEAD_FACES_TAN", "IMAGE_HEAD_FACES_BLACK"};
    const char* hairs[3] = {"IMAGE_HEAD_HAIR_BLOND", "IMAGE_HEAD_HAIR_RED", "IMAGE_HEAD_HAIR_BROWN"};
    const int hair0[] = {0, 1, 2, 3, 4, 5, 7, 8, 9, 10, 11, 12, 13, 16}, hair1[] = {2, 6, 13, 14, 15, 17, 18, 19};
    const int eyes0[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 18}, eyes1[] = {0, 3, 9, 10, 11, 16, 17, 18};
    const int mouth0[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 15, 16, 18}, mouth1[] = {12, 14, 17};
    for (int small = 0; small < 2; ++small) {
        const std::string suffix = small ? "_SMALL" : "";
        std::vector<std::unique_ptr<Canvas>> images;
        std::vector<const ImageDef*> defs;
        auto load = [&](const std::string& id) {
            defs.push_back(FindImage(id + suffix));
            images.push_back(Paint(*defs.back()));
        };
        for (const char* s : skins) load(s);
        for (const char* h : hairs) load(h);
        load("IMAGE_HEAD_EYES");
        load("IMAGE_HEAD_NOSES");
        load("IMAGE_HEAD_MOUTHS");
        sheet.NewRow();
        Random rnd(77);
        for (int person = 0; person < (small ? 24 : 14); ++person) {
            const bool kind1 = rnd.Next() % 3 == 1;
            const int skin = rnd.Next() % 3, face = rnd.Next() % 10, nose = rnd.Next() % 16;
            const int hair = kind1 ? hair1[rnd.Next() % 8] : hair0[rnd.Next() % 14];
            const int eyes = kind1 ? eyes1[rnd.Next() % 8] : eyes0[rnd.Next() % 18];
            const int mouth = kind1 ? mouth1[rnd.Next() % 3] : mouth0[rnd.Next() % 16];
            const int hairColour = skin == 2 ? 2 : rnd.Next() % 3;
            const ImageDef& s = *defs[0];
            double bx, by;
            if (!sheet.Place(s.celWidth, s.celHeight + 14, bx, by))
                return false;
            cairo_t* cr = sheet.Cr();
            Checker(cr, bx, by, s.celWidth, s.celHeight);
            DrawCel(cr, *images[skin], *defs[skin], face, bx, by, 1);
            DrawCel(cr, *images[3 + hairColour], *defs[3 + hairColour], hair, bx, by, 1);
            DrawCel(cr, *images[6], *defs[6], eyes, bx, by, 1);
            DrawCel(cr, *images[7], *defs[7], nose, bx, by, 1);
            DrawCel(cr, *images[8], *defs[8], mouth, bx, by, 1);
            if (!small)
                Label(cr, (kind1 ? "B " : "A ") + std::to_string(hair) + "/" + std::to_string(eyes) + "/" +
                              std::to_string(mouth), bx, by + s.celHeight + 12, 11);
        }
    }
    return true;
}

bool FontsSection(Sheet& sheet)
{
    for (const BuiltFont& font : sheet.fonts) {
        sheet.NewRow();
        double bx, by;
        const double atlasScale = font.atlasWidth > 1300 ? 0.5 : 1.0;
        const double h = 24 + font.atlasHeight * atlasScale + 3 * (font.height + 8) + 10;
        if (!sheet.Place(kPageW - 2 * kMargin, h, bx, by))
            return false;
        cairo_t* cr = sheet.Cr();
        char title[128];
        std::snprintf(title, sizeof title, "%s  %s %dpx  ascent %d height %d  %zu kerning pairs", font.def->id,
                      font.def->faceFile, font.def->pixelSize, font.ascent, font.height, font.kerning.size());
        Label(cr, title, bx, by + 14);
        // The atlas itself as black glyphs on the checkerboard.
        Checker(cr, bx, by + 22, font.atlasWidth * atlasScale, font.atlasHeight * atlasScale);
        cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_A8, font.atlasWidth, font.atlasHeight);
        unsigned char* data = cairo_image_surface_get_data(mask);
        const int stride = cairo_image_surface_get_stride(mask);
        for (int row = 0; row < font.atlasHeight; ++row)
            for (int col = 0; col < font.atlasWidth; ++col)
                data[row * stride + col] = font.coverage[size_t(row) * font.atlasWidth + col];
        cairo_surface_mark_dirty(mask);
        cairo_save(cr);
        cairo_translate(cr, bx, by + 22);
        cairo_scale(cr, atlasScale, atlasScale);
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_mask_surface(cr, mask, 0, 0);
        cairo_restore(cr);
        cairo_surface_destroy(mask);
        double line = by + 22 + font.atlasHeight * atlasScale + font.ascent + 6;
        const std::string samples[3] = {"The quick brown fox jumps over the lazy dog. AV To Wa",
                                        "12 + 7 = 19   48 ~ 6 = 8   9 x 3   \xBFQu\xE9 tal? \xA1Ma\xF1""ana!",
                                        "PAUSED  CLICK TO CONTINUE  1:30  100%  Sue's Grade: 88%"};
        for (const std::string& s : samples) {
            DrawFontText(cr, font, s, bx + 4, line, {0, 0, 0});
            line += font.height + 8;
        }
    }
    return true;
}

// Piano rolls of the three tracks and the waveform of every sound effect.
bool AudioSection(Sheet& sheet)
{
    const Rgb colours[10] = {Pal::Red, Pal::Blue, Pal::Green, Pal::Plum, Pal::Aqua,
                             Pal::Orange, Hex(0x555555), Hex(0x888888), Hex(0xAAAAAA), Hex(0xBBBBBB)};
    for (size_t track = 0; track < MusicTable().size(); ++track) {
        const Score score = MusicScore(track);
        const double w = kPageW - 2 * kMargin, h = 300;
        sheet.NewRow();
        double bx, by;
        if (!sheet.Place(w, h + 24, bx, by))
            return false;
        cairo_t* cr = sheet.Cr();
        char title[128];
        std::snprintf(title, sizeof title, "%s  %.0f BPM, %d bars, %.1f s, %zu notes (red lead, grey drums at the bottom)",
                      MusicTable()[track].file, score.bpm, score.bars, score.bars * 4 * 60.0 / score.bpm,
                      score.notes.size());
        Label(cr, title, bx, by + 14);
        const double top = by + 22, beats = score.bars * 4.0;
        cairo_rectangle(cr, bx, top, w, h);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_fill(cr);
        for (int bar = 0; bar <= score.bars; ++bar) {
            const double x = bx + w * bar * 4 / beats;
            cairo_move_to(cr, x, top);
            cairo_line_to(cr, x, top + h);
        }
        cairo_set_source_rgba(cr, 0, 0, 0, 0.15);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
        // Pitches 30..100 span the roll; percussion sits in the bottom strip.
        for (const ScoreNote& n : score.notes) {
            const double x = bx + w * n.start / beats, len = std::max(1.5, w * n.length / beats);
            const double y = n.pitch > 0 ? top + (100 - n.pitch) * (h - 30) / 70.0 : top + h - 24 + (n.instrument - 6) * 6;
            cairo_rectangle(cr, x, y, len, n.pitch > 0 ? 3 : 4);
            SetColor(cr, colours[n.instrument], 0.85);
            cairo_fill(cr);
        }
    }
    sheet.NewRow();
    for (const SoundDef& def : SoundTable()) {
        const Audio audio = def.make();
        const double w = 300, h = 70;
        double bx, by;
        if (!sheet.Place(w, h + 20, bx, by))
            return false;
        cairo_t* cr = sheet.Cr();
        char title[128];
        std::snprintf(title, sizeof title, "%s (%s)  %.2f s  peak %.2f", def.id, def.vorbis ? "ogg" : "wav",
                      audio.Seconds(), audio.Peak());
        Label(cr, title, bx, by + 12, 11);
        const double mid = by + 18 + h / 2;
        cairo_rectangle(cr, bx, by + 18, w, h);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_fill(cr);
        const size_t frames = audio.Frames();
        for (int px = 0; px < int(w); ++px) {
            float lo = 0, hi = 0;
            for (size_t i = frames * px / size_t(w); i < frames * (px + 1) / size_t(w); ++i) {
                lo = std::min(lo, audio.samples[i * audio.channels]);
                hi = std::max(hi, audio.samples[i * audio.channels]);
            }
            cairo_move_to(cr, bx + px + 0.5, mid - hi * h / 2);
            cairo_line_to(cr, bx + px + 0.5, mid - lo * h / 2 + 0.5);
        }
        SetColor(cr, Pal::Indigo);
        cairo_stroke(cr);
    }
    return true;
}

} // namespace

bool DrawContactSheet(const std::string& dir, std::string& error)
{
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    Sheet sheet;
    sheet.dir = dir;
    for (const FontDef& def : FontTable()) {
        sheet.fonts.emplace_back();
        if (!BuildFont(def, sheet.fonts.back(), error))
            return false;
    }
    const bool ok = MockScreens(sheet) && Assemblies(sheet) && FontsSection(sheet) && ImagesSection(sheet) &&
                    AudioSection(sheet) && sheet.Flush();
    if (!ok)
        error = sheet.error;
    return ok;
}

} // namespace Content
