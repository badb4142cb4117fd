// What the widget layer needs from the application that owns it. The application object implements
// this; tests run the widgets with no host at all.
#pragma once

#include <string>

namespace Vel {

class Widget;

// Cursor kinds the application can show; the numbers are stored by callers, so keep them fixed.
enum CursorKind : int {
    kCursorPointer = 0,
    kCursorHand = 1,
    kCursorDragging = 2,
    kCursorText = 3,
    kCursorCircleSlash = 4,
    kCursorSizeAll = 5,
    kCursorSizeNESW = 6,
    kCursorSizeNS = 7,
    kCursorSizeNWSE = 8,
    kCursorSizeWE = 9,
    kCursorWait = 10,
    kCursorNone = 11,
    kCursorCustom = 12,
    kCursorKindCount = 13,
};

class WidgetHost {
public:
    virtual ~WidgetHost() = default;

    virtual void SetCursorKind(int kind) = 0;
    // The framework's own wording (dialog button labels); `defaultText` when the key is unknown.
    virtual std::string GetKeyedText(const std::string& key, const std::string& defaultText) = 0;
    // Deletes `widget` once no update pass is running.
    virtual void SafeDeleteWidget(Widget* widget) = 0;
    // Hardware-accelerated display: widgets may then draw with filtered scaling.
    virtual bool Is3D() const { return false; }
};

} // namespace Vel
