// Dialog buttons drawn from a three-state component image, or as plain buttons without one.
#include "framework/widgets/DialogButton.h"

#include <algorithm>

#include "framework/fonts/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"

namespace Vel {

DialogButton::DialogButton(Image* componentImage, int id, ButtonListener* listener)
    : ButtonWidget(id, listener), m_componentImage(componentImage)
{
    m_doFinger = true;
}

void DialogButton::Draw(Graphics* g)
{
    if (m_noDraw)
        return;
    if (m_componentImage == nullptr) {
        ButtonWidget::Draw(g);
        return;
    }
    const bool pressed = IsPressedLook();
    const int celWidth = m_componentImage->GetWidth() / 3;
    const int imageHeight = m_componentImage->GetHeight();
    if (celWidth > 0 && imageHeight > 0 && m_width > 0 && m_height > 0) {
        const int cel = pressed ? 2 : (m_isOver ? 1 : 0);
        const int celX = cel * celWidth;
        // Ends keep their width (at most half the button each); the middle third stretches.
        const int capWidth = std::min(celWidth / 3, m_width / 2);
        const int middleSrc = celWidth - 2 * (celWidth / 3);
        const int middleWidth = m_width - 2 * capWidth;
        g->DrawImage(m_componentImage, Rect(0, 0, capWidth, m_height),
                     Rect(celX, 0, celWidth / 3, imageHeight));
        if (middleWidth > 0 && middleSrc > 0)
            g->DrawImage(m_componentImage, Rect(capWidth, 0, middleWidth, m_height),
                         Rect(celX + celWidth / 3, 0, middleSrc, imageHeight));
        g->DrawImage(m_componentImage, Rect(m_width - capWidth, 0, capWidth, m_height),
                     Rect(celX + celWidth - celWidth / 3, 0, celWidth / 3, imageHeight));
    }

    Font* font = EnsureFont();
    if (font == nullptr || m_label.empty())
        return;
    const int ascent = font->GetAscent();
    int x = (m_width - font->StringWidth(m_label)) / 2 + m_textOffsetX;
    int y = (ascent + m_height - ascent / 6 - 1) / 2 + m_textOffsetY;
    if (pressed) {
        x += m_translateX;
        y += m_translateY;
    }
    g->SetFont(font);
    g->SetColor(GetColor(m_isOver ? kColorLabelHilite : kColorLabel));
    g->DrawString(m_label, x, y);
}

} // namespace Vel
