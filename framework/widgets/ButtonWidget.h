// A push button: drawn from images (normal, over, down, disabled) or as a framed plain button,
// reporting presses, clicks and hovering to a ButtonListener.
#pragma once

#include <memory>
#include <string>

#include "framework/graphics/Rect.h"
#include "framework/widgets/Widget.h"

namespace Vel {

class ButtonListener;
class Font;
class Image;

class ButtonWidget : public Widget {
public:
    enum LabelJustify { kJustifyLeft = -1, kJustifyCentered = 0, kJustifyRight = 1 };
    enum ColorIndex {
        kColorLabel = 0,
        kColorLabelHilite = 1,
        kColorDarkOutline = 2,
        kColorLightOutline = 3,
        kColorMediumOutline = 4,
        kColorBkg = 5,
        kColorCount = 6,
    };
    // The face a button system font gets when none was set.
    static constexpr const char* kDefaultFontFace = "Arial Unicode MS";
    static constexpr int kDefaultFontSize = 10;

    ButtonWidget(int id, ButtonListener* listener);
    ~ButtonWidget() override;

    virtual void DrawButtonImage(Graphics* g, Image* image, const Rect& rect, int x, int y);
    // Keeps its own duplicate; the caller keeps `font`.
    virtual void SetFont(Font* font);
    virtual bool IsButtonDown() const;

    void Update() override;
    void Draw(Graphics* g) override;
    void SetDisabled(bool disabled) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void MouseMove(int x, int y) override;
    void MouseDown(int x, int y, int button, int clickCount) override;
    void MouseUp(int x, int y, int button, int clickCount) override;
    using Widget::MouseDown;
    using Widget::MouseUp;

    // A state is set when its image exists or its rectangle has a width.
    bool HaveButtonImage(const Image* image, const Rect& rect) const;
    bool HasOverState() const { return HaveButtonImage(m_overImage, m_overRect); }
    bool HasDownState() const { return HaveButtonImage(m_downImage, m_downRect); }
    bool HasDisabledState() const { return HaveButtonImage(m_disabledImage, m_disabledRect); }
    Font* GetFont() const { return m_font.get(); }

    int m_id = 0;
    std::string m_label;
    int m_labelJustify = kJustifyCentered;
    std::unique_ptr<Font> m_font;
    Image* m_buttonImage = nullptr; // not owned, like the three below
    Image* m_overImage = nullptr;
    Image* m_downImage = nullptr;
    Image* m_disabledImage = nullptr;
    // Source rectangles inside m_buttonImage; width 0 means not set.
    Rect m_normalRect;
    Rect m_overRect;
    Rect m_downRect;
    Rect m_disabledRect;
    bool m_inverted = false; // swaps the pressed look
    bool m_noDraw = false;
    bool m_frameNoDraw = false;
    ButtonListener* m_buttonListener = nullptr;
    double m_overAlpha = 0;              // current highlight strength, 0..1
    double m_overAlphaFadeOutSpeed = 0;  // per tick; 0 drops the highlight at once
    double m_overAlphaFadeInSpeed = 0;   // per tick; 0 means no fade-in

protected:
    // Makes the default system font when the button has a label but no font.
    Font* EnsureFont();
    void MarkDirtyForHover();
    // Whether drawing shows the pressed look right now.
    bool IsPressedLook() const;
};

} // namespace Vel
