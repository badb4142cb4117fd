// Every image of the game in one table. Sizes follow the screens that draw them: where a screen
// places items a fixed distance apart, the cel is that distance less a small gap.
#include <cstring>

#include "Art.h"

namespace Content {

namespace {

constexpr int kScreenW = 800;
constexpr int kScreenH = 600;

// Answer boxes: the four-column layout steps 198 x 92, the two-by-two one 199 x 89.
constexpr int kAnswerBoxW = 190;
constexpr int kAnswerBoxH = 84;
// Column boxes start at x 144 and step 72 down.
constexpr int kColumnBoxW = 512;
constexpr int kColumnBoxH = 64;
// Faces: the name sits 232 below the top; crowd faces are drawn in 85 x 105 boxes.
constexpr int kFaceW = 170;
constexpr int kFaceH = 210;
constexpr int kSmallFaceW = 85;
constexpr int kSmallFaceH = 105;
// Card grid steps 150; MATH3 grid steps 178 x 98; the pairs grid steps 95.
constexpr int kCard = 140;
constexpr int kGridCellW = 176;
constexpr int kGridCellH = 96;
constexpr int kPictureCell = 95;
// Shapes of the counting test step 160 from x 400 - count x 80, at y 270 above the boxes.
constexpr int kMathShapeW = 150;
constexpr int kMathShapeH = 140;
// The stamp click area is 128 x 128 from its corner.
constexpr int kStamp = 128;
// Check boxes answer clicks over 36 x 36 from their corner.
constexpr int kCheckBox = 36;
// The owl's parts share one origin with the balloon; the text box of the balloon starts 160 to
// the right and 24 down, and "MORE" sits at (500, 156).
constexpr int kOwlW = 150;
constexpr int kOwlH = 202;
constexpr int kBalloonW = 584;
constexpr int kBalloonH = 172;

const std::vector<ImageDef> kImages = {
    // Init
    {"IMAGE_BKG_SPLASH", "Init", "images/splash", kScreenW, kScreenH, 1, 1, PaintSplash},
    {"IMAGE_BKG_TITLE", "Init", "images/title_screen", kScreenW, kScreenH, 1, 1, PaintTitleScreen},
    {"IMAGE_CUSTOM_POINTER", "Init", "images/pointer", 32, 32, 1, 1, PaintPointer},
    // TitleScreen
    {"IMAGE_LOADER_BAR", "TitleScreen", "images/loader_bar", 400, 24, 1, 1, PaintLoaderBar},
    // Game
    {"IMAGE_CHECKBOX", "Game", "images/checkbox", kCheckBox, kCheckBox, 1, 2, PaintCheckBox},
    {"IMAGE_DIALOG_BOX", "Game", "images/dialog_box", 460, 320, 1, 1, PaintPanel},
    {"IMAGE_SLIDER_THUMB", "Game", "images/slider_thumb", 32, 32, 1, 1, PaintSliderThumb},
    // Quorvane
    {"IMAGE_BALLOON", "Quorvane", "images/balloon", kBalloonW, kBalloonH, 1, 1, PaintBalloon},
    {"IMAGE_BANNER1", "Quorvane", "images/banner1", kScreenW, 80, 1, 1, PaintBanner},
    {"IMAGE_BANNER2", "Quorvane", "images/banner2", kScreenW, 80, 1, 1, PaintBanner},
    {"IMAGE_BANNER3", "Quorvane", "images/banner3", kScreenW, 80, 1, 1, PaintBanner},
    {"IMAGE_BANNER4", "Quorvane", "images/banner4", kScreenW, 80, 1, 1, PaintBanner},
    {"IMAGE_BANNER5", "Quorvane", "images/banner5", kScreenW, 80, 1, 1, PaintBanner},
    {"IMAGE_BKG_CREDITS_SCREEN", "Quorvane", "images/credits_screen", kScreenW, kScreenH, 1, 1,
     PaintCreditsScreen},
    {"IMAGE_BKG_DIM", "Quorvane", "images/dim", 160, 120, 1, 1, PaintDim},
    {"IMAGE_BKG_OPTIONS", "Quorvane", "images/options_panel", 480, 440, 1, 1, PaintPanel},
    {"IMAGE_BKG_PROFILE_NEW_SCREEN", "Quorvane", "images/profile_new_panel", 540, 520, 1, 1, PaintPanel},
    {"IMAGE_BKG_PROFILE_SELECT_SCREEN", "Quorvane", "images/profile_select_panel", 480, 460, 1, 1,
     PaintPanel},
    {"IMAGE_BKG_START_SCREEN", "Quorvane", "images/start_screen", kScreenW, kScreenH, 1, 1, PaintStartScreen},
    // Buttons: cel 0 normal, cel 1 under the mouse, side by side. The screens place large
    // buttons 76 apart and centre them on x 400 from x 272; small ones stand 16 apart in rows
    // starting 176 apart, and the chart's month buttons 120 apart.
    {"IMAGE_BUTTON1", "Quorvane", "images/button1", 256, 60, 1, 2, PaintButton},
    {"IMAGE_BUTTON1B", "Quorvane", "images/button1b", 256, 60, 1, 2, PaintButton},
    {"IMAGE_BUTTON2", "Quorvane", "images/button2", 160, 48, 1, 2, PaintButton},
    {"IMAGE_BUTTON2B", "Quorvane", "images/button2b", 160, 48, 1, 2, PaintButton},
    {"IMAGE_BUTTON3", "Quorvane", "images/button3", 160, 48, 1, 2, PaintButton},
    {"IMAGE_BUTTON3B", "Quorvane", "images/button3b", 160, 48, 1, 2, PaintButton},
    {"IMAGE_BUTTON4", "Quorvane", "images/button4", kAnswerBoxW, kAnswerBoxH, 1, 2, PaintButton},
    {"IMAGE_BUTTON4B", "Quorvane", "images/button4b", kAnswerBoxW, kAnswerBoxH, 1, 2, PaintButton},
    {"IMAGE_BUTTON5", "Quorvane", "images/button5", kColumnBoxW, kColumnBoxH, 1, 2, PaintButton},
    {"IMAGE_BUTTON6", "Quorvane", "images/button6", 256, 60, 1, 2, PaintButton},
    {"IMAGE_BUTTON7", "Quorvane", "images/button7", 112, 48, 1, 2, PaintButton},
    {"IMAGE_BUTTON7B", "Quorvane", "images/button7b", 112, 48, 1, 2, PaintButton},
    {"IMAGE_CARDBACK", "Quorvane", "images/cardback", kCard, kCard, 1, 1, PaintCardBack},
    {"IMAGE_CARDSHAPES", "Quorvane", "images/cardshapes", kCard, kCard, 1, 8, PaintCardShapes},
    // The owl: every part is a full-size layer over the same origin.
    {"IMAGE_HOOTLEEYES1", "Quorvane", "images/owl_eyes1", kOwlW, kOwlH, 1, 1, PaintOwl},
    {"IMAGE_HOOTLEEYES2", "Quorvane", "images/owl_eyes2", kOwlW, kOwlH, 1, 1, PaintOwl},
    {"IMAGE_HOOTLEEYES3", "Quorvane", "images/owl_eyes3", kOwlW, kOwlH, 1, 1, PaintOwl},
    {"IMAGE_HOOTLEFACE", "Quorvane", "images/owl_face", kOwlW, kOwlH, 1, 1, PaintOwl},
    {"IMAGE_HOOTLEHALO1", "Quorvane", "images/owl_halo1", kOwlW, kOwlH, 1, 1, PaintOwl},
    {"IMAGE_HOOTLEHALO2", "Quorvane", "images/owl_halo2", kOwlW, kOwlH, 1, 1, PaintOwl},
    {"IMAGE_HOOTLEHALO3", "Quorvane", "images/owl_halo3", kOwlW, kOwlH, 1, 1, PaintOwl},
    {"IMAGE_HOOTLEMOUTH1", "Quorvane", "images/owl_beak1", kOwlW, kOwlH, 1, 1, PaintOwl},
    {"IMAGE_HOOTLEMOUTH2", "Quorvane", "images/owl_beak2", kOwlW, kOwlH, 1, 1, PaintOwl},
    {"IMAGE_HOOTLEMOUTH3", "Quorvane", "images/owl_beak3", kOwlW, kOwlH, 1, 1, PaintOwl},
    {"IMAGE_HOOTLEMOUTH4", "Quorvane", "images/owl_beak4", kOwlW, kOwlH, 1, 1, PaintOwl},
    {"IMAGE_HOOTLEMOUTH5", "Quorvane", "images/owl_beak5", kOwlW, kOwlH, 1, 1, PaintOwl},
    // Text fields: left end, middle, right end; the same three again for the current field.
    {"IMAGE_EDITFIELD", "Quorvane", "images/editfield", 16, 96, 1, 6, PaintEditField},
    {"IMAGE_GRID", "Quorvane", "images/grid", kGridCellW, kGridCellH, 1, 2, PaintGrid},
    {"IMAGE_GRID2", "Quorvane", "images/grid2", kPictureCell, kPictureCell, 1, 2, PaintGrid},
    // Faces are layers over one corner: face, hair, eyes, nose, mouth.
    {"IMAGE_HEAD_EYES", "Quorvane", "images/head_eyes", kFaceW, kFaceH, 1, 19, PaintFaceParts},
    {"IMAGE_HEAD_EYES_SMALL", "Quorvane", "images/head_eyes_small", kSmallFaceW, kSmallFaceH, 1, 19,
     PaintFaceParts},
    {"IMAGE_HEAD_FACES_BLACK", "Quorvane", "images/head_faces_black", kFaceW, kFaceH, 1, 10, PaintFaceParts},
    {"IMAGE_HEAD_FACES_BLACK_SMALL", "Quorvane", "images/head_faces_black_small", kSmallFaceW, kSmallFaceH,
     1, 10, PaintFaceParts},
    {"IMAGE_HEAD_FACES_TAN", "Quorvane", "images/head_faces_tan", kFaceW, kFaceH, 1, 10, PaintFaceParts},
    {"IMAGE_HEAD_FACES_TAN_SMALL", "Quorvane", "images/head_faces_tan_small", kSmallFaceW, kSmallFaceH, 1,
     10, PaintFaceParts},
    {"IMAGE_HEAD_FACES_WHITE", "Quorvane", "images/head_faces_white", kFaceW, kFaceH, 1, 10, PaintFaceParts},
    {"IMAGE_HEAD_FACES_WHITE_SMALL", "Quorvane", "images/head_faces_white_small", kSmallFaceW, kSmallFaceH,
     1, 10, PaintFaceParts},
    {"IMAGE_HEAD_HAIR_BLOND", "Quorvane", "images/head_hair_blond", kFaceW, kFaceH, 1, 20, PaintFaceParts},
    {"IMAGE_HEAD_HAIR_BLOND_SMALL", "Quorvane", "images/head_hair_blond_small", kSmallFaceW, kSmallFaceH,
     1, 20, PaintFaceParts},
    {"IMAGE_HEAD_HAIR_BROWN", "Quorvane", "images/head_hair_brown", kFaceW, kFaceH, 1, 20, PaintFaceParts},
    {"IMAGE_HEAD_HAIR_BROWN_SMALL", "Quorvane", "images/head_hair_brown_small", kSmallFaceW, kSmallFaceH,
     1, 20, PaintFaceParts},
    {"IMAGE_HEAD_HAIR_RED", "Quorvane", "images/head_hair_red", kFaceW, kFaceH, 1, 20, PaintFaceParts},
    {"IMAGE_HEAD_HAIR_RED_SMALL", "Quorvane", "images/head_hair_red_small", kSmallFaceW, kSmallFaceH, 1, 20,
     PaintFaceParts},
    {"IMAGE_HEAD_MOUTHS", "Quorvane", "images/head_mouths", kFaceW, kFaceH, 1, 19, PaintFaceParts},
    {"IMAGE_HEAD_MOUTHS_SMALL", "Quorvane", "images/head_mouths_small", kSmallFaceW, kSmallFaceH, 1, 19,
     PaintFaceParts},
    {"IMAGE_HEAD_NOSES", "Quorvane", "images/head_noses", kFaceW, kFaceH, 1, 16, PaintFaceParts},
    {"IMAGE_HEAD_NOSES_SMALL", "Quorvane", "images/head_noses_small", kSmallFaceW, kSmallFaceH, 1, 16,
     PaintFaceParts},
    {"IMAGE_MATHSHAPES", "Quorvane", "images/mathshapes", kMathShapeW, kMathShapeH, 1, 5, PaintMathShapes},
    {"IMAGE_OPTIONS_BAR", "Quorvane", "images/options_bar", 128, 32, 1, 1, PaintSliderBar},
    // The highlight of the chosen player's row, 256 x 32, tinted by the screen.
    {"IMAGE_PROFILE_SELECT", "Quorvane", "images/profile_select", 256, 32, 1, 1, PaintProfileRow},
    {"IMAGE_SHAPES", "Quorvane", "images/shapes", kPictureCell, kPictureCell, 4, 6, PaintPictures},
    // Stamps: cels 0..9 earned, 10..19 the same stamps not yet earned.
    {"IMAGE_STAMPS", "Quorvane", "images/stamps", kStamp, kStamp, 2, 10, PaintStamps},
    {"IMAGE_TICKS", "Quorvane", "images/ticks", 64, 64, 1, 2, PaintTicks},
    {"IMAGE_TITLE", "Quorvane", "images/title", 520, 160, 1, 1, PaintTitleLogo},
    {"IMAGE_WORDBOARD", "Quorvane", "images/wordboard", 768, 264, 1, 1, PaintWordBoard},
};

} // namespace

const std::vector<ImageDef>& ImageTable() { return kImages; }

const ImageDef* FindImage(const std::string& id)
{
    for (const ImageDef& def : kImages)
        if (id == def.id)
            return &def;
    return nullptr;
}

} // namespace Content
