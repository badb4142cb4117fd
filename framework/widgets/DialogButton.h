// A dialog's push button; with a component image it is drawn from three equal cels side by side
// (normal, over, down), each stretched to the button's width by repeating its middle third.
#pragma once

#include "framework/widgets/ButtonWidget.h"

namespace Vel {

class DialogButton : public ButtonWidget {
public:
    DialogButton(Image* componentImage, int id, ButtonListener* listener);

    void Draw(Graphics* g) override;

    Image* m_componentImage = nullptr; // not owned
    int m_translateX = 1; // label shift while pressed
    int m_translateY = 1;
    int m_textOffsetX = 0;
    int m_textOffsetY = 0;
};

} // namespace Vel
