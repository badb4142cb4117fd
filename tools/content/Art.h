// The game's pictures: one table of every image (identifier, file, size and cel grid) and the
// painters that draw them on the shared palette.
#pragma once

#include <string>
#include <vector>

#include "Canvas.h"

namespace Content {

namespace Pal {
constexpr Rgb Ink = Hex(0x2B2D42);
constexpr Rgb Paper = Hex(0xFFFDF7);
constexpr Rgb Cream = Hex(0xFFF4DC);
constexpr Rgb SkyTop = Hex(0xD8F1F6);
constexpr Rgb SkyLow = Hex(0xFFF5E1);
constexpr Rgb Hill = Hex(0xBFE8CF);
constexpr Rgb HillDark = Hex(0x9ED9B7);
constexpr Rgb Line = Hex(0x6F84A8);     // outlines of light boxes
constexpr Rgb Teal = Hex(0x1C6E75);     // banner colours: all dark enough for white titles
constexpr Rgb Indigo = Hex(0x3A4FA3);
constexpr Rgb Rust = Hex(0xB2452B);
constexpr Rgb Forest = Hex(0x2A7347);
constexpr Rgb Plum = Hex(0x6A3F9E);
constexpr Rgb Sun = Hex(0xF9C74F);
constexpr Rgb Orange = Hex(0xF3A04A);
constexpr Rgb Coral = Hex(0xE76F51);
constexpr Rgb Red = Hex(0xE23C45);
constexpr Rgb Green = Hex(0x43AA6B);
constexpr Rgb Blue = Hex(0x3C8DDE);
constexpr Rgb Violet = Hex(0x8C6BD6);
constexpr Rgb Pink = Hex(0xEF7FB0);
constexpr Rgb Aqua = Hex(0x3FC1C9);
constexpr Rgb Hover = Hex(0xFF9F1C); // the glow every hovered button shares
} // namespace Pal

struct ImageDef;
using Painter = void (*)(Canvas&, const ImageDef&);

struct ImageDef {
    const char* id;    // resource identifier, "IMAGE_..."
    const char* group; // resource group that loads it
    const char* file;  // under the data folder, without extension
    int celWidth;
    int celHeight;
    int rows;
    int cols;
    Painter paint;

    int Width() const { return celWidth * cols; }
    int Height() const { return celHeight * rows; }
    int Cels() const { return rows * cols; }
};

const std::vector<ImageDef>& ImageTable();
const ImageDef* FindImage(const std::string& id);

// Painters, grouped by the file that holds them.
void PaintSplash(Canvas&, const ImageDef&);
void PaintTitleScreen(Canvas&, const ImageDef&);
void PaintTitleLogo(Canvas&, const ImageDef&);
void PaintStartScreen(Canvas&, const ImageDef&);
void PaintCreditsScreen(Canvas&, const ImageDef&);
void PaintBanner(Canvas&, const ImageDef&);
void PaintPanel(Canvas&, const ImageDef&);
void PaintDim(Canvas&, const ImageDef&);
void PaintProfileRow(Canvas&, const ImageDef&);
void PaintWordBoard(Canvas&, const ImageDef&);

void PaintButton(Canvas&, const ImageDef&);
void PaintCheckBox(Canvas&, const ImageDef&);
void PaintSliderBar(Canvas&, const ImageDef&);
void PaintSliderThumb(Canvas&, const ImageDef&);
void PaintEditField(Canvas&, const ImageDef&);
void PaintTicks(Canvas&, const ImageDef&);
void PaintPointer(Canvas&, const ImageDef&);
void PaintLoaderBar(Canvas&, const ImageDef&);
void PaintGrid(Canvas&, const ImageDef&);

void PaintOwl(Canvas&, const ImageDef&);
void PaintBalloon(Canvas&, const ImageDef&);
void DrawOwlFigure(cairo_t* cr, int eyes, int beak, int halo); // whole owl, for the title art

void PaintFaceParts(Canvas&, const ImageDef&);

void PaintCardBack(Canvas&, const ImageDef&);
void PaintCardShapes(Canvas&, const ImageDef&);
void PaintMathShapes(Canvas&, const ImageDef&);
void PaintPictures(Canvas&, const ImageDef&);
void PaintStamps(Canvas&, const ImageDef&);

// Font files of the Debian package used for lettering inside pictures.
inline const char* kBoldFace = "DejaVuSans-Bold.ttf";
inline const char* kBookFace = "DejaVuSans.ttf";

} // namespace Content
