// Push buttons: press, click and hover reporting, the highlight fade and the two drawing styles.
#include "framework/widgets/ButtonWidget.h"

#include <algorithm>

#include "framework/fonts/SysFont.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/widgets/ButtonListener.h"
#include "framework/widgets/WidgetManager.h"

namespace Vel {

ButtonWidget::ButtonWidget(int id, ButtonListener* listener) : m_id(id), m_buttonListener(listener)
{
    m_hasAlpha = true;
    static constexpr int kDefaultColors[kColorCount][3] = {
        {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {255, 255, 255}, {132, 132, 132}, {212, 212, 212},
    };
    SetColors(kDefaultColors, kColorCount);
}

ButtonWidget::~ButtonWidget() = default;

bool ButtonWidget::HaveButtonImage(const Image* image, const Rect& rect) const
{
    return image != nullptr || rect.width != 0;
}

void ButtonWidget::DrawButtonImage(Graphics* g, Image* image, const Rect& rect, int x, int y)
{
    if (rect.width != 0) {
        if (m_buttonImage != nullptr)
            g->DrawImage(m_buttonImage, x, y, rect);
    } else if (image != nullptr) {
        g->DrawImage(image, x, y);
    }
}

void ButtonWidget::SetFont(Font* font)
{
    m_font.reset(font != nullptr ? font->Duplicate() : nullptr);
    MarkDirty();
}

Font* ButtonWidget::EnsureFont()
{
    if (m_font == nullptr && !m_label.empty())
        m_font = std::make_unique<SysFont>(kDefaultFontFace, kDefaultFontSize);
    return m_font.get();
}

bool ButtonWidget::IsButtonDown() const
{
    return m_isDown && m_isOver && !m_disabled;
}

bool ButtonWidget::IsPressedLook() const
{
    return IsButtonDown() != m_inverted;
}

void ButtonWidget::Update()
{
    Widget::Update();
    if (m_isDown && m_isOver && m_buttonListener != nullptr)
        m_buttonListener->OnButtonHeldTick(m_id);

    if (!m_isOver && m_overAlpha > 0) {
        m_overAlpha = m_overAlphaFadeOutSpeed > 0 ? std::max(0.0, m_overAlpha - m_overAlphaFadeOutSpeed) : 0.0;
        MarkDirty();
    } else if (m_isOver && m_overAlphaFadeInSpeed > 0 && m_overAlpha < 1) {
        m_overAlpha = std::min(1.0, m_overAlpha + m_overAlphaFadeInSpeed);
        MarkDirty();
    }
}

void ButtonWidget::MarkDirtyForHover()
{
    if (m_isDown || HasOverState() || GetColor(kColorLabel) != GetColor(kColorLabelHilite))
        MarkDirty();
}

void ButtonWidget::MouseEnter()
{
    if (m_overAlphaFadeInSpeed == 0 && m_overAlpha > 0)
        m_overAlpha = 0;
    MarkDirtyForHover();
    if (m_buttonListener != nullptr)
        m_buttonListener->OnButtonHoverStart(m_id);
}

void ButtonWidget::MouseLeave()
{
    if (m_overAlphaFadeOutSpeed == 0 && m_overAlpha > 0)
        m_overAlpha = 0;
    else if (m_overAlphaFadeOutSpeed > 0 && m_overAlpha == 0)
        m_overAlpha = 1; // the highlight fades out from full
    MarkDirtyForHover();
    if (m_buttonListener != nullptr)
        m_buttonListener->OnButtonHoverEnd(m_id);
}

void ButtonWidget::MouseMove(int x, int y)
{
    if (m_buttonListener != nullptr)
        m_buttonListener->OnButtonHoverMove(m_id, x, y);
}

void ButtonWidget::MouseDown(int x, int y, int button, int clickCount)
{
    (void)x;
    (void)y;
    (void)button;
    if (m_buttonListener != nullptr)
        m_buttonListener->OnButtonPress(m_id, clickCount);
    MarkDirty();
}

void ButtonWidget::MouseUp(int x, int y, int button, int clickCount)
{
    (void)x;
    (void)y;
    (void)button;
    (void)clickCount;
    // Released off the button, or forced up because the application lost the focus: no click.
    const bool appHasFocus = m_widgetManager != nullptr && m_widgetManager->m_hasFocus;
    if (m_isOver && appHasFocus && m_buttonListener != nullptr)
        m_buttonListener->OnButtonClick(m_id);
    MarkDirty();
}

void ButtonWidget::SetDisabled(bool disabled)
{
    const bool changed = disabled != m_disabled;
    Widget::SetDisabled(disabled);
    if (changed && HasDisabledState())
        MarkDirty();
}

void ButtonWidget::Draw(Graphics* g)
{
    if (m_noDraw)
        return;
    Font* font = EnsureFont();
    const bool pressed = IsPressedLook();

    int labelX = 0;
    int labelY = 0;
    if (font != nullptr) {
        const int textWidth = font->StringWidth(m_label);
        const int ascent = font->GetAscent();
        if (m_labelJustify == kJustifyCentered)
            labelX = (m_width - textWidth) / 2;
        else if (m_labelJustify == kJustifyRight)
            labelX = m_width - textWidth;
        labelY = (ascent + m_height - ascent / 6 - 1) / 2;
        g->SetFont(font);
    }
    auto drawLabel = [&](int colorIndex, int offset) {
        if (font == nullptr || m_label.empty())
            return;
        g->SetColor(GetColor(colorIndex));
        g->DrawString(m_label, labelX + offset, labelY + offset);
    };

    if (m_buttonImage != nullptr || m_downImage != nullptr) {
        if (pressed) {
            if (HasDownState())
                DrawButtonImage(g, m_downImage, m_downRect, 1, 1);
            else if (HasOverState())
                DrawButtonImage(g, m_overImage, m_overRect, 1, 1);
            else
                DrawButtonImage(g, m_buttonImage, m_normalRect, 1, 1);
            drawLabel(kColorLabelHilite, 1);
            return;
        }
        if (m_disabled && HasDisabledState()) {
            DrawButtonImage(g, m_disabledImage, m_disabledRect, 0, 0);
        } else if (m_overAlpha > 0 && HasOverState()) {
            if (m_overAlpha < 1)
                DrawButtonImage(g, m_buttonImage, m_normalRect, 0, 0);
            g->PushState();
            g->SetImageTint(true);
            g->SetColor(Color(255, 255, 255, int(m_overAlpha * 255)));
            DrawButtonImage(g, m_overImage, m_overRect, 0, 0);
            g->PopState();
        } else if ((m_isOver || m_isDown) && HasOverState()) {
            DrawButtonImage(g, m_overImage, m_overRect, 0, 0);
        } else {
            DrawButtonImage(g, m_buttonImage, m_normalRect, 0, 0);
        }
        drawLabel(m_isOver ? kColorLabelHilite : kColorLabel, 0);
        return;
    }

    if (!m_frameNoDraw) {
        g->SetColor(GetColor(kColorBkg));
        g->FillRect(0, 0, m_width, m_height);
        if (pressed) {
            g->SetColor(GetColor(kColorDarkOutline));
            g->DrawRect(0, 0, m_width - 1, m_height - 1);
            g->SetColor(GetColor(kColorMediumOutline));
            g->FillRect(1, 1, m_width - 3, 1);
            g->FillRect(1, 1, 1, m_height - 3);
        } else {
            g->SetColor(GetColor(kColorLightOutline));
            g->DrawRect(0, 0, m_width - 1, m_height - 1);
            g->SetColor(GetColor(kColorMediumOutline));
            g->FillRect(1, m_height - 2, m_width - 2, 1);
            g->FillRect(m_width - 2, 1, 1, m_height - 2);
        }
    }
    drawLabel(m_isOver ? kColorLabelHilite : kColorLabel, pressed ? 1 : 0);
}

} // namespace Vel
