// The records screens are built from: buttons and labels placed by text keys in numbered
// layouts, text entry fields, and the fixed capacities of each.
#pragma once

#include <string>

namespace Vel {

inline constexpr int kLayoutCount = 24;
// The plan screens put 9 buttons on one layout and the chart choice 18.
inline constexpr int kButtonsPerLayout = 18;
inline constexpr int kLabelsPerLayout = 40;
inline constexpr int kTextFieldCount = 8;
// The state and layout stacks: 16 entries, of which at most 15 are ever used.
inline constexpr int kStackEntries = 16;
inline constexpr int kStackLimit = 15;

// Which screen uses which layout.
enum LayoutNumber : int {
    kLayoutMainMenu = 0,
    kLayoutDailyExam = 1,
    kLayoutDailyExamResults = 2,
    kLayoutReportCard = 3,
    kLayoutStamps = 4,
    kLayoutChartChoice = 5,
    kLayoutPracticeSelect = 6,
    kLayoutPlanLanguage = 7,
    kLayoutPlanMemory = 8,
    kLayoutPlanMath = 9,
    kLayoutPlanAnalysis = 10,
    kLayoutInstructions = 11,
    kLayoutTimesUp = 14,
    kLayoutResults = 15,
    kLayoutOptions = 16,
    kLayoutGameMenu = 17,
    kLayoutProfileSelect = 18,
    kLayoutProfileNew = 19,
    kLayoutDialog = 20,
    kLayoutGameBoard = 21, // every test screen
    kLayoutCredits = 22,
    kLayoutChart = 23,
};

// The image a button is drawn with; each has two cels side by side, 0 normal, 1 under the mouse.
enum ButtonStyle : int {
    kStyleButton1 = 0,
    kStyleButton1B = 1,
    kStyleButton2 = 2,
    kStyleButton2B = 3,
    kStyleButton3 = 4,
    kStyleButton3B = 5,
    kStyleNone6 = 6, // no image
    kStyleNone7 = 7,
    kStyleButton6 = 8,
    kStyleButton7 = 9,
    kStyleButton7B = 10,
};

// A button or a label. Rectangles are inclusive: right = left + width.
struct LayoutItem {
    int textIndex = -1; // TextTable index of its key, -1 when cleared
    int textX = 0;      // where the text is drawn (baseline)
    int textY = 0;
    std::string text;
    int font = 0; // 0..3 = FONT_MENU1..FONT_MENU4
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int style = 0; // ButtonStyle; buttons only
    int red = 0;   // text colour; labels only
    int green = 0;
    int blue = 0;
    int textWidth = 0;
    int fontHeight = 0;
    int imageWidth = 0; // one cel of the style's image; buttons only
    int imageHeight = 0;
};

// What a text field accepts.
enum TextFilter : int {
    kFilterLetters = 0,
    kFilterLettersDigits = 1,
    kFilterLettersUpper = 2,
    kFilterLettersDigitsUpper = 3,
    kFilterDigits = 4,
    kFilterDayOfMonth = 5, // digits reading as 1..31
    kFilterMonth = 6,      // digits reading as 1..12
};

inline constexpr int kFieldUnitPixels = 40; // a field's width is counted in these

struct TextField {
    std::string text;
    int x = 0; // anchor: the text baseline is y, the box top y - 64
    int y = 0;
    int filter = kFilterLettersDigits;
    int width = 0; // in kFieldUnitPixels
    int font = 0;
};

// Whether `c` may be appended to `text` in a field with `filter`.
bool FilterAccepts(int filter, const std::string& text, char c);

} // namespace Vel
