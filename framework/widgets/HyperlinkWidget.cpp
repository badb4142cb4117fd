// Text links: centred label, underline, and a full repaint on hover since they are transparent.
#include "framework/widgets/HyperlinkWidget.h"

#include "framework/fonts/Font.h"
#include "framework/graphics/Graphics.h"

namespace Vel {

HyperlinkWidget::HyperlinkWidget(int id, ButtonListener* listener) : ButtonWidget(id, listener)
{
    m_doFinger = true;
}

void HyperlinkWidget::Draw(Graphics* g)
{
    if (m_noDraw)
        return;
    Font* font = EnsureFont();
    if (font == nullptr)
        return;
    const int textWidth = font->StringWidth(m_label);
    const int x = (m_width - textWidth) / 2;
    const int y = (m_height + font->GetAscent()) / 2 - 1;
    g->SetFont(font);
    g->SetColor(m_isOver ? m_overColor : m_color);
    g->DrawString(m_label, x, y);
    for (int i = 0; i < m_underlineSize; ++i)
        g->FillRect(x, y + m_underlineOffset + i, textWidth, 1);
}

void HyperlinkWidget::MouseEnter()
{
    ButtonWidget::MouseEnter();
    MarkDirtyFull();
}

void HyperlinkWidget::MouseLeave()
{
    ButtonWidget::MouseLeave();
    MarkDirtyFull();
}

} // namespace Vel
