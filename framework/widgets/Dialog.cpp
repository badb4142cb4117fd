// The framework's message box: layout, frame drawing, dragging by the header, and button reports.
#include "framework/widgets/Dialog.h"

#include <algorithm>

#include "framework/fonts/SysFont.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/widgets/DialogButton.h"
#include "framework/widgets/DialogListener.h"
#include "framework/widgets/WidgetHost.h"
#include "platform/Keys.h"

namespace Vel {

namespace {

std::string KeyedText(WidgetHost* host, const char* key, const char* defaultText)
{
    return host != nullptr ? host->GetKeyedText(key, defaultText) : std::string(defaultText);
}

constexpr int kHeaderFontSize = 14;
constexpr int kLinesFontSize = 10;

} // namespace

Dialog::Dialog(Image* componentImage, Image* buttonComponentImage, int id, bool isModal,
               const std::string& header, const std::string& lines, const std::string& footer,
               int buttonMode, WidgetHost* host)
    : m_componentImage(componentImage),
      m_dialogHeader(header),
      m_dialogFooter(footer),
      m_dialogLines(lines),
      m_buttonMode(buttonMode),
      m_id(id),
      m_isModal(isModal)
{
    m_hasAlpha = componentImage != nullptr; // a framed dialog may have see-through corners
    m_wantsFocus = true;
    static constexpr int kDefaultColors[kColorCount][3] = {
        {0, 0, 0}, {32, 32, 32}, {0, 0, 0}, {0, 0, 0}, {0, 0, 128}, {228, 228, 228}, {64, 64, 64},
    };
    SetColors(kDefaultColors, kColorCount);

    std::string yesLabel;
    std::string noLabel;
    switch (buttonMode) {
    case kButtonsYesNo:
        yesLabel = KeyedText(host, "DIALOG_BUTTON_YES", "Yes");
        noLabel = KeyedText(host, "DIALOG_BUTTON_NO", "No");
        break;
    case kButtonsOkCancel:
        yesLabel = KeyedText(host, "DIALOG_BUTTON_OK", "OK");
        noLabel = KeyedText(host, "DIALOG_BUTTON_CANCEL", "Cancel");
        break;
    case kButtonsFooter:
        yesLabel = footer;
        break;
    default:
        break;
    }
    if (buttonMode == kButtonsYesNo || buttonMode == kButtonsOkCancel || buttonMode == kButtonsFooter) {
        m_yesButton = std::make_unique<DialogButton>(buttonComponentImage, kIdYes, this);
        m_yesButton->m_label = yesLabel;
        AddWidget(m_yesButton.get());
        ++m_numButtons;
    }
    if (buttonMode == kButtonsYesNo || buttonMode == kButtonsOkCancel) {
        m_noButton = std::make_unique<DialogButton>(buttonComponentImage, kIdNo, this);
        m_noButton->m_label = noLabel;
        AddWidget(m_noButton.get());
        ++m_numButtons;
    }
}

Dialog::~Dialog()
{
    // The buttons are members: take them out of the tree before they go.
    if (m_yesButton != nullptr)
        RemoveWidget(m_yesButton.get());
    if (m_noButton != nullptr)
        RemoveWidget(m_noButton.get());
}

void Dialog::SetButtonFont(Font* font)
{
    if (m_yesButton != nullptr)
        m_yesButton->SetFont(font);
    if (m_noButton != nullptr)
        m_noButton->SetFont(font);
}

void Dialog::SetHeaderFont(Font* font)
{
    m_headerFont.reset(font != nullptr ? font->Duplicate() : nullptr);
    MarkDirty();
}

void Dialog::SetLinesFont(Font* font)
{
    m_linesFont.reset(font != nullptr ? font->Duplicate() : nullptr);
    MarkDirty();
}

Font* Dialog::EnsureHeaderFont()
{
    if (m_headerFont == nullptr)
        m_headerFont = std::make_unique<SysFont>(ButtonWidget::kDefaultFontFace, kHeaderFontSize, true);
    return m_headerFont.get();
}

Font* Dialog::EnsureLinesFont()
{
    if (m_linesFont == nullptr)
        m_linesFont = std::make_unique<SysFont>(ButtonWidget::kDefaultFontFace, kLinesFontSize);
    return m_linesFont.get();
}

int Dialog::HeaderBandHeight()
{
    return m_backgroundInsets.top + m_contentInsets.top + EnsureHeaderFont()->GetHeight();
}

int Dialog::GetPreferredHeight(int width)
{
    Font* headerFont = EnsureHeaderFont();
    Font* linesFont = EnsureLinesFont();
    int height = m_backgroundInsets.top + m_contentInsets.top + m_backgroundInsets.bottom +
                 m_contentInsets.bottom;
    if (!m_dialogHeader.empty())
        height += headerFont->GetHeight() + m_spaceAfterHeader;
    if (!m_dialogLines.empty()) {
        Graphics g;
        g.SetFont(linesFont);
        const int textWidth = width - m_backgroundInsets.left - m_backgroundInsets.right -
                              m_contentInsets.left - m_contentInsets.right;
        height += GetWrappedHeightIn(&g, std::max(1, textWidth), m_dialogLines,
                                     linesFont->GetLineSpacing() + m_lineSpacingOffset);
    }
    if (m_buttonMode != kButtonsFooter && !m_dialogFooter.empty())
        height += m_spaceAfterHeader + linesFont->GetHeight();
    if (m_numButtons > 0)
        height += m_spaceAfterHeader + m_buttonHeight;
    return height;
}

void Dialog::Resize(int x, int y, int width, int height)
{
    Widget::Resize(x, y, width, height);
    LayoutButtons();
}

void Dialog::LayoutButtons()
{
    if (m_numButtons == 0)
        return;
    const int left = m_backgroundInsets.left + m_contentInsets.left + m_buttonSidePadding;
    const int right = m_width - m_backgroundInsets.right - m_contentInsets.right - m_buttonSidePadding;
    const int top = m_height - m_backgroundInsets.bottom - m_contentInsets.bottom - m_buttonHeight;
    const int areaWidth = std::max(0, right - left);
    if (m_numButtons == 1) {
        m_yesButton->Resize(left, top, areaWidth, m_buttonHeight);
        return;
    }
    const int buttonWidth = std::max(0, (areaWidth - m_buttonHorzSpacing) / 2);
    m_yesButton->Resize(left, top, buttonWidth, m_buttonHeight);
    m_noButton->Resize(right - buttonWidth, top, buttonWidth, m_buttonHeight);
}

void Dialog::Draw(Graphics* g)
{
    const Rect frame(m_backgroundInsets.left, m_backgroundInsets.top,
                     m_width - m_backgroundInsets.left - m_backgroundInsets.right,
                     m_height - m_backgroundInsets.top - m_backgroundInsets.bottom);
    const int celW = m_componentImage != nullptr ? m_componentImage->GetWidth() / 3 : 0;
    const int celH = m_componentImage != nullptr ? m_componentImage->GetHeight() / 3 : 0;
    if (celW > 0 && celH > 0 && frame.width >= 2 * celW && frame.height >= 2 * celH) {
        // Nine pieces: corners as they are, edges and centre stretched.
        const int xs[3] = {frame.x, frame.x + celW, frame.x + frame.width - celW};
        const int ws[3] = {celW, frame.width - 2 * celW, celW};
        const int ys[3] = {frame.y, frame.y + celH, frame.y + frame.height - celH};
        const int hs[3] = {celH, frame.height - 2 * celH, celH};
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 3; ++col)
                if (ws[col] > 0 && hs[row] > 0)
                    g->DrawImage(m_componentImage, Rect(xs[col], ys[row], ws[col], hs[row]),
                                 Rect(col * celW, row * celH, celW, celH));
    } else {
        g->SetColor(GetColor(kColorBkg));
        g->FillRect(frame);
        g->SetColor(GetColor(kColorOutline));
        g->DrawRect(frame.x, frame.y, frame.width - 1, frame.height - 1);
    }

    const int left = frame.x + m_contentInsets.left;
    const int contentWidth = frame.width - m_contentInsets.left - m_contentInsets.right;
    int y = frame.y + m_contentInsets.top;
    if (!m_dialogHeader.empty()) {
        Font* headerFont = EnsureHeaderFont();
        g->SetFont(headerFont);
        g->SetColor(GetColor(kColorHeader));
        DrawCenteredLine(g, y + headerFont->GetAscent(), m_dialogHeader);
        y += headerFont->GetHeight() + m_spaceAfterHeader;
    }
    Font* linesFont = EnsureLinesFont();
    g->SetFont(linesFont);
    if (!m_dialogLines.empty()) {
        g->SetColor(GetColor(kColorLines));
        y += DrawWrappedTextIn(g, Rect(left, y, contentWidth, frame.height), m_dialogLines,
                               linesFont->GetLineSpacing() + m_lineSpacingOffset, m_textAlign);
    }
    if (m_buttonMode != kButtonsFooter && !m_dialogFooter.empty()) {
        g->SetColor(GetColor(kColorFooter));
        const int footerBaseline = (m_numButtons > 0 ? m_yesButton->m_y - m_spaceAfterHeader
                                                     : frame.y + frame.height - m_contentInsets.bottom) -
                                   linesFont->GetDescent();
        DrawCenteredLine(g, footerBaseline, m_dialogFooter);
    }
}

void Dialog::MouseDown(int x, int y, int button, int clickCount)
{
    (void)clickCount;
    if (button == 0 && m_dragEnabled && y < HeaderBandHeight()) {
        m_dragging = true;
        m_dragMouseX = x;
        m_dragMouseY = y;
    }
}

void Dialog::MouseDrag(int x, int y)
{
    if (!m_dragging)
        return;
    int newX = m_x + (x - m_dragMouseX);
    int newY = m_y + (y - m_dragMouseY);
    // Keep the dialog on its parent, so it can always be grabbed again.
    if (m_parent != nullptr && m_parent->m_width > 0 && m_parent->m_height > 0) {
        newX = std::clamp(newX, 0, std::max(0, m_parent->m_width - m_width));
        newY = std::clamp(newY, 0, std::max(0, m_parent->m_height - m_height));
    }
    Move(newX, newY);
}

void Dialog::MouseUp(int x, int y, int button, int clickCount)
{
    (void)x;
    (void)y;
    (void)button;
    (void)clickCount;
    m_dragging = false;
}

void Dialog::KeyDown(int key)
{
    if (key == Plat::kKeyReturn && m_yesButton != nullptr) {
        OnButtonClick(m_yesButton->m_id);
        return;
    }
    if (key == Plat::kKeyEscape && (m_noButton != nullptr || m_yesButton != nullptr)) {
        OnButtonClick(m_noButton != nullptr ? m_noButton->m_id : m_yesButton->m_id);
        return;
    }
    Widget::KeyDown(key);
}

void Dialog::OnButtonPress(int id)
{
    if (m_dialogListener != nullptr)
        m_dialogListener->OnDialogButtonPress(m_id, id);
}

void Dialog::OnButtonClick(int id)
{
    m_result = id;
    if (m_dialogListener != nullptr)
        m_dialogListener->OnDialogButtonClick(m_id, id);
}

} // namespace Vel
