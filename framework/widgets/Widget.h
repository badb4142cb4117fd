// The base of everything drawn on screen: colours, insets, visibility, focus and the pointer and
// keyboard callbacks the widget manager delivers.
#pragma once

#include <string>
#include <vector>

#include "framework/graphics/Color.h"
#include "framework/graphics/Rect.h"
#include "framework/widgets/WidgetContainer.h"

namespace Vel {

class Font;
class Image;

struct Insets {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

class Widget : public WidgetContainer {
public:
    Widget() = default;
    // A widget still in a tree takes itself out, so no parent or manager keeps a dangling pointer.
    ~Widget() override;

    virtual void OrderInManagerChanged() {}
    virtual void SetVisible(bool visible);
    // Tables of {red, green, blue, alpha} or {red, green, blue}; colour i comes from row i.
    virtual void SetColors(const int (*colors)[4], int count);
    virtual void SetColors(const int (*colors)[3], int count);
    virtual void SetColor(int index, const Color& color);
    virtual Color GetColor(int index, const Color& defaultColor) const;
    // A missing index gives opaque black.
    virtual Color GetColor(int index) const;
    virtual void SetDisabled(bool disabled);
    virtual void ShowFinger(bool on);
    virtual void Resize(const Rect& rect);
    virtual void Resize(int x, int y, int width, int height);
    virtual void Move(int x, int y);
    virtual bool WantsFocus() { return m_wantsFocus; }
    virtual void PaintOverlay(Graphics* g, int priority);
    virtual void PaintOverlay(Graphics* g) { (void)g; }
    virtual void OnFocusGained() { m_hasFocus = true; }
    virtual void OnFocusLost() { m_hasFocus = false; }
    virtual void KeyChar(char c) { (void)c; }
    // Tab moves the focus to tabNext, Shift+Tab to tabPrev.
    virtual void KeyDown(int key);
    virtual void KeyUp(int key) { (void)key; }
    virtual void MouseEnter() {}
    virtual void MouseLeave() {}
    virtual void MouseMove(int x, int y)
    {
        (void)x;
        (void)y;
    }
    // button: 0 left, 1 right, 2 middle; clickCount 1 single, 2 double.
    virtual void MouseDown(int x, int y, int button, int clickCount);
    // clickCount as the window delivers it: 1 or 2 left, -1 or -2 right, 3 middle.
    virtual void MouseDown(int x, int y, int clickCount);
    virtual void MouseUp(int x, int y, int button, int clickCount);
    virtual void MouseUp(int x, int y, int clickCount);
    virtual void MouseUp(int x, int y)
    {
        (void)x;
        (void)y;
    }
    virtual void MouseDrag(int x, int y)
    {
        (void)x;
        (void)y;
    }
    virtual void MouseWheel(int delta) { (void)delta; }
    virtual bool IsPointVisible(int x, int y)
    {
        (void)x;
        (void)y;
        return true;
    }
    // Text at baseline y, centred across the widget; returns the rectangle it covers.
    virtual Rect DrawCenteredLine(Graphics* g, int y, const std::string& text, const Color& color,
                                  const Color& shadowColor, int shadowOffset);
    virtual Rect DrawCenteredLine(Graphics* g, int y, const std::string& text);
    // justify: 0 centre, 1 right, -1 left. Colour codes in the text are honoured.
    virtual int DrawTextRun(Graphics* g, const std::string& text, int x, int y, int width, int justify,
                            bool draw = true, int offset = 0, int length = -1);
    virtual int DrawWrappedTextIn(Graphics* g, const Rect& rect, const std::string& text,
                                  int lineSpacing = -1, int justify = -1);
    virtual int GetWrappedHeightIn(Graphics* g, int width, const std::string& text, int lineSpacing = -1);
    virtual int CountDigits(int n) const;
    // `strip` holds the digits 0..9 side by side, each a tenth of its width.
    virtual void DrawNumberFromStrip(Graphics* g, int n, int x, int y, Image* strip, int spacing);
    // Inside [x, x + width) x [y, y + height), in the parent's coordinates.
    virtual bool Contains(int x, int y) const;
    virtual Rect GetInsetRect() const;

    // Tree operations also take plain containers; these keep the widget-level ones visible.
    using WidgetContainer::MarkDirty;
    using WidgetContainer::MarkDirtyFull;

    std::vector<Color> m_colors;
    Insets m_insets;
    bool m_visible = true;
    bool m_mouseVisible = true; // can be found under the pointer
    bool m_disabled = false;
    bool m_hasFocus = false;
    bool m_isDown = false; // a mouse button went down on it and is held
    bool m_isOver = false; // the pointer is over it
    bool m_hasTransparencies = false;
    bool m_doFinger = false; // pointing-hand cursor while the pointer is over it
    bool m_wantsFocus = false;
    Widget* m_tabPrev = nullptr; // Shift+Tab goes here
    Widget* m_tabNext = nullptr; // Tab goes here
};

} // namespace Vel
