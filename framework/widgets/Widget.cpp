// Widget basics: colours, visibility, enabling, geometry, the Tab key and the text helpers.
#include "framework/widgets/Widget.h"

#include <cstdlib>
#include <string>

#include "framework/fonts/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/widgets/WidgetHost.h"
#include "framework/widgets/WidgetManager.h"
#include "platform/Keys.h"

namespace Vel {

namespace {

// Turns on colour codes for one text call and restores the previous setting afterwards.
class ColoredStringScope {
public:
    explicit ColoredStringScope(Graphics* g) : m_g(g), m_old(g->m_writeColoredString)
    {
        g->SetWriteColoredString(true);
    }
    ~ColoredStringScope() { m_g->SetWriteColoredString(m_old); }
    ColoredStringScope(const ColoredStringScope&) = delete;
    ColoredStringScope& operator=(const ColoredStringScope&) = delete;

private:
    Graphics* m_g;
    bool m_old;
};

} // namespace

Widget::~Widget()
{
    if (m_parent != nullptr)
        m_parent->RemoveWidget(this);
}

void Widget::SetVisible(bool visible)
{
    if (m_visible == visible)
        return;
    m_visible = visible;
    if (visible)
        MarkDirty();
    else
        MarkDirtyFull();
    if (m_widgetManager != nullptr)
        m_widgetManager->RehupMouse();
}

void Widget::SetColors(const int (*colors)[4], int count)
{
    m_colors.clear();
    for (int i = 0; i < count; ++i)
        m_colors.emplace_back(colors[i][0], colors[i][1], colors[i][2], colors[i][3]);
    MarkDirty();
}

void Widget::SetColors(const int (*colors)[3], int count)
{
    m_colors.clear();
    for (int i = 0; i < count; ++i)
        m_colors.emplace_back(colors[i][0], colors[i][1], colors[i][2]);
    MarkDirty();
}

void Widget::SetColor(int index, const Color& color)
{
    if (index < 0)
        return;
    if (size_t(index) >= m_colors.size())
        m_colors.resize(size_t(index) + 1, Color::Black());
    m_colors[size_t(index)] = color;
    MarkDirty();
}

Color Widget::GetColor(int index, const Color& defaultColor) const
{
    if (index < 0 || size_t(index) >= m_colors.size())
        return defaultColor;
    return m_colors[size_t(index)];
}

Color Widget::GetColor(int index) const
{
    return GetColor(index, Color::Black());
}

void Widget::SetDisabled(bool disabled)
{
    if (m_disabled == disabled)
        return;
    m_disabled = disabled;
    if (disabled && m_widgetManager != nullptr)
        m_widgetManager->DisableWidget(this);
    MarkDirty();
    if (!disabled && m_widgetManager != nullptr && m_widgetManager->m_mouseIn) {
        const WidgetPoint abs = GetAbsPos();
        const int x = m_widgetManager->m_lastMouseX;
        const int y = m_widgetManager->m_lastMouseY;
        if (x >= abs.x && x < abs.x + m_width && y >= abs.y && y < abs.y + m_height)
            m_widgetManager->RehupMouse();
    }
}

void Widget::ShowFinger(bool on)
{
    if (m_widgetManager != nullptr && m_widgetManager->m_host != nullptr)
        m_widgetManager->m_host->SetCursorKind(on ? kCursorHand : kCursorPointer);
}

void Widget::Resize(const Rect& rect)
{
    Resize(rect.x, rect.y, rect.width, rect.height);
}

void Widget::Resize(int x, int y, int width, int height)
{
    if (m_x == x && m_y == y && m_width == width && m_height == height)
        return;
    MarkDirtyFull();
    m_x = x;
    m_y = y;
    m_width = width;
    m_height = height;
    // The widget is dirty already, which would make a plain MarkDirty stop early and leave the
    // widgets in front of the new area unrepainted.
    MarkDirtyFull();
    if (m_widgetManager != nullptr)
        m_widgetManager->RehupMouse();
}

void Widget::Move(int x, int y)
{
    Resize(x, y, m_width, m_height);
}

void Widget::PaintOverlay(Graphics* g, int priority)
{
    (void)priority;
    PaintOverlay(g);
}

void Widget::KeyDown(int key)
{
    if (key != Plat::kKeyTab || m_widgetManager == nullptr)
        return;
    Widget* target = m_widgetManager->IsKeyDown(Plat::kKeyShift) ? m_tabPrev : m_tabNext;
    if (target != nullptr)
        m_widgetManager->SetFocus(target);
}

void Widget::MouseDown(int x, int y, int button, int clickCount)
{
    (void)x;
    (void)y;
    (void)button;
    (void)clickCount;
}

void Widget::MouseDown(int x, int y, int clickCount)
{
    if (clickCount == 3)
        MouseDown(x, y, 2, 1);
    else if (clickCount < 0)
        MouseDown(x, y, 1, -clickCount);
    else
        MouseDown(x, y, 0, clickCount);
}

void Widget::MouseUp(int x, int y, int button, int clickCount)
{
    (void)x;
    (void)y;
    (void)button;
    (void)clickCount;
}

void Widget::MouseUp(int x, int y, int clickCount)
{
    MouseUp(x, y);
    if (clickCount == 3)
        MouseUp(x, y, 2, 1);
    else if (clickCount < 0)
        MouseUp(x, y, 1, -clickCount);
    else
        MouseUp(x, y, 0, clickCount);
}

Rect Widget::DrawCenteredLine(Graphics* g, int y, const std::string& text, const Color& color,
                              const Color& shadowColor, int shadowOffset)
{
    Font* font = g->GetFont();
    if (font == nullptr)
        return Rect();
    const int width = font->StringWidth(text);
    const int x = (m_width - width) / 2;
    g->SetColor(shadowColor);
    g->DrawString(text, x + shadowOffset, y + shadowOffset);
    g->SetColor(color);
    g->DrawString(text, x, y);
    return Rect(x, y - font->GetAscent(), width, font->GetHeight());
}

Rect Widget::DrawCenteredLine(Graphics* g, int y, const std::string& text)
{
    Font* font = g->GetFont();
    if (font == nullptr)
        return Rect();
    const int width = font->StringWidth(text);
    const int x = (m_width - width) / 2;
    g->DrawString(text, x, y);
    return Rect(x, y - font->GetAscent(), width, font->GetHeight());
}

int Widget::DrawTextRun(Graphics* g, const std::string& text, int x, int y, int width, int justify,
                        bool draw, int offset, int length)
{
    ColoredStringScope scope(g);
    return g->DrawTextRun(text, x, y, width, justify, draw, offset, length, g->GetColor());
}

int Widget::DrawWrappedTextIn(Graphics* g, const Rect& rect, const std::string& text, int lineSpacing,
                              int justify)
{
    ColoredStringScope scope(g);
    return g->DrawWrappedText(rect, text, lineSpacing, justify);
}

int Widget::GetWrappedHeightIn(Graphics* g, int width, const std::string& text, int lineSpacing)
{
    ColoredStringScope scope(g);
    return g->GetWrappedHeight(width, text, lineSpacing);
}

int Widget::CountDigits(int n) const
{
    int count = 1;
    for (long long power = 10; power <= n; power *= 10)
        ++count;
    return count;
}

void Widget::DrawNumberFromStrip(Graphics* g, int n, int x, int y, Image* strip, int spacing)
{
    if (strip == nullptr)
        return;
    const int digitWidth = strip->GetWidth() / 10;
    if (digitWidth <= 0)
        return;
    // The strip has no minus sign: a negative number shows its digits only.
    const std::string digits = std::to_string(std::llabs(static_cast<long long>(n)));
    for (char c : digits) {
        const int digit = c - '0';
        g->DrawImage(strip, x, y, Rect(digit * digitWidth, 0, digitWidth, strip->GetHeight()));
        x += digitWidth + spacing;
    }
}

bool Widget::Contains(int x, int y) const
{
    return x >= m_x && x < m_x + m_width && y >= m_y && y < m_y + m_height;
}

Rect Widget::GetInsetRect() const
{
    return Rect(m_x + m_insets.left, m_y + m_insets.top, m_width - m_insets.left - m_insets.right,
                m_height - m_insets.top - m_insets.bottom);
}

} // namespace Vel
