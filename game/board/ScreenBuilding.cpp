// Screens built from text keys: layouts of buttons and labels, their drawing and hit test, the
// state and layout stacks of overlay screens, and the text entry fields.
#include "game/board/Board.h"

#include "framework/fonts/Font.h"
#include "framework/graphics/Graphics.h"
#include "game/shell/ResourceIds.h"
#include "game/text/ErrorLog.h"

#include <cstdio>

namespace Vel {
namespace {

bool IsLayout(int layout) { return layout >= 0 && layout < kLayoutCount; }

// The image a button style draws, and the one its size is taken from (the "B" variants are
// sized like their plain image).
Image* StyleImage(int style)
{
    switch (style) {
    case kStyleButton1: return IMAGE_BUTTON1;
    case kStyleButton1B: return IMAGE_BUTTON1B;
    case kStyleButton2: return IMAGE_BUTTON2;
    case kStyleButton2B: return IMAGE_BUTTON2B;
    case kStyleButton3: return IMAGE_BUTTON3;
    case kStyleButton3B: return IMAGE_BUTTON3B;
    case kStyleButton6: return IMAGE_BUTTON6;
    case kStyleButton7: return IMAGE_BUTTON7;
    case kStyleButton7B: return IMAGE_BUTTON7B;
    default: return nullptr;
    }
}

Image* StyleSizeImage(int style)
{
    switch (style) {
    case kStyleButton1:
    case kStyleButton1B: return IMAGE_BUTTON1;
    case kStyleButton2:
    case kStyleButton2B: return IMAGE_BUTTON2;
    case kStyleButton3:
    case kStyleButton3B: return IMAGE_BUTTON3;
    case kStyleButton6: return IMAGE_BUTTON6;
    case kStyleButton7:
    case kStyleButton7B: return IMAGE_BUTTON7;
    default: return nullptr;
    }
}

// A screen asking for more items than a layout holds is a fault in the program, not in the
// data: it is refused and reported, and nothing of another layout is touched.
void ReportCapacity(const char* what, int layout, const std::string& key)
{
    char text[160];
    std::snprintf(text, sizeof text, "Layout %d: no room for the %s ", layout, what);
    const std::string message = text + key;
    std::fprintf(stderr, "Quorvane: %s\n", message.c_str());
    WriteErrorLog(message);
}

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The digits of `text` followed by `c` as a number in [low, high].
bool NumberInRange(const std::string& text, char c, int low, int high)
{
    long value = 0;
    for (char d : text + c) {
        if (!IsDigit(d))
            return false;
        value = value * 10 + (d - '0');
        if (value > high)
            return false;
    }
    return value >= low;
}

void DrawText(Graphics* g, int font, const std::string& text, int x, int y)
{
    Font* f = MenuFont(font);
    if (!f)
        return;
    g->SetFont(f);
    g->DrawString(text, x, y);
}

} // namespace

bool FilterAccepts(int filter, const std::string& text, char c)
{
    switch (filter) {
    case kFilterLetters:
    case kFilterLettersUpper:
        return IsLetter(c) || c == ' ';
    case kFilterLettersDigits:
    case kFilterLettersDigitsUpper:
        return IsLetter(c) || IsDigit(c) || c == ' ';
    case kFilterDigits:
        return IsDigit(c);
    case kFilterDayOfMonth:
        return NumberInRange(text, c, 1, 31);
    case kFilterMonth:
        return NumberInRange(text, c, 1, 12);
    default:
        return false;
    }
}

// ---- Building ----

void Board::ClearButtons(int layout)
{
    if (!IsLayout(layout))
        return;
    m_currentLayout = layout;
    for (int i = 0; i < m_buttonCount[size_t(layout)]; ++i) {
        LayoutItem& b = m_buttons[size_t(layout)][size_t(i)];
        b.textIndex = -1;
        b.textX = b.textY = b.font = 0;
        b.left = b.top = b.right = b.bottom = 0;
        b.style = 0;
    }
    m_buttonCount[size_t(layout)] = 0;
}

void Board::ClearLabels(int layout)
{
    if (!IsLayout(layout))
        return;
    m_currentLayout = layout;
    for (int i = 0; i < m_labelCount[size_t(layout)]; ++i) {
        LayoutItem& l = m_labels[size_t(layout)][size_t(i)];
        l.textIndex = -1;
        l.textX = l.textY = l.font = 0;
        l.left = l.top = l.right = l.bottom = 0;
        l.red = l.green = l.blue = 0;
    }
    m_labelCount[size_t(layout)] = 0;
}

int Board::AddButton(int layout, int font, const std::string& key, int style)
{
    if (!IsLayout(layout) || m_buttonCount[size_t(layout)] >= kButtonsPerLayout) {
        ReportCapacity("button", layout, key);
        return -1;
    }
    const int index = m_buttonCount[size_t(layout)];
    LayoutItem& b = m_buttons[size_t(layout)][size_t(index)];
    b.textIndex = Lookup(m_texts, key);
    const TextEntry& entry = m_texts.entries[size_t(b.textIndex)];
    b.text = entry.text;
    b.font = font;
    b.style = style;
    const Image* size = StyleSizeImage(style);
    const int w = size ? size->GetCelWidth() : 0;
    const int h = size ? size->GetCelHeight() : 0;
    b.left = entry.x;
    b.top = entry.y;
    b.right = b.left + w;
    b.bottom = b.top + h;
    Font* f = MenuFont(font);
    b.textWidth = f ? f->StringWidth(b.text) : 0;
    b.fontHeight = f ? f->GetHeight() : 0;
    b.textX = b.left + w / 2 - b.textWidth / 2;
    b.textY = b.top + h / 2 + b.fontHeight / 4;
    b.imageWidth = w;
    b.imageHeight = h;
    m_buttonCount[size_t(layout)] = index + 1;
    return index;
}

int Board::AddLabel(int layout, int font, const std::string& key, const std::string& overrideText, int red,
                    int green, int blue)
{
    if (!IsLayout(layout) || m_labelCount[size_t(layout)] >= kLabelsPerLayout) {
        ReportCapacity("label", layout, key);
        return -1;
    }
    const int index = m_labelCount[size_t(layout)];
    LayoutItem& l = m_labels[size_t(layout)][size_t(index)];
    l.textIndex = Lookup(m_texts, key);
    const TextEntry& entry = m_texts.entries[size_t(l.textIndex)];
    l.text = overrideText.empty() ? entry.text : overrideText;
    l.font = font;
    l.red = red;
    l.green = green;
    l.blue = blue;
    l.textX = l.left = entry.x;
    l.textY = l.top = entry.y;
    Font* f = MenuFont(font);
    l.textWidth = f ? f->StringWidth(l.text) : 0;
    l.fontHeight = f ? f->GetHeight() : 0;
    l.right = l.left + l.textWidth;
    l.bottom = l.top + l.fontHeight;
    m_labelCount[size_t(layout)] = index + 1;
    return index;
}

// ---- Drawing ----

void Board::DrawButton(Graphics* g, int layout, int index, bool highlighted)
{
    if (!IsLayout(layout) || index < 0 || index >= m_buttonCount[size_t(layout)])
        return;
    const LayoutItem& b = m_buttons[size_t(layout)][size_t(index)];
    if (Image* image = StyleImage(b.style))
        g->DrawCel(image, b.left, b.top, highlighted ? 1 : 0);
    g->SetColor(Color(0, 0, 0));
    DrawText(g, b.font, b.text, b.textX, b.textY);
}

void Board::DrawLabel(Graphics* g, int layout, int index)
{
    if (!IsLayout(layout) || index < 0 || index >= m_labelCount[size_t(layout)])
        return;
    const LayoutItem& l = m_labels[size_t(layout)][size_t(index)];
    g->SetColor(Color(l.red, l.green, l.blue));
    DrawText(g, l.font, l.text, l.textX, l.textY);
}

void Board::DrawLayoutItems(Graphics* g, int layout)
{
    if (!IsLayout(layout))
        return;
    for (int i = 0; i < m_buttonCount[size_t(layout)]; ++i)
        DrawButton(g, layout, i, i == m_hoveredButton[size_t(layout)]);
    for (int i = 0; i < m_labelCount[size_t(layout)]; ++i)
        DrawLabel(g, layout, i);
}

void Board::DrawStandardScreen(Graphics* g, int layout, Image* banner)
{
    if (IMAGE_BKG_START_SCREEN)
        g->DrawImage(IMAGE_BKG_START_SCREEN, 0, 0);
    if (banner)
        g->DrawImage(banner, 0, 0);
    DrawLayoutItems(g, layout);
}

void Board::DrawDimLayer(Graphics* g)
{
    if (!IMAGE_BKG_DIM)
        return;
    g->SetImageTint(true);
    g->SetColor(Color(0, 0, 0, 132));
    for (int y = 0; y <= 1080; y += 120)
        for (int x = 0; x <= 1440; x += 160)
            g->DrawImage(IMAGE_BKG_DIM, x, y);
    g->SetImageTint(false);
}

// ---- Hit test and clicks ----

void Board::HitTestButtons()
{
    if (!IsLayout(m_currentLayout))
        return;
    const size_t layout = size_t(m_currentLayout);
    m_hoveredButton[layout] = -1;
    for (int i = 0; i < m_buttonCount[layout]; ++i) {
        const LayoutItem& b = m_buttons[layout][size_t(i)];
        if (m_mouseX >= b.left && m_mouseX <= b.right && m_mouseY >= b.top && m_mouseY <= b.bottom) {
            m_hoveredButton[layout] = i;
            return;
        }
    }
}

int Board::TakeButtonClick()
{
    HitTestButtons();
    if (!IsLayout(m_currentLayout))
        return -1;
    const int hovered = m_hoveredButton[size_t(m_currentLayout)];
    // A press over no button stays pending while it is held, so dragging onto a button and
    // waiting a tick still acts.
    if (m_mouseButton != 1 || hovered == -1)
        return -1;
    m_mouseButton = 0;
    PlaySound(SOUND_BUTTONCLICK);
    return hovered;
}

// ---- Stacks ----

void Board::PushBoardState(int value)
{
    if (m_stateStackCount < kStackLimit)
        m_stateStack[size_t(m_stateStackCount++)] = value;
}

int Board::PopBoardState()
{
    if (m_stateStackCount > 0)
        --m_stateStackCount;
    return m_stateStack[size_t(m_stateStackCount)];
}

int Board::PeekBoardState() const
{
    return m_stateStackCount == 0 ? -1 : m_stateStack[size_t(m_stateStackCount - 1)];
}

void Board::ClearBoardStateStack()
{
    m_stateStack.fill(-1);
    m_stateStackCount = 0;
}

void Board::PushLayout(int value)
{
    if (m_layoutStackCount < kStackLimit)
        m_layoutStack[size_t(m_layoutStackCount++)] = value;
}

int Board::PopLayout()
{
    if (m_layoutStackCount > 0)
        --m_layoutStackCount;
    return m_layoutStack[size_t(m_layoutStackCount)];
}

int Board::PeekLayout() const
{
    return m_layoutStackCount == 0 ? -1 : m_layoutStack[size_t(m_layoutStackCount - 1)];
}

void Board::ClearLayoutStack()
{
    m_layoutStack.fill(-1);
    m_layoutStackCount = 0;
}

// A return with nothing saved to return to (an emptied stack holds -1) lands on the main menu
// instead of a screen that does not exist.
void Board::ReturnFromDialog()
{
    const int state = PopBoardState();
    const int layout = PopLayout();
    if (!IsBoardState(state) || !IsLayout(layout)) {
        BuildMainMenu();
        return;
    }
    SetState(BoardState(state));
    m_currentLayout = layout;
}

void Board::ReturnFromOverlay()
{
    const int layout = PopLayout();
    const int state = PopBoardState();
    m_enterPressed = false;
    if (!IsBoardState(state) || !IsLayout(layout)) {
        BuildMainMenu();
        return;
    }
    m_currentLayout = layout;
    SetState(BoardState(state));
    PlayStateMusic();
}

// ---- Text fields ----

void Board::ClearTextFields()
{
    for (TextField& f : m_textFields)
        f = TextField{};
    m_textFieldCount = 0;
    m_currentTextField = 0;
}

int Board::AddTextField(const std::string& text, int filter, int x, int y, int width, int font)
{
    if (m_textFieldCount >= kTextFieldCount) {
        ReportCapacity("text field", m_currentLayout, text);
        return -1;
    }
    TextField& f = m_textFields[size_t(m_textFieldCount)];
    f.text = text;
    f.filter = filter;
    f.x = x;
    f.y = y;
    f.width = width;
    f.font = font;
    return m_textFieldCount++;
}

void Board::TypeChar(char c)
{
    if (m_textFieldCount == 0 || c == 0 || m_currentTextField < 0 || m_currentTextField >= m_textFieldCount)
        return;
    TextField& f = m_textFields[size_t(m_currentTextField)];
    Font* font = MenuFont(f.font);
    const int used = font ? font->StringWidth(f.text) : 0;
    // One unit of width is 2.5 x 16 = 40 pixels; the last unit stays free for the caret.
    const int room = int(double(f.width - 1) * 2.5 * 16.0);
    if (used >= room || !FilterAccepts(f.filter, f.text, c))
        return;
    if ((f.filter == kFilterLettersUpper || f.filter == kFilterLettersDigitsUpper) && c >= 'a' && c <= 'z')
        c = char(c - 'a' + 'A');
    f.text += c;
}

void Board::UpdateTextFields()
{
    if (m_updateCount - m_caretBlinkTick > 25) {
        m_caretBlink = !m_caretBlink;
        m_caretBlinkTick = m_updateCount;
    }
    if (m_mouseButton != 1 || m_textFieldCount == 0)
        return;
    for (int i = 0; i < m_textFieldCount; ++i) {
        const TextField& f = m_textFields[size_t(i)];
        if (m_mouseX >= f.x && m_mouseX <= f.x + kFieldUnitPixels * (f.width + 1) && m_mouseY >= f.y - 64
            && m_mouseY <= f.y + 32) {
            m_currentTextField = i;
            PlaySound(SOUND_BUTTONCLICK);
            m_mouseButton = 0;
            return;
        }
    }
}

void Board::DrawTextFields(Graphics* g)
{
    constexpr int kCelWidth = 16;
    g->SetColor(Color(0, 0, 0));
    for (int i = 0; i < m_textFieldCount; ++i) {
        const TextField& f = m_textFields[size_t(i)];
        const bool current = i == m_currentTextField;
        const int base = current ? 3 : 0;
        const int top = f.y - 64;
        if (IMAGE_EDITFIELD) {
            g->DrawCel(IMAGE_EDITFIELD, f.x, top, base);
            int k = 1;
            for (; k < f.width * 2.5; ++k)
                g->DrawCel(IMAGE_EDITFIELD, f.x + kCelWidth * k, top, base + 1);
            g->DrawCel(IMAGE_EDITFIELD, f.x + kCelWidth * k, top, base + 2);
        }
        g->SetColor(Color(0, 0, 0));
        DrawText(g, f.font, current && !m_caretBlink ? f.text + "_" : f.text, f.x + 24, f.y);
    }
}

} // namespace Vel
