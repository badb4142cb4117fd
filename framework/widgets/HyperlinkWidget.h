// A text link: a centred, underlined label that shows the pointing hand.
#pragma once

#include "framework/graphics/Color.h"
#include "framework/widgets/ButtonWidget.h"

namespace Vel {

class HyperlinkWidget : public ButtonWidget {
public:
    HyperlinkWidget(int id, ButtonListener* listener);

    void Draw(Graphics* g) override;
    void MouseEnter() override;
    void MouseLeave() override;

    Color m_color = Color::White();
    Color m_overColor = Color::White();
    int m_underlineSize = 1;   // lines of underline
    int m_underlineOffset = 3; // pixels below the baseline
};

} // namespace Vel
